#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The password window "更改当前用户密码": the logged-in operator types the old password and the
// new one twice. 确定 changes the password when the old one fits and the new one matches its
// repetition, says how it went, and closes the window whatever the outcome.
class TfrmModPass : public QDialog {
    Q_OBJECT
public:
    explicit TfrmModPass(QWidget *parent = nullptr);

    QLabel *operatorLabel() const { return m_operator; }
    QLineEdit *oldEdit() const { return edtOld; }
    QLineEdit *newEdit() const { return edtNew; }
    QLineEdit *repeatEdit() const { return edtRepeat; }
    QPushButton *okButton() const { return btnOk; }
    QPushButton *cancelButton() const { return btnCancel; }

private:
    void btnOkClick();

    QLabel *m_operator;
    QLineEdit *edtOld;
    QLineEdit *edtNew;
    QLineEdit *edtRepeat;
    QPushButton *btnOk;
    QPushButton *btnCancel;
};
