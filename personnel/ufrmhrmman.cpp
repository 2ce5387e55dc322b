#include "ufrmhrmman.h"

#include "valuelistpanel.h"

#include "udlgempcx.h"
#include "ufrmempedit.h"

#include "codes/udlgentercaption.h"
#include "core/database.h"
#include "core/datadm.h"
#include "core/dbgrid.h"
#include "core/enternavigation.h"
#include "core/gridexport.h"
#include "core/gridlayout.h"
#include "core/gridtools.h"
#include "core/keltrin.h"
#include "core/prompter.h"
#include "core/session.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QSplitter>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

TfrmHRMman::TabEditor g_tabEditor;

// The employee grid's design columns (field, title).
const char *const kMainColumns[][2] = {
    {"F_code", "员工编号"},       {"F_name", "员工名称"},
    {"F_dept", "部门"},           {"F_sex", "性别"},
    {"F_duty", "职务"},           {"F_IFhun", "婚否"},
    {"F_minzu", "民族"},          {"F_jiguan", "籍贯"},
    {"F_birthDay", "生日"},       {"F_xueli", "学历"},
    {"F_xueliLB", "学历类别"},    {"F_DAcode", "档案号"},
    {"F_jishuZC", "技术职称"},    {"F_xuexiao", "学校"},
    {"F_zhuanye", "专业"},        {"F_biyeDate", "毕业日期"},
    {"F_homePhone", "联系电话"},  {"F_movePhone", "手机"},
    {"F_address", "现居住地"},    {"F_SFZcode", "身份证号"},
    {"F_beginDate", "录用日期"},  {"F_laiyuan", "录用来源"},
    {"F_gongziCode", "工资卡号"}, {"F_mem1", "个人简历"},
    {"F_mem2", "备注"},           {"F_useFlag", "离职否"},
    {"F_ZZmianmao", "政治面貌"},  {"F_PYxingshi", "聘用形式"},
    {"F_gongZI", "基本工资"},     {"F_QDdate", "签订日期"},
    {"F_HTqixian", "合同期限"},   {"F_endDate", "合同到期时间"},
    {"F_CBflag", "参保否"},
};

// The tab grids' design columns, "field title" pairs separated by commas.
const char *const kDetailColumns[7] = {
    "F_fromDate 开始日期,F_toDate 截止日期,F_name 公司名称,F_hangye 行业,F_type 公司性质,F_dept 部门,F_duty "
    "职位",
    "F_fromDate 开始日期,F_toDate 截止日期,F_name 培训机构,F_address 培训地点,F_kecheng 培训项目,"
    "F_zhengshu 获得证书",
    "F_code 员工编号,F_name 员工名称,F_OLDdaCode 原档案号,F_DDdate 调动日期,F_OLDdept 原部门,F_OLDduty "
    "原职务,"
    "F_DAcode 新档案号,F_NewDept 新部门,F_NewDuty 新职务,F_Memo1 调动原因,F_PZemp 批准人员,F_Memo2 备注信息",
    "F_KHdate 考评日期,F_KHtype 考评类型,F_KHqixian 考核期限,F_KHtime 考评时间,F_KHcj 考核成绩,F_KHdj "
    "考核等级,"
    "F_Memo1 考核评价,F_PJemp 评价人员,F_Memo2 备注",
    "F_HTcode 合同编号,F_HTname 合同名称,F_HTdate 合同日期,F_HTtype 合同类型,F_beginDate 合同开始日期,"
    "F_endDate 合同截止日期,F_YFamount 月份,F_Memo1 合同主要内容,F_HTstatus 合同状态,F_FilePath 文档位置,"
    "F_PZemp 批准人员,F_Memo2 备注",
    "F_TXdate 调薪日期,F_reason 调薪理由,F_beginPrice 调前薪资,F_endPrice 调后薪资,F_memo1 备注,F_PZemp "
    "批准人",
    "F_QCitem 奖惩项目,F_QCtype 奖惩类型,F_QCdate 奖惩日期,F_Memo1 奖惩内容,F_Memo2 奖惩原因,F_PZdept 部门,"
    "F_PZemp 批准人员,F_Memo3 备注信息,F_CXdate 撤消日期,F_Memo4 撤消理由",
};

QList<GridColumn> detailColumns(int tab) {
    QList<GridColumn> cols;
    for (const QString &pair : QString::fromUtf8(kDetailColumns[tab]).split(QLatin1Char(','))) {
        const int space = pair.indexOf(QLatin1Char(' '));
        cols << GridColumn(pair.left(space), pair.mid(space + 1));
    }
    return cols;
}

} // namespace

