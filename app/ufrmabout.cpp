#include "ufrmabout.h"

#include "appinfo.h"
#include "core/keltrin.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFrmAbout::TFrmAbout(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于我们"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *icon = new QLabel(this);
    icon->setPixmap(QIcon::fromTheme(QStringLiteral("system-users")).pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    m_title = new QLabel(AppTitle + AppVersion, this);
    m_title->setObjectName(QStringLiteral("lblTitle"));
    QFont f = m_title->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    m_title->setFont(f);

    auto *text = new QLabel(
        QStringLiteral("为计件、计时制生产企业的人事部门和工资核算人员提供员工档案、生产计件与计时记录、"
                       "应扣应发项目、月度工资表、工资条、各类统计报表和零币发放等功能。"),
        this);
    text->setWordWrap(true);

    auto *site = new QLabel(QStringLiteral("官方网站：<a href=\"%1\">%1</a>").arg(AppWebSite), this);
    site->setOpenExternalLinks(true);
    site->setTextInteractionFlags(Qt::TextBrowserInteraction);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *right = new QVBoxLayout;
    right->addWidget(m_title);
    right->addSpacing(8);
    right->addWidget(text);
    right->addWidget(site);
    right->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(right, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);

    resize(460, 220);
    DispFormPos(this, 1);
}
