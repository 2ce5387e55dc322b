#include "ufrmlimitgl.h"

#include "checklistbox.h"
#include "udlgselectdeptstr.h"

#include "core/enternavigation.h"
#include "core/keltrin.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename W> W *named(W *w, const char *name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QPlainTextEdit *memoBox(const char *name) {
    auto *m = named(new QPlainTextEdit, name);
    m->setTabChangesFocus(true);
    m->setFixedHeight(m->fontMetrics().lineSpacing() * 4 + 12);
    return m;
}

} // namespace

TFrmLimitGl::TFrmLimitGl(Kind kind, const QString &code, bool editing, QWidget *parent)
    : QDialog(parent), m_kind(kind), m_editing(editing) {
    const bool oper = kind == Kind::Operator;
    setWindowTitle(oper ? QStringLiteral("用户权限") : QStringLiteral("角色权限"));

    auto *hint = new QLabel(
        QStringLiteral("角色指的是权限级别，对于增加的操作员，必须选择角色才可以给他分配操作权限"), this);
    hint->setWordWrap(true);

    m_tabs = named(new QTabWidget(this), "tabs");
    m_tabs->addTab(buildOperatorPage(), QStringLiteral(" 操 作 员 "));
    m_tabs->addTab(buildRolePage(), QStringLiteral(" 角    色 "));
    m_tabs->addTab(buildRightsPage(), QStringLiteral(" 权限设置 "));
    m_tabs->setTabVisible(0, oper);
    m_tabs->setTabVisible(1, !oper);
    m_tabs->setTabVisible(2, !oper);
    m_tabs->setCurrentIndex(oper ? 0 : 1);

    chkFlag =
        named(new QCheckBox(oper ? QStringLiteral("用户禁用") : QStringLiteral("角色禁用"), this), "chkFlag");
    btnSave = named(
        new QPushButton(QIcon::fromTheme(QStringLiteral("document-save")), QStringLiteral("保存"), this),
        "btnSave");
    btnExit = named(
        new QPushButton(QIcon::fromTheme(QStringLiteral("application-exit")), QStringLiteral("退出"), this),
        "btnExit");
    for (QPushButton *b : {btnSave, btnExit}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chkFlag);
    bottom->addStretch(1);
    bottom->addWidget(btnSave);
    bottom->addWidget(btnExit);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottom);

    connect(btnSave, &QPushButton::clicked, this, [this] { save(); });
    connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
    new DialogKeyFilter(this, nullptr);

    if (oper)
        cbbPart->addItems(roleChoices());
    else
        lstLimits->setNames(rightNames());

    if (!editing) {
        clearForNew();
    } else if (oper) {
        OperatorData d;
        m_loaded = loadOperator(code, &d);
        if (m_loaded)
            loadOperatorForm(d);
    } else {
        RoleData d;
        m_loaded = loadRole(code, &d);
        if (m_loaded)
            loadRoleForm(d);
    }

    resize(560, 460);
    DispFormPos(this, 1);
}

QWidget *TFrmLimitGl::buildOperatorPage() {
    m_operPage = new QWidget;
    edtCode = named(new QLineEdit, "edtCode");
    edtName = named(new QLineEdit, "edtName");
    edtPassWord = named(new QLineEdit, "edtPassWord");
    edtPassWord->setEchoMode(QLineEdit::Password);
    cbbPart = named(new QComboBox, "cbbPart");
    memMem = memoBox("memMem");

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户编号"), edtCode);
    form->addRow(QStringLiteral("用户名称"), edtName);
    form->addRow(QStringLiteral("初始密码"), edtPassWord);
    form->addRow(QStringLiteral("所属角色"), cbbPart);
    form->addRow(QStringLiteral("详细描述"), memMem);

    auto *rights = new QGroupBox(QStringLiteral("操作权限"));
    auto *rightsLayout = new QHBoxLayout(rights);
    chkNew = named(new QCheckBox(QStringLiteral("新  增")), "chkNew");
    chkEdit = named(new QCheckBox(QStringLiteral("修  改")), "chkEdit");
    chkDel = named(new QCheckBox(QStringLiteral("删  除")), "chkDel");
    chkCheck = named(new QCheckBox(QStringLiteral("审  核")), "chkCheck");
    chkSet = named(new QCheckBox(QStringLiteral("设  置")), "chkSet");
    for (QCheckBox *c : {chkNew, chkEdit, chkDel, chkCheck, chkSet})
        rightsLayout->addWidget(c);

    auto *dept = new QGroupBox(QStringLiteral("部门权限"));
    auto *deptLayout = new QVBoxLayout(dept);
    m_deptGroup = new QButtonGroup(this);
    const char *choices[] = {"全部显示所有部门", "只显示本部门资料", "显示所列部门资料"};
    for (int i = 0; i < 3; ++i) {
        auto *rb = new QRadioButton(QString::fromUtf8(choices[i]));
        rb->setObjectName(QStringLiteral("rbDept%1").arg(i));
        m_deptGroup->addButton(rb, i);
        deptLayout->addWidget(rb);
    }
    lblDept = new QLabel(QStringLiteral("所列部门"));
    edtDept = named(new QLineEdit, "edtDept");
    edtDept->setReadOnly(true);
    btnDept = named(new QToolButton, "btnDept");
    btnDept->setText(QStringLiteral("..."));
    btnDept->setToolTip(QStringLiteral("部门选择"));
    auto *deptRow = new QHBoxLayout;
    deptRow->addWidget(lblDept);
    deptRow->addWidget(edtDept, 1);
    deptRow->addWidget(btnDept);
    deptLayout->addLayout(deptRow);
    connect(m_deptGroup, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            updateDeptField();
    });
    connect(btnDept, &QToolButton::clicked, this, &TFrmLimitGl::pickDepartments);

    auto *layout = new QVBoxLayout(m_operPage);
    layout->addLayout(form);
    layout->addWidget(rights);
    layout->addWidget(dept);
    layout->addStretch(1);
    return m_operPage;
}