TfrmHRMman::TfrmHRMman(QWidget *parent) : TListWindow(QStringLiteral("员工档案管理"), parent) {
    setObjectName(QStringLiteral("frmHRMman"));
    setFont(QFont(QStringLiteral("宋体"), -1));
    setCommandText(Export, QStringLiteral("导出"));
    setGridLayoutKey(QStringLiteral("hrmman"));
    setExportFileName(QStringLiteral("员工档案信息列表"));

    for (const auto &c : kMainColumns)
        grid()->addColumn(GridColumn(QString::fromLatin1(c[0]), QString::fromUtf8(c[1])));
    grid()->setMultiSelect(true);
    grid()->setWriteBack([this](const GridRowChange &change) {
        if (!change.fields.contains(QStringLiteral("F_dept"), Qt::CaseInsensitive))
            return false;
        const qint64 id = grid()->value(change.row, QStringLiteral("F_ID")).toLongLong();
        return hrm::setEmployeeDept(id, change.newValues.value(change.fields.first()).toString());
    });
    grid()->setRowStyle([this](int row) {
        GridRowStyle s;
        if (grid()->value(row, QStringLiteral("F_useFlag")).toInt() != 0) {
            s.text = QColor(Qt::red);
            s.background = palette().color(QPalette::Button);
        }
        return s;
    });
    N5 = grid()->popupMenu()->addAction(QStringLiteral("更改员工部门"));
    connect(N5, &QAction::triggered, this, &TfrmHRMman::changeDeptOfSelected);

    // 打印 and 设置 with their drop-down menus; the buttons themselves run the first entry
    const char *const printItems[3] = {"员工档案简历", "员工统计列表", "员工详单表格"};
    const char *const setItems[3] = {"员工档案简历", "员工统计列表", "员工详细表格"};
    printMenu = new QMenu(this);
    setMenu = new QMenu(this);
    for (int i = 0; i < 3; ++i) {
        nPrint[i] = printMenu->addAction(QString::fromUtf8(printItems[i]));
        connect(nPrint[i], &QAction::triggered, this, [this, i] { printReport(i + 1); });
        nSet[i] = setMenu->addAction(QString::fromUtf8(setItems[i]));
        connect(nSet[i], &QAction::triggered, this, [this, i] { designReport(i + 1); });
    }
    action(Print)->setMenu(printMenu);
    action(Design)->setMenu(setMenu);
    for (Command c : {Print, Design})
        if (auto *b = qobject_cast<QToolButton *>(toolBar()->widgetForAction(action(c))))
            b->setPopupMode(QToolButton::MenuButtonPopup);

    buildFilterArea();
    buildSidePanel();
    buildBottomPanel();
    setSideAreaVisible(true);
    statusPanel(3)->setText(QStringLiteral("澜禾软件  员工档案  "));

    connect(grid(), &DBGridEh::currentRowChanged, this, [this] { currentEmployeeChanged(); });
    connect(this, &TListWindow::listRefreshed, this, [this] { currentEmployeeChanged(); });

    // Delete in the search box deletes the current employee; F3 searches
    new DialogKeyFilter(this, [this](QWidget *focus, QKeyEvent *event) {
        if (event->modifiers() & ~Qt::KeypadModifier)
            return false;
        if (event->key() == Qt::Key_Delete && focus == Edit1) {
            if (action(Delete)->isVisible() && action(Delete)->isEnabled())
                action(Delete)->trigger();
            return true;
        }
        if (event->key() == Qt::Key_F3) {
            bbFind->click();
            return true;
        }
        return false;
    });
}

TfrmHRMman::~TfrmHRMman() = default;

void TfrmHRMman::setTabEditor(TabEditor editor) {
    g_tabEditor = std::move(editor);
}

QString TfrmHRMman::reportTemplateName(int n) {
    switch (n) {
    case 2:
        return QStringLiteral("frHrmMan1");
    case 3:
        return QStringLiteral("frHrmMan2");
    default:
        return QStringLiteral("frHrmMan");
    }
}

// --- building ----------------------------------------------------------------------------------

