#include "ufrmuserinfo.h"

#include "sysinfo.h"

#include "core/keltrin.h"
#include "core/pubunit.h"
#include "core/session.h"

#include <QDesktopServices>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLineEdit *field(const QString &name, int maxLength = 255) {
    auto *e = new QLineEdit;
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    return e;
}

QPushButton *button(const QString &name, const QString &text) {
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    // Enter moves between the fields (see eventFilter), it never presses a button
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

TFrmUserInfo::TFrmUserInfo(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("公司信息"));
    setModal(true);

    edtCode = field(QStringLiteral("edtCode"), 50);
    edtName = field(QStringLiteral("edtName"));
    edtManager = field(QStringLiteral("edtManager"), 50);
    edtPhone = field(QStringLiteral("edtPhone"), 50);
    edtHandPhone = field(QStringLiteral("edtHandPhone"), 50);
    edtHomePage = field(QStringLiteral("edtHomePage"));
    edtHomePage->setToolTip(QStringLiteral("双击打开主页"));
    edtEmail = field(QStringLiteral("edtEmail"));
    edtEmail->setToolTip(QStringLiteral("双击发送电子邮件"));
    edtEnroler = field(QStringLiteral("edtEnroler"), 50);
    memMem = new QPlainTextEdit;
    memMem->setObjectName(QStringLiteral("memMem"));
    memMem->setTabChangesFocus(true);
    edtAmount = field(QStringLiteral("edtAmount"), 5);
    edtPrice = field(QStringLiteral("edtPrice"), 5);
    edtTotal = field(QStringLiteral("edtTotal"), 5);

    auto *mainPage = new QWidget;
    auto *mainForm = new QFormLayout(mainPage);
    mainForm->addRow(QStringLiteral("公司名称"), edtCode);
    mainForm->addRow(QStringLiteral("联系地址"), edtName);
    mainForm->addRow(QStringLiteral("负 责 人"), edtManager);
    mainForm->addRow(QStringLiteral("联系电话"), edtPhone);
    mainForm->addRow(QStringLiteral("手    机"), edtHandPhone);
    mainForm->addRow(QStringLiteral("主    页"), edtHomePage);
    mainForm->addRow(QStringLiteral("电子邮箱"), edtEmail);

    auto *otherPage = new QWidget;
    auto *otherForm = new QFormLayout(otherPage);
    otherForm->addRow(QStringLiteral("注册法人"), edtEnroler);
    otherForm->addRow(QStringLiteral("公司简介"), memMem);

    auto *placesPage = new QWidget;
    auto *group = new QGroupBox(QStringLiteral("保留小数点位数"));
    auto *placesForm = new QFormLayout(group);
    placesForm->addRow(QStringLiteral("数量："), edtAmount);
    placesForm->addRow(QStringLiteral("单价："), edtPrice);
    placesForm->addRow(QStringLiteral("金额："), edtTotal);
    auto *placesLayout = new QVBoxLayout(placesPage);
    placesLayout->addWidget(group);
    placesLayout->addStretch();

    pcInfo = new QTabWidget;
    pcInfo->setObjectName(QStringLiteral("pcInfo"));
    pcInfo->setDocumentMode(true); // flat tab buttons
    pcInfo->addTab(mainPage, QStringLiteral(" 主要资料 "));
    pcInfo->addTab(otherPage, QStringLiteral(" 其他资料 "));
    pcInfo->addTab(placesPage, QStringLiteral(" 小数位数 "));

    btnReset = button(QStringLiteral("btnReset"), QStringLiteral("重填"));
    btnEdit = button(QStringLiteral("btnEdit"), QStringLiteral("修改"));
    btnSave = button(QStringLiteral("btnSave"), QStringLiteral("保存"));
    btnClose = button(QStringLiteral("btnClose"), QStringLiteral("关闭"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {btnReset, btnEdit, btnSave, btnClose})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pcInfo);
    layout->addLayout(buttons);

    connect(btnReset, &QPushButton::clicked, this, &TFrmUserInfo::ClearInfo);
    connect(btnEdit, &QPushButton::clicked, this, &TFrmUserInfo::LoadInfo);
    connect(btnSave, &QPushButton::clicked, this, &TFrmUserInfo::SaveInfo);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    for (QLineEdit *e : textFields() + QList<QLineEdit *>{edtAmount, edtPrice, edtTotal})
        e->installEventFilter(this);

    LoadInfo();
    resize(460, 360);
    setFixedSize(size());
    CentreOnOwner(this);
}

