#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The small input dialog for one name (节点名称). 确定 refuses a blank field; the button beside
// the field (hidden unless the caller shows it) picks a department path from the department tree.
class TDLGenterCaption : public QDialog {
    Q_OBJECT
public:
    explicit TDLGenterCaption(QWidget *parent = nullptr);

    // Shows the dialog modally with caption and the field pre-filled with value; the field's text
    // when closed with 确定, empty text otherwise.
    static QString Execute(QWidget *parent, const QString &caption, const QString &value = QString(),
                           bool showTreeButton = false);

    QString curValue() const;
    void setCurValue(const QString &value);
    void setTreeButtonVisible(bool visible);
    void setLabelText(const QString &text);

    QLineEdit *edtCurValue = nullptr;
    QToolButton *sbtype = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    void btnOkClick();
    void sbtypeClick();

    QLabel *lblCaption = nullptr;
};
