#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

// The login window "登录窗口": mode 0 is the first login at start-up, mode 1 a change of
// operator. It is accepted when an operator logged in (the session is then filled) and rejected
// by 取消 or after the fourth failed attempt; Esc and the window's close command do nothing.
class TfrmOperLogin : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOperLogin(int mode, QWidget *parent = nullptr);

    int mode() const { return m_mode; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void btnOkClick();
    void btnCancelClick();
    void lookupName();
    void failed(bool disabled);
    void finish(int result);

    QLineEdit *edtOperCode = nullptr;
    QLineEdit *edtOperName = nullptr;
    QLineEdit *edtPassWord = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;
    int m_mode = 0;
    int m_failures = 0;
    bool m_closing = false;
};
