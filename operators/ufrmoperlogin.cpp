#include "ufrmoperlogin.h"

#include "sessionload.h"

#include "core/configini.h"
#include "core/keltrin.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// each opening allows three failed attempts with a message and ends on the fourth
constexpr int kMaxFailures = 4;
} // namespace

TfrmOperLogin::TfrmOperLogin(int mode, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_mode(mode) {
    setWindowTitle(QStringLiteral("登录窗口"));
    setModal(true);

    auto *hint =
        new QLabel(QStringLiteral("请输入正确的操作员编号及密码，系统超级用户编号“000”，系统初始密码为空："));
    hint->setWordWrap(true);

    edtOperCode = new QLineEdit;
    edtOperCode->setObjectName(QStringLiteral("edtOperCode"));
    edtOperName = new QLineEdit;
    edtOperName->setObjectName(QStringLiteral("edtOperName"));
    edtOperName->setReadOnly(true);
    edtOperName->setFocusPolicy(Qt::NoFocus);
    edtPassWord = new QLineEdit;
    edtPassWord->setObjectName(QStringLiteral("edtPassWord"));
    edtPassWord->setEchoMode(QLineEdit::Password);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("编号"), edtOperCode);
    form->addRow(QStringLiteral("姓名"), edtOperName);
    form->addRow(QStringLiteral("密码"), edtPassWord);

    btnOk = new QPushButton(QStringLiteral("确定"));
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnCancel = new QPushButton(QStringLiteral("取消"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    // Enter is handled by the window itself (see keyPressEvent)
    for (QPushButton *b : {btnOk, btnCancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(btnOk, &QPushButton::clicked, this, &TfrmOperLogin::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmOperLogin::btnCancelClick);
    edtOperCode->installEventFilter(this);
    edtOperName->installEventFilter(this);

    edtOperCode->setText(configIni().readString(QStringLiteral("Config"), QStringLiteral("CurOperCode")));
    lookupName();
    if (edtOperCode->text().trimmed().isEmpty())
        edtOperCode->setFocus();
    else
        edtPassWord->setFocus();

    resize(360, sizeHint().height());
    DispFormPos(this, 1);
}

void TfrmOperLogin::lookupName() {
    edtOperName->setText(operatorName(edtOperCode->text()));
}

void TfrmOperLogin::btnOkClick() {
    // the name shown always belongs to the code being checked
    lookupName();
    switch (checkLogin(edtOperCode->text(), edtPassWord->text())) {
    case LoginVerdict::NoCode:
        ShowMess(QStringLiteral("请选择用户！"), 0);
        edtOperCode->setFocus();
        return;
    case LoginVerdict::UnknownOperator:
        ShowMess(QStringLiteral("此操作员并不存在，请重新选择操作员！"), 0);
        edtOperCode->setFocus();
        return;
    case LoginVerdict::WrongPassword:
        failed(false);
        return;
    case LoginVerdict::Disabled:
        failed(true);
        return;
    case LoginVerdict::Ok:
        if (loadSession(edtOperCode->text(), edtOperName->text()))
            finish(QDialog::Accepted);
        return;
    }
}

void TfrmOperLogin::failed(bool disabled) {
    ++m_failures;
    if (disabled)
        ShowMess(QStringLiteral("此操作员已被禁用！"), 2);
    if (m_failures >= kMaxFailures) {
        ShowMess(m_mode == 1 ? QStringLiteral("更换操作员失败!") : QStringLiteral("非法操作员!"), 3);
        finish(QDialog::Rejected);
        return;
    }
    if (!disabled)
        ShowMess(QStringLiteral("用户名或密码不正确，请重新输入！"), 0);
    edtPassWord->selectAll();
    edtPassWord->setFocus();
}

void TfrmOperLogin::btnCancelClick() {
    finish(QDialog::Rejected);
}

void TfrmOperLogin::finish(int result) {
    m_closing = true;
    done(result);
}

void TfrmOperLogin::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        else
            focusNextChild();
        event->accept();
        return;
    case Qt::Key_Escape:
        // only 取消 closes the window
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TfrmOperLogin::closeEvent(QCloseEvent *event) {
    if (!m_closing) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool TfrmOperLogin::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusOut && (watched == edtOperCode || watched == edtOperName))
        lookupName();
    return QDialog::eventFilter(watched, event);
}