void TfrmHRMman::buildFilterArea() {
    auto *row = new QHBoxLayout(filterArea());
    row->setContentsMargins(6, 2, 6, 2);
    SpeedButton2 = new QToolButton;
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setIcon(QIcon::fromTheme(QStringLiteral("view-split-left-right")));
    SpeedButton2->setText(QStringLiteral("列表"));
    SpeedButton2->setToolTip(QStringLiteral("显示或隐藏列表"));
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(hrm::searchKinds());
    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    CheckBox2 = new QCheckBox(QStringLiteral("包含已离职"));
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    bbFind = new QPushButton(QStringLiteral("查找(F3)"));
    bbFind->setObjectName(QStringLiteral("bbFind"));
    bbFind->setAutoDefault(false);
    sbGJfind = new QToolButton;
    sbGJfind->setObjectName(QStringLiteral("sbGJfind"));
    sbGJfind->setText(QStringLiteral("高级查找..."));
    sbGJfind->setCheckable(true);

    row->addWidget(SpeedButton2);
    row->addWidget(new QLabel(QStringLiteral("查询类型：")));
    row->addWidget(ComboBox1);
    row->addWidget(new QLabel(QStringLiteral("查询内容：")));
    row->addWidget(Edit1, 1);
    row->addWidget(CheckBox2);
    row->addWidget(bbFind);
    row->addWidget(sbGJfind);
    row->addStretch();

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] {
        // clearing the box refreshes; an already empty box refreshes here
        if (Edit1->text().isEmpty())
            refreshFromFilters();
        else
            Edit1->clear();
    });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { refreshFromFilters(); });
    connect(bbFind, &QPushButton::clicked, this, [this] { refreshFromFilters(); });
    connect(CheckBox2, &QCheckBox::clicked, this, [this] { refreshFromFilters(); });
    connect(sbGJfind, &QToolButton::clicked, this, &TfrmHRMman::advancedQuery);
    connect(SpeedButton2, &QToolButton::clicked, this,
            [this] { setSideAreaVisible(!sideArea()->isVisible()); });
}

void TfrmHRMman::buildSidePanel() {
    auto *col = new QVBoxLayout(sideArea());
    col->setContentsMargins(2, 2, 2, 2);
    const ValueListPanel panel = createValueListPanel(col, hrm::valueAttributes(), 40);
    vleList = panel.vleList;
    cbbListType = panel.cbbListType;
    Button1 = panel.Button1;
    sideArea()->setMinimumWidth(150);
    splitter()->setSizes({170, 830});

    connect(vleList, &QTableWidget::currentCellChanged, this, [this] {
        if (!m_filling)
            refreshFromFilters();
    });
    connect(cbbListType, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            refillValueList();
    });
    connect(Button1, &QPushButton::clicked, this, &TfrmHRMman::refillValueList);
}

void TfrmHRMman::buildBottomPanel() {
    auto *bottom = new QWidget;
    auto *row = new QHBoxLayout(bottom);
    row->setContentsMargins(0, 0, 0, 0);
    ListView1 = new QListWidget;
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setMaximumWidth(110);
    auto *right = new QVBoxLayout;
    tbDetail = new QToolBar;
    tbDetail->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tbDetail->setIconSize(QSize(16, 16));
    tbdNew = tbDetail->addAction(QIcon::fromTheme(QStringLiteral("list-add")), QStringLiteral("新增"));
    tbdEdit = tbDetail->addAction(QIcon::fromTheme(QStringLiteral("document-edit")), QStringLiteral("修改"));
    tbdDel = tbDetail->addAction(QIcon::fromTheme(QStringLiteral("edit-delete")), QStringLiteral("删除"));
    tbdPX = tbDetail->addAction(QIcon::fromTheme(QStringLiteral("view-sort")), QStringLiteral("排序"));
    tbdExport =
        tbDetail->addAction(QIcon::fromTheme(QStringLiteral("document-export")), QStringLiteral("导出"));
    rpcList = new QTabWidget;
    rpcList->setObjectName(QStringLiteral("rpcList"));
    rpcList->setTabPosition(QTabWidget::South);

    const QList<hrm::DetailTab> &tabs = hrm::detailTabs();
    for (int t = 0; t < tabs.size(); ++t) {
        auto *g = new DBGridEh;
        g->setObjectName(QStringLiteral("dbgDetail%1").arg(t + 1));
        g->setRowSelect(true);
        g->setColumns(detailColumns(t));
        g->setLayoutKey(tabs.at(t).layoutKey);
        connect(g, &QAbstractItemView::doubleClicked, this, &TfrmHRMman::detailEdit);
        rpcList->addTab(g, tabs.at(t).caption);
        ListView1->addItem(tabs.at(t).caption);
        m_details << g;
        m_detailStale << true;
    }
    right->addWidget(tbDetail);
    right->addWidget(rpcList, 1);
    row->addWidget(ListView1);
    row->addLayout(right, 1);

    connect(ListView1, &QListWidget::currentRowChanged, this,
            [this](int r) { rpcList->setCurrentIndex(qMax(r, 0)); });
    connect(rpcList, &QTabWidget::currentChanged, this, [this](int t) {
        if (t >= 0 && t < m_detailStale.size() && m_detailStale.at(t))
            reloadDetail(t);
    });
    connect(tbdNew, &QAction::triggered, this, &TfrmHRMman::detailNew);
    connect(tbdEdit, &QAction::triggered, this, &TfrmHRMman::detailEdit);
    connect(tbdDel, &QAction::triggered, this, &TfrmHRMman::detailDelete);
    connect(tbdPX, &QAction::triggered, this, &TfrmHRMman::detailSort);
    connect(tbdExport, &QAction::triggered, this, &TfrmHRMman::detailExport);

    // the list and the tabs one above the other, behind a splitter
    auto *vertical = new QSplitter(Qt::Vertical, this);
    layout()->replaceWidget(splitter(), vertical);
    vertical->addWidget(splitter());
    vertical->addWidget(bottom);
    vertical->setStretchFactor(0, 3);
    vertical->setStretchFactor(1, 1);
    vertical->setChildrenCollapsible(false);
    if (auto *box = qobject_cast<QBoxLayout *>(layout()))
        box->setStretchFactor(vertical, 1);
}

