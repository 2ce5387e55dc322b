#include "ufrmmodpass.h"

#include "opermanager.h"

#include "core/enternavigation.h"
#include "core/keltrin.h"
#include "core/session.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmModPass::TfrmModPass(QWidget *parent)
    : QDialog(parent), m_operator(new QLabel(this)), edtOld(new QLineEdit(this)), edtNew(new QLineEdit(this)),
      edtRepeat(new QLineEdit(this)), btnOk(new QPushButton(QStringLiteral("确定(&O)"), this)),
      btnCancel(new QPushButton(QStringLiteral("取消(&C)"), this)) {
    setWindowTitle(QStringLiteral("更改当前用户密码"));
    m_operator->setText(QStringLiteral("当前操作员：") + session().CurOperName + QStringLiteral(" "));
    edtOld->setObjectName(QStringLiteral("edtOld"));
    edtNew->setObjectName(QStringLiteral("edtNew"));
    edtRepeat->setObjectName(QStringLiteral("edtRepeat"));
    for (QLineEdit *e : {edtOld, edtNew, edtRepeat})
        e->setEchoMode(QLineEdit::Password);
    for (QPushButton *b : {btnOk, btnCancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("旧 密 码"), edtOld);
    form->addRow(QStringLiteral("新 密 码"), edtNew);
    form->addRow(QStringLiteral("再输一遍"), edtRepeat);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_operator);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(btnOk, &QPushButton::clicked, this, &TfrmModPass::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    new DialogKeyFilter(this, nullptr);
    edtOld->setFocus();

    resize(320, sizeHint().height());
    DispFormPos(this, 1);
}

void TfrmModPass::btnOkClick() {
    const PasswordChange result =
        changePassword(session().CurOperCode, edtOld->text(), edtNew->text(), edtRepeat->text());
    if (result == PasswordChange::Mismatch) {
        edtNew->clear();
        edtRepeat->clear();
    }
    accept();
}