QList<QLineEdit *> TFrmUserInfo::textFields() const {
    return {edtCode, edtName, edtManager, edtPhone, edtHandPhone, edtHomePage, edtEmail, edtEnroler};
}

void TFrmUserInfo::LoadInfo() {
    SysInfoValues v;
    if (SysInfo::Load(&v)) {
        edtCode->setText(v.code);
        edtName->setText(v.name);
        edtManager->setText(v.manager);
        edtPhone->setText(v.phone);
        edtHandPhone->setText(v.handPhone);
        edtHomePage->setText(v.homePage);
        edtEmail->setText(v.email);
        edtEnroler->setText(v.enroler);
        memMem->setPlainText(v.mem);
    }
    edtAmount->setText(QString::number(session().iAmount));
    edtPrice->setText(QString::number(session().iPrice));
    edtTotal->setText(QString::number(session().iTotal));
}

void TFrmUserInfo::ClearInfo() {
    for (QLineEdit *e : textFields())
        e->clear();
    memMem->clear();
    for (QLineEdit *e : {edtAmount, edtPrice, edtTotal})
        e->setText(QStringLiteral("2"));
}

bool TFrmUserInfo::SaveInfo() {
    const std::pair<QLineEdit *, QString> placeFields[] = {{edtAmount, QStringLiteral("数量")},
                                                           {edtPrice, QStringLiteral("单价")},
                                                           {edtTotal, QStringLiteral("金额")}};
    int places[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::optional<int> n = SysInfo::ParseDecimalPlaces(placeFields[i].first->text());
        if (!n) {
            ShowMess(QStringLiteral("%1的小数位数必须是 0 到 10 之间的整数！").arg(placeFields[i].second), 0);
            pcInfo->setCurrentIndex(2);
            placeFields[i].first->setFocus();
            placeFields[i].first->selectAll();
            return false;
        }
        places[i] = *n;
    }
    SysInfoValues v;
    v.code = edtCode->text();
    v.name = edtName->text();
    v.manager = edtManager->text();
    v.phone = edtPhone->text();
    v.handPhone = edtHandPhone->text();
    v.homePage = edtHomePage->text();
    v.email = edtEmail->text();
    v.enroler = edtEnroler->text();
    v.mem = memMem->toPlainText();
    if (!SysInfo::Save(v, DecimalPlaces{places[0], places[1], places[2]}))
        return false;
    for (int i = 0; i < 3; ++i)
        placeFields[i].first->setText(QString::number(places[i]));
    return true;
}

void TFrmUserInfo::OpenHomePage() {
    const QUrl url = SysInfo::HomePageUrl(edtHomePage->text());
    if (url.isEmpty())
        return;
    if (!QDesktopServices::openUrl(url))
        ShowMess(QStringLiteral("无法打开主页“%1”，请检查系统是否设置了默认浏览器！").arg(url.toString()), 2);
}

void TFrmUserInfo::OpenMail() {
    const QString address = edtEmail->text().trimmed();
    if (address.isEmpty())
        return;
    if (!IsValidEmail(address)) {
        ShowMess(QStringLiteral("电子邮箱地址“%1”不正确，无法发送邮件！").arg(address), 0);
        return;
    }
    if (!QDesktopServices::openUrl(SysInfo::MailUrl(address)))
        ShowMess(QStringLiteral("无法打开邮件程序，请检查系统是否设置了默认邮件程序！"), 2);
}

bool TFrmUserInfo::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == edtHomePage) {
            OpenHomePage();
            return true;
        }
        if (watched == edtEmail) {
            OpenMail();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit *>(watched)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