void TfrmHRMman::applyDisplayRules() {
    const QString money = session().FmtTotal;
    grid()->setFieldFormat(QStringLiteral("F_gongZI"), money);
    for (const GridColumn &c : grid()->columns())
        if (c.field.toLower().contains(QLatin1String("price")))
            grid()->setFieldFormat(c.field, money);
    grid()->setEmptyDateFields({QStringLiteral("F_birthDay"), QStringLiteral("F_biyeDate"),
                                QStringLiteral("F_LZdate"), QStringLiteral("F_QDdate"),
                                QStringLiteral("F_endDate"), QStringLiteral("F_bxBeginDate"),
                                QStringLiteral("F_bxEndDate")});
    m_details.at(4)->setFieldFormat(QStringLiteral("F_YFamount"), money);
    m_details.at(5)->setFieldFormat(QStringLiteral("F_beginPrice"), money);
    m_details.at(5)->setFieldFormat(QStringLiteral("F_endPrice"), money);
    for (int t : {0, 1})
        m_details.at(t)->setEmptyDateFields({QStringLiteral("F_fromDate"), QStringLiteral("F_toDate")});
    m_details.at(6)->setEmptyDateFields({QStringLiteral("F_CXdate")});
}

// --- the list ----------------------------------------------------------------------------------

hrm::ListFilter TfrmHRMman::filter() const {
    hrm::ListFilter f;
    f.searchKind = ComboBox1->currentIndex();
    f.searchText = Edit1->text().trimmed();
    f.includeLeft = CheckBox2->isChecked();
    f.valueAttribute = cbbListType->currentIndex();
    const int row = vleList->currentRow();
    if (row > 0 && vleList->item(row, 1)) {
        f.hasValue = true;
        f.value = vleList->item(row, 1)->text();
    }
    return f;
}

QString TfrmHRMman::currentSummary() const {
    QVariantMap e;
    const int row = grid()->currentRow();
    if (row < 0)
        return QString();
    for (const QString &f : grid()->gridModel()->fieldNames())
        e.insert(f, grid()->value(row, f));
    return hrm::employeeSummary(e);
}

SqlPart TfrmHRMman::buildQuery() const {
    if (m_advanced)
        return hrm::advancedQuery(m_advancedCondition);
    return hrm::listQuery(filter());
}

void TfrmHRMman::refreshFromFilters() {
    // any refresh by the filters goes back to the normal list; the button stays as it is
    m_advanced = false;
    setCountCaption(QStringLiteral("记录数："));
    refreshList();
}

void TfrmHRMman::openList() {
    for (int t = 0; t < m_details.size(); ++t)
        m_details.at(t)->loadLayout(hrm::detailTabs().at(t).layoutKey);
    grid()->loadLayout(QStringLiteral("hrmman"));
    applyDisplayRules();
    rpcList->setCurrentIndex(0);
    ListView1->setCurrentRow(0);
    m_filling = true;
    cbbListType->setCurrentIndex(0);
    m_filling = false;
    refillValueList();
}

