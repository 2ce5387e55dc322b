#pragma once
#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The company information window "公司信息": the company row of SysInfo and the decimal places
// of quantities, prices and money.
class TFrmUserInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFrmUserInfo(QWidget *parent = nullptr);

    // 修改: shows the stored company row and the session's decimal places, discarding typing.
    void LoadInfo();
    // 重填: empties every text field and sets the decimal places to 2.
    void ClearInfo();
    // 保存: checks the decimal places and saves everything; false when refused or failed.
    bool SaveInfo();
    // Double-clicks on the web site and the mail address.
    void OpenHomePage();
    void OpenMail();

    QTabWidget *pcInfo = nullptr;
    QLineEdit *edtCode = nullptr;
    QLineEdit *edtName = nullptr;
    QLineEdit *edtManager = nullptr;
    QLineEdit *edtPhone = nullptr;
    QLineEdit *edtHandPhone = nullptr;
    QLineEdit *edtHomePage = nullptr;
    QLineEdit *edtEmail = nullptr;
    QLineEdit *edtEnroler = nullptr;
    QPlainTextEdit *memMem = nullptr;
    QLineEdit *edtAmount = nullptr;
    QLineEdit *edtPrice = nullptr;
    QLineEdit *edtTotal = nullptr;
    QPushButton *btnReset = nullptr;
    QPushButton *btnEdit = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnClose = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QLineEdit *> textFields() const;
};
