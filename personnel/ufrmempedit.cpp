#include "ufrmempedit.h"

#include "datetickedit.h"
#include "empcode.h"
#include "ufrmimagedisp.h"

#include "core/configini.h"
#include "core/datadm.h"
#include "core/deptrestriction.h"
#include "core/keltrin.h"
#include "core/pubunit.h"
#include "core/session.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The auto-code choice of the last add while the program runs.
bool g_rememberedAuto = false;

const char *const kCodeKindSql = "select distinct F_name from t_code where (F_name <> '') and F_type = ?";

QString radioText(const QRadioButton *yes, const QString &yesText, const QString &noText) {
    return yes->isChecked() ? yesText : noText;
}

} // namespace

bool TfrmEmpEdit::rememberedAutoCode() {
    g_rememberedAuto =
        configIni().readBool(QStringLiteral("sys"), QStringLiteral("bZDcode"), g_rememberedAuto);
    return g_rememberedAuto;
}

TfrmEmpEdit::TfrmEmpEdit(QWidget *parent) : TEditDialog(QStringLiteral("员工档案资料"), parent) {
    okButton()->setText(QStringLiteral("确定(&O)"));
    cancelButton()->setText(QStringLiteral("取消(&C)"));

    QWidget *b = body();
    tabs = new QTabWidget(b);
    auto *outer = new QVBoxLayout(b);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(tabs);

    auto *page = new QWidget;
    tabs->addTab(page, QStringLiteral("基本资料"));
    auto *grid = new QGridLayout;
    int row = 0, col = 0;
    const auto add = [&](const QString &label, QWidget *w, int span = 1) {
        auto *l = new QLabel(label, page);
        l->setBuddy(w);
        grid->addWidget(l, row, col * 2);
        grid->addWidget(w, row, col * 2 + 1, 1, span * 2 - 1);
        col += span;
        if (col >= 3) {
            col = 0;
            ++row;
        }
        return l;
    };
    const auto line = [&](const char *name) {
        auto *e = new QLineEdit(page);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    const auto combo = [&](const char *name, const char *kind) {
        auto *c = new QComboBox(page);
        c->setObjectName(QLatin1String(name));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        if (kind) {
            m_codeCombos << qMakePair(c, QString::fromLatin1(kind));
            c->installEventFilter(this);
        }
        return c;
    };
    const auto date = [&](const char *name) {
        auto *d = new TDateTickEdit(page);
        d->setObjectName(QLatin1String(name));
        return d;
    };
    const auto radios = [&](const QString &yes, const QString &no, QRadioButton **y, QRadioButton **n) {
        auto *w = new QWidget(page);
        auto *l = new QHBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        *y = new QRadioButton(yes, w);
        *n = new QRadioButton(no, w);
        auto *group = new QButtonGroup(w);
        group->addButton(*y);
        group->addButton(*n);
        l->addWidget(*y);
        l->addWidget(*n);
        l->addStretch(1);
        return w;
    };

    auto *codeBox = new QWidget(page);
    {
        auto *l = new QHBoxLayout(codeBox);
        l->setContentsMargins(0, 0, 0, 0);
        edtcode = new QLineEdit(codeBox);
        edtcode->setObjectName(QStringLiteral("edtcode"));
        cbZDEmpCode = new QCheckBox(QStringLiteral("自动"), codeBox);
        cbZDEmpCode->setObjectName(QStringLiteral("cbZDEmpCode"));
        l->addWidget(edtcode, 1);
        l->addWidget(cbZDEmpCode);
    }
    add(QStringLiteral("编    号："), codeBox);
    add(QStringLiteral("参 保 否："),
        radios(QStringLiteral("是"), QStringLiteral("否"), &rbInsured, &rbUninsured));
    edtname = line("edtname");
    add(QStringLiteral("姓    名："), edtname);
    cbbDept = combo("cbbDept", nullptr);
    add(QStringLiteral("部    门："), cbbDept);
    cbbduty = combo("cbbduty", "duty");
    add(QStringLiteral("职    务："), cbbduty);
    add(QStringLiteral("性    别："), radios(QStringLiteral("男"), QStringLiteral("女"), &rbMale, &rbFemale));
    add(QStringLiteral("婚    否："),
        radios(QStringLiteral("是"), QStringLiteral("否"), &rbMarried, &rbSingle));
    cbbXueliLB = combo("cbbXueliLB", "xueliLB");
    add(QStringLiteral("学历类别："), cbbXueliLB);
    cbbXueli = combo("cbbXueli", "xueli");
    add(QStringLiteral("学    历："), cbbXueli);
    cbbJishuZC = combo("cbbJishuZC", "jishuZC");
    add(QStringLiteral("技术职称："), cbbJishuZC);
    edtXuexiao = line("edtXuexiao");
    add(QStringLiteral("毕业院校："), edtXuexiao);
    edtZhuanye = line("edtZhuanye");
    add(QStringLiteral("专    业："), edtZhuanye);
    dtpbiYe = date("dtpbiYe");
    add(QStringLiteral("毕业时间："), dtpbiYe);
    edtjiguan = line("edtjiguan");
    add(QStringLiteral("籍    贯："), edtjiguan);
    cbbminzu = combo("cbbminzu", "minZu");
    add(QStringLiteral("民    族："), cbbminzu);
    edthomephone = line("edthomephone");
    add(QStringLiteral("联系电话："), edthomephone);
    edtmovePhone = line("edtmovePhone");
    add(QStringLiteral("手    机："), edtmovePhone);
    dtpBirthday = date("dtpBirthday");
    add(QStringLiteral("出生日期："), dtpBirthday);
    edtSFZcode = line("edtSFZcode");
    add(QStringLiteral("身份证号："), edtSFZcode);
    dtpBegin = date("dtpBegin");
    add(QStringLiteral("录用日期："), dtpBegin);
    cbbLaiyuan = combo("cbbLaiyuan", "laiyuan");
    add(QStringLiteral("录用来源："), cbbLaiyuan);
    edtGongziCode = line("edtGongziCode");
    add(QStringLiteral("工资卡号："), edtGongziCode);
    cbbZZmianmao = combo("cbbZZmianmao", "zzmianmao");
    add(QStringLiteral("政治面貌："), cbbZZmianmao);
    cbbPYxingshi = combo("cbbPYxingshi", "pyxingshi");
    add(QStringLiteral("聘用形式："), cbbPYxingshi);
    ceGongZi = line("ceGongZi");
    ceGongZi->setPlaceholderText(QStringLiteral("￥0.00"));
    add(QStringLiteral("基本工资："), ceGongZi);
    edtDAcode = line("edtDAcode");
    add(QStringLiteral("档 案 号："), edtDAcode);
    dtpQDdate = date("dtpQDdate");
    add(QStringLiteral("签订日期："), dtpQDdate);
    cbbHTqixian = combo("cbbHTqixian", nullptr);
    cbbHTqixian->addItems({QStringLiteral("有"), QStringLiteral("无")});
    add(QStringLiteral("合同期限："), cbbHTqixian);
    dtpEndDate = date("dtpEndDate");
    add(QStringLiteral("合同到期："), dtpEndDate);
    if (col != 0) {
        col = 0;
        ++row;
    }
    edtAddress = line("edtAddress");
    add(QStringLiteral("现居住地："), edtAddress, 3);

    // leaving data
    cbUseFlag = new QCheckBox(QStringLiteral("离职否"), page);
    cbUseFlag->setObjectName(QStringLiteral("cbUseFlag"));
    grid->addWidget(cbUseFlag, row, 0);
    cbbLZtype = combo("cbbLZtype", nullptr);
    cbbLZtype->addItems({QStringLiteral("辞职"), QStringLiteral("辞退"), QStringLiteral("退休")});
    dtpLZdate = date("dtpLZdate");
    edtLZmem = line("edtLZmem");
    auto *lzType = new QLabel(QStringLiteral("离职方式："), page);
    auto *lzDate = new QLabel(QStringLiteral("离职日期："), page);
    auto *lzMem = new QLabel(QStringLiteral("离职说明："), page);
    grid->addWidget(lzType, row, 2);
    grid->addWidget(cbbLZtype, row, 3);
    grid->addWidget(lzDate, row, 4);
    grid->addWidget(dtpLZdate, row, 5);
    ++row;
    grid->addWidget(lzMem, row, 0);
    grid->addWidget(edtLZmem, row, 1, 1, 5);
    m_leaving = {lzType, cbbLZtype, lzDate, dtpLZdate, lzMem, edtLZmem};
    connect(cbUseFlag, &QCheckBox::toggled, this, &TfrmEmpEdit::showLeavingFields);

    // photo
    auto *photoBox = new QVBoxLayout;
    Image1 = new QLabel(page);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(130, 160);
    Image1->setFrameShape(QFrame::StyledPanel);
    Image1->setScaledContents(true);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->installEventFilter(this);
    BitBtn1 = new QPushButton(QStringLiteral("载入图片"), page);
    BitBtn2 = new QPushButton(QStringLiteral("清空显示"), page);
    for (QPushButton *p : {BitBtn1, BitBtn2})
        p->setAutoDefault(false);
    photoBox->addWidget(Image1);
    photoBox->addWidget(BitBtn1);
    photoBox->addWidget(BitBtn2);
    photoBox->addStretch(1);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmEmpEdit::choosePhoto);
    connect(BitBtn2, &QPushButton::clicked, this, &TfrmEmpEdit::clearPhoto);

    auto *pageLayout = new QHBoxLayout(page);
    pageLayout->addLayout(grid, 1);
    pageLayout->addLayout(photoBox);

    Memo1 = new QPlainTextEdit;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    tabs->addTab(Memo1, QStringLiteral("个人简历"));
    Memo2 = new QPlainTextEdit;
    Memo2->setObjectName(QStringLiteral("Memo2"));
    tabs->addTab(Memo2, QStringLiteral("备注"));

    CheckBox2 = new QCheckBox(QStringLiteral("员工资料更新是否更新相关报表资料"), b);
    outer->addWidget(CheckBox2);

    connect(cbZDEmpCode, &QCheckBox::toggled, this, [this](bool on) {
        if (on && isAddMode())
            generateCode();
    });
    connect(this, &TEditDialog::recordSaved, this, [this] { afterSave(); });

    {
        const QSignalBlocker block(cbZDEmpCode);
        cbZDEmpCode->setChecked(rememberedAutoCode());
    }
    showLeavingFields();
}

