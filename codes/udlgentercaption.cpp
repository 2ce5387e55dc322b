#include "udlgentercaption.h"

#include "ufrmtreecodeman.h"

#include "core/keltrin.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TDLGenterCaption::TDLGenterCaption(QWidget *parent) : QDialog(parent) {
    setModal(true);
    lblCaption = new QLabel(QStringLiteral("节点名称"));
    edtCurValue = new QLineEdit;
    edtCurValue->setObjectName(QStringLiteral("edtCurValue"));
    lblCaption->setBuddy(edtCurValue);
    sbtype = new QToolButton;
    sbtype->setObjectName(QStringLiteral("sbtype"));
    sbtype->setText(QStringLiteral("..."));
    sbtype->setIcon(QIcon::fromTheme(QStringLiteral("view-list-tree")));
    sbtype->setToolTip(QStringLiteral("从部门结构中选择"));
    sbtype->setVisible(false);

    btnOk = new QPushButton(QStringLiteral("确定"));
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);

    auto *field = new QHBoxLayout;
    field->addWidget(lblCaption);
    field->addWidget(edtCurValue, 1);
    field->addWidget(sbtype);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(buttons);

    connect(btnOk, &QPushButton::clicked, this, &TDLGenterCaption::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(sbtype, &QToolButton::clicked, this, &TDLGenterCaption::sbtypeClick);

    resize(380, sizeHint().height());
    CentreOnOwner(this);
    edtCurValue->setFocus();
}

QString TDLGenterCaption::Execute(QWidget *parent, const QString &caption, const QString &value,
                                  bool showTreeButton) {
    TDLGenterCaption dlg(parent);
    dlg.setWindowTitle(caption);
    dlg.setCurValue(value);
    dlg.setTreeButtonVisible(showTreeButton);
    return dlg.exec() == QDialog::Accepted ? dlg.curValue() : QString();
}

QString TDLGenterCaption::curValue() const {
    return edtCurValue->text();
}

void TDLGenterCaption::setCurValue(const QString &value) {
    edtCurValue->setText(value);
    edtCurValue->selectAll();
}

void TDLGenterCaption::setTreeButtonVisible(bool visible) {
    sbtype->setVisible(visible);
}

void TDLGenterCaption::setLabelText(const QString &text) {
    lblCaption->setText(text);
}

void TDLGenterCaption::btnOkClick() {
    if (edtCurValue->text().trimmed().isEmpty()) {
        ShowMess(QStringLiteral("部门名称不能为空！"), 0);
        edtCurValue->setFocus();
        return;
    }
    accept();
}

void TDLGenterCaption::sbtypeClick() {
    edtCurValue->setText(codes::PickTreePath(this, edtCurValue->text()));
    edtCurValue->setFocus();
}