void TfrmHRMman::refillValueList() {
    m_filling = true;
    vleList->clearContents();
    vleList->setRowCount(0);
    const SqlPart q = hrm::distinctValues(cbbListType->currentIndex());
    QStringList values;
    QSqlQuery query(Database::db());
    if (!q.isEmpty() && TdmData::OpenSql(q.sql, query, q.binds))
        while (query.next())
            values << query.value(0).toString();
    vleList->setRowCount(1);
    vleList->setItem(0, 0, new QTableWidgetItem(QStringLiteral("0")));
    vleList->setItem(0, 1, new QTableWidgetItem(QStringLiteral("全部")));
    vleList->setCurrentCell(0, 1);
    refreshFromFilters();
    vleList->setHorizontalHeaderLabels({QString(), cbbListType->currentText()});
    vleList->setRowCount(values.size() + 1);
    for (int i = 0; i < values.size(); ++i) {
        vleList->setItem(i + 1, 0, new QTableWidgetItem(QString::number(i + 1)));
        vleList->setItem(i + 1, 1, new QTableWidgetItem(values.at(i)));
    }
    m_filling = false;
}

void TfrmHRMman::advancedQuery(bool down) {
    if (!down) {
        sbGJfind->setStyleSheet(QString());
        refreshFromFilters();
        return;
    }
    SqlPart condition;
    if (!RunEmpQuery(this, &condition)) {
        sbGJfind->setChecked(false);
        sbGJfind->setStyleSheet(QString());
        return;
    }
    sbGJfind->setChecked(true);
    sbGJfind->setStyleSheet(QStringLiteral("color: red"));
    m_advanced = true;
    m_advancedCondition = condition;
    setCountCaption(QStringLiteral("员工总数："));
    refreshList();
}

// --- tabs --------------------------------------------------------------------------------------

void TfrmHRMman::currentEmployeeChanged() {
    const qint64 id = currentId();
    if (id == m_detailEmployee)
        return;
    m_detailEmployee = id;
    for (int t = 0; t < m_detailStale.size(); ++t)
        m_detailStale[t] = true;
    reloadDetail(rpcList->currentIndex());
}

void TfrmHRMman::reloadDetail(int tab) {
    if (tab < 0 || tab >= m_details.size())
        return;
    const SqlPart q = hrm::detailQuery(tab, currentId());
    m_details.at(tab)->setQuery(q.sql, q.binds);
    m_detailStale[tab] = false;
}

int TfrmHRMman::visibleTab() const {
    return rpcList->isVisibleTo(this) ? rpcList->currentIndex() : -1;
}

void TfrmHRMman::detailNew() {
    const int tab = visibleTab();
    if (tab < 0) {
        ShowMess(QStringLiteral("请点击一下需要相关的表格。"), 0);
        return;
    }
    const hrm::DetailTab &d = hrm::detailTabs().at(tab);
    if (grid()->rowCount() == 0 || currentId() < 0) {
        ShowMess(QStringLiteral("请先选择要增加“%1”的员工！").arg(d.recordName), 0);
        grid()->setFocus();
        return;
    }
    if (!g_tabEditor) {
        ShowMess(QStringLiteral("“%1”的编辑窗口尚在建设中，将在后续版本提供。").arg(d.caption), 0);
        return;
    }
    if (g_tabEditor(this, tab, true, currentId(), -1))
        reloadDetail(tab);
}

void TfrmHRMman::detailEdit() {
    const int tab = visibleTab();
    if (tab < 0) {
        ShowMess(QStringLiteral("请点击一下需要相关的表格。"), 0);
        return;
    }
    const hrm::DetailTab &d = hrm::detailTabs().at(tab);
    DBGridEh *g = m_details.at(tab);
    if (g->rowCount() == 0 || g->currentRow() < 0) {
        ShowMess(d.editEmpty, 3);
        return;
    }
    if (!g_tabEditor) {
        ShowMess(QStringLiteral("“%1”的编辑窗口尚在建设中，将在后续版本提供。").arg(d.caption), 0);
        return;
    }
    const qint64 rowId = g->currentValue(QStringLiteral("F_ID")).toLongLong();
    if (g_tabEditor(this, tab, false, currentId(), rowId)) {
        reloadDetail(tab);
        for (int r = 0; r < g->rowCount(); ++r)
            if (g->value(r, QStringLiteral("F_ID")).toLongLong() == rowId)
                g->setCurrentRow(r);
    }
}