TfrmEmpEdit::~TfrmEmpEdit() = default;

void TfrmEmpEdit::setQuickAdd() {
    m_quickAdd = true;
    m_fresh = false;
    continuousBox()->setChecked(false);
    setAddMode();
    continuousBox()->hide();
}

bool TfrmEmpEdit::generateCode() {
    QString error;
    const QString code = empcode::generate(&error);
    if (code.isEmpty()) {
        ShowMess(error, 0);
        const QSignalBlocker block(cbZDEmpCode);
        cbZDEmpCode->setChecked(false);
        edtcode->setFocusPolicy(Qt::StrongFocus);
        return false;
    }
    edtcode->setText(code);
    return true;
}

void TfrmEmpEdit::setPhoto(const empstore::Photo &photo, const QString &path) {
    m_photo = photo;
    m_photoPath = photo.isNull() ? QString() : path;
    if (photo.isNull())
        Image1->clear();
    else
        Image1->setPixmap(QPixmap::fromImage(photo.image));
}

bool TfrmEmpEdit::loadPhotoFile(const QString &path) {
    empstore::Photo p;
    QString error;
    if (!empstore::readPhotoFile(path, &p, &error)) {
        ShowMess(QStringLiteral("图片文件“%1”无法读取，员工照片没有改变。").arg(path), 2);
        return false;
    }
    setPhoto(p, path);
    return true;
}

