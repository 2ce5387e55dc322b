#include "udlgselectdeptstr.h"

#include "checklistbox.h"
#include "opermanager.h"

#include "core/deptrestriction.h"
#include "core/enternavigation.h"
#include "core/keltrin.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TDLGselectDeptSTR::TDLGselectDeptSTR(QWidget *parent)
    : QDialog(parent), m_list(new CheckListBox(2, this)), m_ok(new QPushButton(QStringLiteral("确定"), this)),
      m_cancel(new QPushButton(QStringLiteral("取消"), this)) {
    setWindowTitle(QStringLiteral("部门选择 "));
    m_list->setObjectName(QStringLiteral("lstDept"));
    m_list->setNames(departmentChoices());
    for (QPushButton *b : {m_ok, m_cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("请从以下列表中勾选所需项目："), this));
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    new DialogKeyFilter(this, nullptr);

    resize(360, 300);
    DispFormPos(this, 1);
}

void TDLGselectDeptSTR::setCurrent(const QString &current) {
    QString text = current;
    text.replace(QStringLiteral("，"), QStringLiteral(","));
    m_list->setCheckedNames(parseDeptList(text));
}

QString TDLGselectDeptSTR::result() const {
    return formatDeptList(m_list->checkedNames());
}

QString SelectDepartments(const QString &current, QWidget *parent) {
    TDLGselectDeptSTR dlg(parent);
    if (dlg.list()->names().isEmpty()) {
        ShowMess(QStringLiteral("没有项目选择！"), 0);
        return current;
    }
    dlg.setCurrent(current);
    return dlg.exec() == QDialog::Accepted ? dlg.result() : current;
}