void TfrmHRMman::detailDelete() {
    const int tab = visibleTab();
    if (tab < 0) {
        ShowMess(QStringLiteral("请点击一下相关的表格。"), 0);
        return;
    }
    DBGridEh *g = m_details.at(tab);
    if (g->rowCount() == 0 || g->currentRow() < 0)
        return;
    const hrm::DetailTab &d = hrm::detailTabs().at(tab);
    if (prompter().message(d.deleteAsk, 1, QStringLiteral("系统提示")) != 1)
        return;
    if (TdmData::DeleteById(d.table, g->currentValue(QStringLiteral("F_ID")).toLongLong()))
        reloadDetail(tab);
}

void TfrmHRMman::detailSort() {
    const int tab = visibleTab();
    if (tab < 0)
        return;
    DBGridEh *g = m_details.at(tab);
    const QString text = TfrmRowArrangeGl::ChooseSortOrder(g);
    if (!text.isEmpty())
        g->setSortText(text);
}

void TfrmHRMman::detailExport() {
    const int tab = visibleTab();
    if (tab < 0)
        return;
    ExportGrid(m_details.at(tab), hrm::detailTabs().at(tab).exportName, 1, this);
}

// --- commands ----------------------------------------------------------------------------------

qint64 TfrmHRMman::runEditor(bool add) {
    const QList<qint64> ids = add ? QList<qint64>() : rowIds();
    const qint64 saved = RunEmpEdit(this, add, ids, add ? -1 : grid()->currentRow());
    if (saved > 0)
        refreshList(saved);
    return saved;
}

void TfrmHRMman::addRecord() {
    runEditor(true);
}

void TfrmHRMman::editRecord() {
    runEditor(false);
}

QString TfrmHRMman::deleteQuestion() const {
    return QStringLiteral("删除当前员工，将删除当前员工所有相关资料，\n真的要删除当前员工") +
           grid()->currentValue(QStringLiteral("F_name")).toString() + QStringLiteral("吗？");
}

bool TfrmHRMman::deleteRecord() {
    return hrm::deleteEmployee(currentId());
}

void TfrmHRMman::changeDeptOfSelected() {
    if (prompter().message(QStringLiteral("真的要改变当前所选人员的部门吗？"), 1,
                           QStringLiteral("系统提示")) != 1)
        return;
    const QString dept = TDLGenterCaption::Execute(this, QStringLiteral("部门结构名称"), QString(), true);
    if (dept.trimmed().isEmpty())
        return;
    if (dept.size() > 50) {
        ShowMess(QStringLiteral("部门名称不能超过50个字符！"), 2);
        return;
    }
    if (grid()->rowCount() == 0 || grid()->selectionModel()->selectedRows().isEmpty()) {
        ShowMess(QStringLiteral("请选择需要更改所选人员的部门资料！"), 0);
        return;
    }
    setDeptOfSelected(dept);
}

int TfrmHRMman::setDeptOfSelected(const QString &dept) {
    int changed = 0;
    for (int row : grid()->selectedRows()) {
        if (!grid()->setValue(row, QStringLiteral("F_dept"), dept))
            continue;
        if (grid()->post())
            ++changed;
    }
    return changed;
}

ReportData TfrmHRMman::reportData() {
    ReportData data(ReportDataSet::fromModel(*grid()->gridModel()));
    ReportDataSet main = ReportDataSet::fromModel(*grid()->gridModel(), QStringLiteral("frxMain"));
    data.add(main);
    const qint64 id = currentId();
    for (int t = 0; t < hrm::detailTabs().size(); ++t) {
        const SqlPart q = hrm::detailQuery(t, id);
        QSqlQuery query(Database::db());
        const QString name = QStringLiteral("frxDetail%1").arg(t + 1);
        if (TdmData::OpenSql(q.sql, query, q.binds))
            data.add(ReportDataSet::fromQuery(query, name));
        else
            data.add(ReportDataSet(name, {}));
    }
    return data;
}

void TfrmHRMman::printReport(int n) {
    if (grid()->rowCount() == 0)
        return;
    PrintReport(reportTemplateName(n), reportData(), {}, this);
}

void TfrmHRMman::designReport(int n) {
    DesignReport(reportTemplateName(n), reportData(), {}, this);
}

void TfrmHRMman::printList() {
    printReport(1);
}

void TfrmHRMman::designReport() {
    designReport(1);
}

bool TfrmHRMman::enterKey(QWidget *focus) {
    if (focus == Edit1) {
        refreshFromFilters();
        return true;
    }
    return false;
}