void TfrmEmpEdit::clearPhoto() {
    setPhoto(empstore::Photo(), QString());
}

void TfrmEmpEdit::choosePhoto() {
    TfrmImageDisp window(this);
    if (!m_photoPath.isEmpty())
        window.setPicture(m_photo.image);
    const QString chosen = window.ChoosePicture(m_photoPath);
    if (chosen == m_photoPath)
        return;
    if (chosen.isEmpty())
        clearPhoto();
    else
        loadPhotoFile(chosen);
}

void TfrmEmpEdit::showLeavingFields() {
    const bool on = cbUseFlag->isChecked();
    for (QWidget *w : m_leaving)
        w->setVisible(on);
}

void TfrmEmpEdit::loadRecord(qint64 id) {
    empstore::Employee e;
    if (!empstore::load(id, &e)) {
        ShowMess(QStringLiteral("读取员工资料失败，请检查数据连接！"), 3);
        return;
    }
    {
        const QSignalBlocker block(cbZDEmpCode);
        cbZDEmpCode->setChecked(false);
    }
    cbZDEmpCode->setEnabled(false);
    edtcode->setFocusPolicy(Qt::StrongFocus);
    edtcode->setText(e.code);
    edtname->setText(e.name);
    cbbDept->setEditText(e.dept);
    m_loadedCode = e.code.trimmed();
    m_loadedName = e.name.trimmed();
    m_loadedDept = e.dept.trimmed();
    setPhoto(empstore::photoFromStored(e.empImage, e.imagePath), e.imagePath);

    cbbduty->setEditText(e.duty);
    (e.sex == QStringLiteral("男") ? rbMale : rbFemale)->setChecked(true);
    (e.ifHun == QStringLiteral("是") ? rbMarried : rbSingle)->setChecked(true);
    (e.cbFlag == QStringLiteral("是") ? rbInsured : rbUninsured)->setChecked(true);
    cbbXueliLB->setEditText(e.xueliLB);
    cbbXueli->setEditText(e.xueli);
    cbbJishuZC->setEditText(e.jishuZC);
    edtXuexiao->setText(e.xuexiao);
    edtZhuanye->setText(e.zhuanye);
    dtpbiYe->setDate(e.biyeDate);
    edtjiguan->setText(e.jiguan);
    cbbminzu->setEditText(e.minzu);
    edthomephone->setText(e.homePhone);
    edtmovePhone->setText(e.movePhone);
    edtAddress->setText(e.address);
    dtpBirthday->setDate(e.birthday);
    edtSFZcode->setText(e.sfzCode);
    dtpBegin->setDate(e.beginDate);
    cbbLaiyuan->setEditText(e.laiyuan);
    edtGongziCode->setText(e.gongziCode);
    cbbZZmianmao->setEditText(e.zzMianmao);
    cbbPYxingshi->setEditText(e.pyXingshi);
    ceGongZi->setText(FormatFloat(QStringLiteral(",0.00##"), e.gongZi));
    edtDAcode->setText(e.daCode);
    dtpQDdate->setDate(e.qdDate);
    cbbHTqixian->setEditText(e.htQixian);
    dtpEndDate->setDate(e.endDate);
    Memo1->setPlainText(e.mem1);
    Memo2->setPlainText(e.mem2);
    cbUseFlag->setChecked(e.useFlag);
    if (e.useFlag) {
        cbbLZtype->setEditText(e.lzType);
        dtpLZdate->setDate(e.lzDate);
        edtLZmem->setText(e.lzMem);
    } else {
        cbbLZtype->setEditText(QString());
        dtpLZdate->setDate(QDate());
        edtLZmem->clear();
    }
    showLeavingFields();
}