QWidget *TFrmLimitGl::buildRolePage() {
    m_rolePage = new QWidget;
    edtPartCode = named(new QLineEdit, "edtPartCode");
    edtPartName = named(new QLineEdit, "edtPartName");
    memPartMem = memoBox("memPartMem");
    auto *form = new QFormLayout(m_rolePage);
    form->addRow(QStringLiteral("角色编号"), edtPartCode);
    form->addRow(QStringLiteral("角色名称"), edtPartName);
    form->addRow(QStringLiteral("详细描述"), memPartMem);
    return m_rolePage;
}

QWidget *TFrmLimitGl::buildRightsPage() {
    m_rightsPage = new QWidget;
    lstLimits = named(new CheckListBox(3), "lstLimits");
    btnAll = named(new QPushButton(QStringLiteral("全选")), "btnAll");
    btnClear = named(new QPushButton(QStringLiteral("清除")), "btnClear");
    for (QPushButton *b : {btnAll, btnClear}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(btnAll, &QPushButton::clicked, this, [this] { lstLimits->setAllChecked(true); });
    connect(btnClear, &QPushButton::clicked, this, [this] { lstLimits->setAllChecked(false); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnAll);
    buttons->addWidget(btnClear);
    auto *layout = new QVBoxLayout(m_rightsPage);
    layout->addWidget(lstLimits, 1);
    layout->addLayout(buttons);
    return m_rightsPage;
}

void TFrmLimitGl::loadOperatorForm(const OperatorData &d) {
    m_id = d.id;
    edtCode->setText(d.code);
    edtCode->setEnabled(false);
    edtName->setText(d.name);
    // the stored password is never shown: an empty box keeps it
    edtPassWord->clear();
    edtPassWord->setPlaceholderText(QStringLiteral("不更改密码请留空"));
    // the operator's own role stays choosable even when it has been switched off since
    if (!d.roleName.isEmpty() && cbbPart->findText(d.roleName) < 0)
        cbbPart->addItem(d.roleName);
    cbbPart->setCurrentIndex(cbbPart->findText(d.roleName));
    memMem->setPlainText(d.mem);
    chkFlag->setChecked(d.disabled);
    chkNew->setChecked(d.rightNew);
    chkEdit->setChecked(d.rightEdit);
    chkDel->setChecked(d.rightDelete);
    chkCheck->setChecked(d.rightCheck);
    chkSet->setChecked(d.rightSet);
    m_deptGroup->button(d.deptFlag)->setChecked(true);
    edtDept->setText(d.deptList);
    updateDeptField();
}

void TFrmLimitGl::loadRoleForm(const RoleData &d) {
    m_id = d.id;
    edtPartCode->setText(d.code);
    edtPartCode->setEnabled(false);
    edtPartName->setText(d.name);
    memPartMem->setPlainText(d.mem);
    chkFlag->setChecked(d.disabled);
    lstLimits->setCheckedNames(d.rights);
}

void TFrmLimitGl::clearForNew() {
    m_id = -1;
    chkFlag->setChecked(false);
    if (m_kind == Kind::Operator) {
        for (QLineEdit *e : {edtCode, edtName, edtPassWord, edtDept})
            e->clear();
        cbbPart->setCurrentIndex(-1);
        memMem->clear();
        for (QCheckBox *c : {chkNew, chkEdit, chkDel, chkCheck, chkSet})
            c->setChecked(true);
        m_deptGroup->button(0)->setChecked(true);
        updateDeptField();
        focusOn(m_operPage, edtCode);
    } else {
        edtPartCode->clear();
        edtPartName->clear();
        memPartMem->clear();
        lstLimits->setAllChecked(false);
        focusOn(m_rolePage, edtPartCode);
    }
}

void TFrmLimitGl::updateDeptField() {
    const bool listed = m_deptGroup->checkedId() == 2;
    lblDept->setVisible(listed);
    edtDept->setVisible(listed);
    btnDept->setVisible(listed);
}

void TFrmLimitGl::pickDepartments() {
    edtDept->setText(SelectDepartments(edtDept->text(), this));
}

void TFrmLimitGl::focusOn(QWidget *page, QWidget *field) {
    m_tabs->setCurrentWidget(page);
    field->setFocus();
}

bool TFrmLimitGl::save() {
    const bool saved = m_kind == Kind::Operator ? saveOperatorForm() : saveRoleForm();
    if (!saved)
        return false;
    if (m_editing)
        accept();
    else
        clearForNew();
    return true;
}

bool TFrmLimitGl::saveOperatorForm() {
    OperatorData d;
    d.id = m_id;
    d.code = edtCode->text();
    d.name = edtName->text();
    d.password = edtPassWord->text();
    d.roleName = cbbPart->currentText();
    d.mem = memMem->toPlainText();
    d.disabled = chkFlag->isChecked();
    d.rightNew = chkNew->isChecked();
    d.rightEdit = chkEdit->isChecked();
    d.rightDelete = chkDel->isChecked();
    d.rightCheck = chkCheck->isChecked();
    d.rightSet = chkSet->isChecked();
    d.deptFlag = qMax(0, m_deptGroup->checkedId());
    d.deptList = edtDept->text();
    switch (saveOperator(d)) {
    case SaveResult::Saved:
        m_savedCode = d.code;
        return true;
    case SaveResult::EmptyRole:
        focusOn(m_operPage, cbbPart);
        return false;
    case SaveResult::EmptyCode:
    case SaveResult::DuplicateCode:
    case SaveResult::SuperUser:
        focusOn(m_operPage, edtCode->isEnabled() ? static_cast<QWidget *>(edtCode) : edtName);
        return false;
    default:
        return false;
    }
}

bool TFrmLimitGl::saveRoleForm() {
    RoleData d;
    d.id = m_id;
    d.code = edtPartCode->text();
    d.name = edtPartName->text();
    d.mem = memPartMem->toPlainText();
    d.disabled = chkFlag->isChecked();
    d.rights = lstLimits->checkedNames();
    switch (saveRole(d)) {
    case SaveResult::Saved:
        m_savedCode = d.code;
        return true;
    case SaveResult::EmptyCode:
    case SaveResult::DuplicateCode:
        focusOn(m_rolePage, edtPartCode->isEnabled() ? static_cast<QWidget *>(edtPartCode) : edtPartName);
        return false;
    case SaveResult::EmptyName:
    case SaveResult::DuplicateName:
        focusOn(m_rolePage, edtPartName);
        return false;
    default:
        return false;
    }
}

namespace {

QString showEditor(TFrmLimitGl::Kind kind, const QString &code, bool editing, QWidget *parent) {
    if (kind == TFrmLimitGl::Kind::Operator && editing && code.trimmed() == kSuperUserCode) {
        ShowMess(QStringLiteral("此用户为系统专用用户，不能被编辑！"), 2);
        return QString();
    }
    TFrmLimitGl dlg(kind, code, editing, parent);
    if (!dlg.loaded()) {
        ShowMess(QStringLiteral("请选择要修改的行！"), 3);
        return QString();
    }
    dlg.exec();
    return dlg.savedCode();
}

} // namespace

QString ShowOperatorEditor(const QString &code, bool editing, QWidget *parent) {
    return showEditor(TFrmLimitGl::Kind::Operator, code, editing, parent);
}

QString ShowRoleEditor(const QString &code, bool editing, QWidget *parent) {
    return showEditor(TFrmLimitGl::Kind::Role, code, editing, parent);
}