void TfrmEmpEdit::clearForNew() {
    for (QLineEdit *e : {edtcode, edtname, edtXuexiao, edtZhuanye, edtjiguan, edthomephone, edtmovePhone,
                         edtAddress, edtSFZcode, edtGongziCode, ceGongZi, edtDAcode, edtLZmem})
        e->clear();
    for (QComboBox *c : {cbbduty, cbbXueliLB, cbbXueli, cbbJishuZC, cbbminzu, cbbLaiyuan, cbbZZmianmao,
                         cbbPYxingshi, cbbHTqixian, cbbLZtype})
        c->setEditText(QString());
    if (cbbDept->isEnabled())
        cbbDept->setEditText(QString());
    Memo1->clear();
    Memo2->clear();
    rbMale->setChecked(true);
    rbSingle->setChecked(true);
    rbUninsured->setChecked(true);
    cbUseFlag->setChecked(false);
    clearPhoto();
    // a fresh dialog offers today as birth, graduation and hiring date; later forms start empty
    for (TDateTickEdit *d : {dtpbiYe, dtpBirthday, dtpBegin})
        d->setDate(m_fresh ? QDate::currentDate() : QDate());
    for (TDateTickEdit *d : {dtpQDdate, dtpEndDate, dtpLZdate})
        d->setDate(QDate());
    m_fresh = false;
    m_loadedCode.clear();
    m_loadedName.clear();
    m_loadedDept.clear();
    cbZDEmpCode->setEnabled(true);
    edtcode->setFocusPolicy(cbZDEmpCode->isChecked() ? Qt::ClickFocus : Qt::StrongFocus);
    showLeavingFields();
    if (cbZDEmpCode->isChecked())
        generateCode();
}

void TfrmEmpEdit::focusFirstField() {
    if (isAddMode() && cbZDEmpCode->isChecked())
        edtname->setFocus(Qt::OtherFocusReason);
    else
        edtcode->setFocus(Qt::OtherFocusReason);
}

empstore::Employee TfrmEmpEdit::formValues() const {
    empstore::Employee e;
    e.id = currentId();
    e.code = edtcode->text().trimmed();
    e.name = edtname->text().trimmed();
    e.dept = cbbDept->currentText().trimmed();
    e.duty = cbbduty->currentText();
    e.sex = radioText(rbMale, QStringLiteral("男"), QStringLiteral("女"));
    e.ifHun = radioText(rbMarried, QStringLiteral("是"), QStringLiteral("否"));
    e.cbFlag = radioText(rbInsured, QStringLiteral("是"), QStringLiteral("否"));
    e.xueliLB = cbbXueliLB->currentText();
    e.xueli = cbbXueli->currentText();
    e.jishuZC = cbbJishuZC->currentText();
    e.xuexiao = edtXuexiao->text();
    e.zhuanye = edtZhuanye->text();
    e.biyeDate = dtpbiYe->date();
    e.jiguan = edtjiguan->text();
    e.minzu = cbbminzu->currentText();
    e.homePhone = edthomephone->text();
    e.movePhone = edtmovePhone->text();
    e.address = edtAddress->text();
    e.birthday = dtpBirthday->date();
    e.sfzCode = edtSFZcode->text();
    e.beginDate = dtpBegin->date();
    e.laiyuan = cbbLaiyuan->currentText();
    e.gongziCode = edtGongziCode->text();
    e.zzMianmao = cbbZZmianmao->currentText();
    e.pyXingshi = cbbPYxingshi->currentText();
    QString wage = ceGongZi->text().trimmed();
    wage.remove(QStringLiteral("￥")).remove(QLatin1Char(','));
    e.gongZi = wage.isEmpty() ? 0 : wage.toDouble();
    e.daCode = edtDAcode->text();
    e.qdDate = dtpQDdate->date();
    e.htQixian = cbbHTqixian->currentText();
    e.endDate = dtpEndDate->date();
    e.mem1 = Memo1->toPlainText();
    e.mem2 = Memo2->toPlainText();
    e.useFlag = cbUseFlag->isChecked();
    e.lzType = cbbLZtype->currentText();
    e.lzDate = dtpLZdate->date();
    e.lzMem = edtLZmem->text();
    e.imagePath = m_photo.isNull() ? QString() : m_photo.fileName;
    e.empImage = m_photo.isNull() ? QByteArray() : m_photo.data;
    return e;
}

bool TfrmEmpEdit::validate() {
    const auto refuse = [](const QString &text, QWidget *focus) {
        ShowMess(text, 0);
        focus->setFocus(Qt::OtherFocusReason);
        return false;
    };
    QString code = edtcode->text().trimmed();
    const bool autoCode = isAddMode() && cbZDEmpCode->isChecked();
    if (code.isEmpty())
        return refuse(QStringLiteral("当前员工编号不能为空！"), edtcode);
    if (autoCode && !empcode::endsInThreeDigits(code))
        return refuse(QStringLiteral("采用自动编号，员工编号最后三位必须全为数字！"), edtcode);
    const qint64 codeOwner = empstore::findByCode(code);
    if (codeOwner > 0 && (isAddMode() || codeOwner != currentId())) {
        if (!autoCode)
            return refuse(QStringLiteral("员工编号重复，请重新输入！"), edtcode);
        if (!generateCode()) {
            edtcode->setFocus(Qt::OtherFocusReason);
            return false;
        }
        code = edtcode->text().trimmed();
    }
    const QString name = edtname->text().trimmed();
    if (name.isEmpty())
        return refuse(QStringLiteral("员工姓名不能为空！"), edtname);
    const qint64 nameOwner = empstore::findByName(name);
    if (nameOwner > 0 && (isAddMode() || nameOwner != currentId()))
        return refuse(QStringLiteral("员工姓名重复，请重新输入！"), edtname);

    QString wage = ceGongZi->text().trimmed();
    wage.remove(QStringLiteral("￥")).remove(QLatin1Char(','));
    bool ok = true;
    if (!wage.isEmpty())
        wage.toDouble(&ok);
    if (!ok) {
        tabs->setCurrentIndex(0);
        return refuse(QStringLiteral("基本工资必须是数字，请重新输入！"), ceGongZi);
    }
    const QList<QPair<TDateTickEdit *, QString>> dates = {
        {dtpbiYe, QStringLiteral("毕业时间")},    {dtpBirthday, QStringLiteral("出生日期")},
        {dtpBegin, QStringLiteral("录用日期")},   {dtpQDdate, QStringLiteral("签订日期")},
        {dtpEndDate, QStringLiteral("合同到期")}, {dtpLZdate, QStringLiteral("离职日期")}};
    for (const auto &d : dates) {
        const QDate v = d.first->date();
        if (v.isValid() && (v < TDateTickEdit::minimumDate() || v > TDateTickEdit::maximumDate())) {
            tabs->setCurrentIndex(0);
            return refuse(QStringLiteral("%1必须在%2至%3之间，请重新输入！")
                              .arg(d.second,
                                   TDateTickEdit::minimumDate().toString(QStringLiteral("yyyy-MM-dd")),
                                   TDateTickEdit::maximumDate().toString(QStringLiteral("yyyy-MM-dd"))),
                          d.first);
        }
    }
    return true;
}

qint64 TfrmEmpEdit::save(Transaction &) {
    const empstore::Employee e = formValues();
    if (isAddMode()) {
        const qint64 id = empstore::insert(e);
        return id > 0 ? id : kSaveFailed;
    }
    if (!empstore::update(e))
        return kSaveFailed;
    if (!empstore::propagate(e.id, m_loadedCode, m_loadedName, m_loadedDept, e.code, e.name, e.dept))
        return kSaveFailed;
    return e.id;
}

void TfrmEmpEdit::afterSave() {
    if (isAddMode()) {
        g_rememberedAuto = cbZDEmpCode->isChecked();
        configIni().writeString(QStringLiteral("sys"), QStringLiteral("bZDcode"),
                                g_rememberedAuto ? QStringLiteral("true") : QStringLiteral("false"));
    } else {
        m_loadedCode = edtcode->text().trimmed();
        m_loadedName = edtname->text().trimmed();
        m_loadedDept = cbbDept->currentText().trimmed();
    }
}

void TfrmEmpEdit::showEvent(QShowEvent *event) {
    if (!m_shownOnce) {
        m_shownOnce = true;
        const QString text = cbbDept->currentText();
        fillDeptCombo(cbbDept);
        if (session().CurDeptFlag != 1) {
            if (!text.trimmed().isEmpty())
                cbbDept->setEditText(text);
            else if (cbbDept->count() > 0)
                cbbDept->setCurrentIndex(0);
        }
    }
    TEditDialog::showEvent(event);
}

bool TfrmEmpEdit::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusIn) {
        for (const auto &c : std::as_const(m_codeCombos)) {
            if (c.first == watched) {
                const QString text = c.first->currentText();
                TdmData::FillCombo(QString::fromLatin1(kCodeKindSql), c.first, {c.second});
                c.first->setEditText(text);
                break;
            }
        }
    } else if (watched == Image1 && event->type() == QEvent::MouseButtonDblClick) {
        choosePhoto();
        return true;
    }
    return TEditDialog::eventFilter(watched, event);
}

qint64 RunEmpEdit(QWidget *owner, bool add, const QList<qint64> &ids, int index) {
    if (!add && ids.isEmpty())
        return 0;
    TfrmEmpEdit dialog(owner);
    if (add)
        dialog.setAddMode();
    else
        dialog.setEditMode(ids, index);
    DispFormPos(&dialog, 1);
    dialog.exec();
    return dialog.savedId() > 0 ? dialog.savedId() : 0;
}

qint64 RunEmpQuickAdd(QWidget *owner) {
    TfrmEmpEdit dialog(owner);
    dialog.setQuickAdd();
    dialog.exec();
    return dialog.savedId() > 0 ? dialog.savedId() : 0;
}
