#include "udlgempxz.h"

#include "valuelistpanel.h"

#include "empxzquery.h"
#include "hrmquery.h"
#include "ufrmempedit.h"

#include "core/datadm.h"
#include "core/dbgrid.h"
#include "core/keltrin.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace personnel;

TDLGempXZ::TDLGempXZ(QWidget *parent) : QDialog(parent) {
    setModal(true);
    setWindowTitle(QStringLiteral("员工选择"));

    // top panel: searches
    edtCode = new QLineEdit;
    edtCode->setObjectName(QStringLiteral("edtCode"));
    edtName = new QLineEdit;
    edtName->setObjectName(QStringLiteral("edtName"));
    cbbduty = new QComboBox;
    cbbduty->setObjectName(QStringLiteral("cbbduty"));
    cbbduty->setEditable(true);
    cbbduty->installEventFilter(this);
    BitBtn3 = new QPushButton(QStringLiteral("查询"));
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setAutoDefault(false);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("员工编号：")));
    top->addWidget(edtCode);
    top->addWidget(new QLabel(QStringLiteral("员工名称：")));
    top->addWidget(edtName);
    top->addWidget(new QLabel(QStringLiteral("职    务：")));
    top->addWidget(cbbduty);
    top->addWidget(BitBtn3);
    top->addStretch();

    // left panel: the value list
    auto *left = new QVBoxLayout;
    const ValueListPanel panel = createValueListPanel(left, empListItems(), 36);
    vleList = panel.vleList;
    cbbListType = panel.cbbListType;
    Button1 = panel.Button1;
    auto *leftPanel = new QWidget;
    leftPanel->setLayout(left);
    leftPanel->setFixedWidth(170);

    // the list
    DBGridEh1 = new DBGridEh;
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setRowSelect(true);
    const QList<QPair<const char *, const char *>> cols{
        {"F_code", "员工编号"}, {"F_name", "员工名称"},    {"F_dept", "部门"},
        {"F_sex", "性别"},      {"F_duty", "职务"},        {"F_jiguan", "籍贯"},
        {"F_xueli", "学历"},    {"F_xueliLB", "学历类别"}, {"F_jishuZC", "技术职称"},
        {"F_xuexiao", "学校"},  {"F_address", "家庭住址"}, {"F_laiyuan", "客户来源"}};
    for (const auto &c : cols)
        DBGridEh1->addColumn(GridColumn(QString::fromLatin1(c.first), QString::fromUtf8(c.second), 85));

    auto *middle = new QHBoxLayout;
    middle->addWidget(leftPanel);
    middle->addWidget(DBGridEh1, 1);

    // bottom panel
    BitBtn1 = new QPushButton(QStringLiteral("确定"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("取消"));
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    BitBtn4 = new QPushButton(QStringLiteral("新增员工"));
    BitBtn4->setObjectName(QStringLiteral("BitBtn4"));
    BitBtn4->setAutoDefault(false);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(BitBtn4);
    bottom->addStretch();
    bottom->addWidget(BitBtn1);
    bottom->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    connect(edtCode, &QLineEdit::textChanged, this, [this] { refreshList(); });
    connect(edtName, &QLineEdit::textChanged, this, [this] { refreshList(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { refreshList(); });
    connect(vleList, &QTableWidget::cellClicked, this, [this] {
        if (!m_filling)
            refreshList();
    });
    connect(cbbListType, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { refillValueList(); });
    connect(Button1, &QPushButton::clicked, this, [this] { refillValueList(); });
    connect(DBGridEh1, &QAbstractItemView::doubleClicked, this, [this] { gridDoubleClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { okClick(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn4, &QPushButton::clicked, this, [this] { quickAddEmployee(); });

    resize(710, 523);
    DispFormPos(this, 1);
    // the value list of the first attribute, which also loads the employee list
    cbbListType->setCurrentIndex(0);
    refillValueList();
    edtCode->setFocus();
}

QString TDLGempXZ::SelectEmployee(const QString &initialCode) {
    edtCode->setText(initialCode);
    edtCode->selectAll();
    if (exec() == QDialog::Accepted && DBGridEh1->rowCount() > 0)
        return currentCode();
    return initialCode;
}

int TDLGempXZ::AddToWageMonth(const QString &monthKey) {
    setWageMonth(monthKey);
    exec();
    return m_added;
}

void TDLGempXZ::setWageMonth(const QString &monthKey) {
    m_monthKey = monthKey;
    DBGridEh1->setMultiSelect(!monthKey.isEmpty());
    refreshList();
}

bool TDLGempXZ::refreshList() {
    EmpXzFilter f;
    f.code = edtCode->text();
    f.name = edtName->text();
    f.duty = cbbduty->currentText();
    f.listAttr = cbbListType->currentIndex();
    const int row = vleList->currentRow();
    f.listAll = row <= 0;
    if (!f.listAll && vleList->item(row, 1))
        f.listValue = vleList->item(row, 1)->text();
    f.monthKey = m_monthKey;
    const SqlPart q = empXzQuery(f);
    return DBGridEh1->setQuery(q.sql, q.binds);
}

void TDLGempXZ::refillValueList() {
    m_filling = true;
    vleList->setRowCount(0);
    const int attr = cbbListType->currentIndex();
    vleList->setHorizontalHeaderLabels({QString(), cbbListType->currentText()});
    vleList->insertRow(0);
    vleList->setItem(0, 0, new QTableWidgetItem(QStringLiteral("0")));
    vleList->setItem(0, 1, new QTableWidgetItem(QStringLiteral("全部")));
    vleList->setCurrentCell(0, 1);
    refreshList();
    const SqlPart values = hrm::distinctValues(attr);
    QSqlQuery q;
    if (!values.isEmpty() && TdmData::OpenSql(values.sql, q, values.binds)) {
        while (q.next()) {
            const int r = vleList->rowCount();
            vleList->insertRow(r);
            vleList->setItem(r, 0, new QTableWidgetItem(QString::number(r)));
            vleList->setItem(r, 1, new QTableWidgetItem(q.value(0).toString()));
        }
    }
    m_filling = false;
}

QString TDLGempXZ::currentCode() const {
    if (DBGridEh1->rowCount() == 0)
        return QString();
    return DBGridEh1->currentValue(QStringLiteral("F_code")).toString();
}

bool TDLGempXZ::locateEmployee(qint64 id) {
    DBGridEh1->fetchAll();
    for (int r = 0; r < DBGridEh1->rowCount(); ++r) {
        if (DBGridEh1->value(r, QStringLiteral("F_ID")).toLongLong() == id) {
            DBGridEh1->setCurrentRow(r);
            return true;
        }
    }
    return false;
}

QList<qint64> TDLGempXZ::pickedIds() const {
    QList<qint64> ids;
    if (DBGridEh1->rowCount() == 0)
        return ids;
    for (const int r : DBGridEh1->selectedRows())
        ids << DBGridEh1->value(r, QStringLiteral("F_ID")).toLongLong();
    return ids;
}

bool TDLGempXZ::addSelectedToMonth() {
    const QList<qint64> ids = pickedIds();
    if (ids.isEmpty())
        return false;
    const int n = appendWageRows(m_monthKey, ids);
    if (n <= 0)
        return false;
    m_added += n;
    refreshList();
    return true;
}

bool TDLGempXZ::addCurrentToMonth() {
    if (DBGridEh1->rowCount() == 0 || DBGridEh1->currentRow() < 0)
        return false;
    const int n = appendWageRows(m_monthKey, {DBGridEh1->currentValue(QStringLiteral("F_ID")).toLongLong()});
    if (n <= 0)
        return false;
    m_added += n;
    refreshList();
    return true;
}

void TDLGempXZ::okClick() {
    if (m_monthKey.isEmpty()) {
        accept();
        return;
    }
    // an empty list closes without adding; a refused pick keeps the dialog open with its message
    if (DBGridEh1->rowCount() == 0 || addSelectedToMonth())
        accept();
}

void TDLGempXZ::gridDoubleClick() {
    if (m_monthKey.isEmpty())
        accept();
    else
        addCurrentToMonth();
}

void TDLGempXZ::quickAddEmployee() {
    const qint64 id = RunEmpQuickAdd(this);
    if (id <= 0)
        return;
    refreshList();
    locateEmployee(id);
}

bool TDLGempXZ::eventFilter(QObject *watched, QEvent *event) {
    if (watched == cbbduty && event->type() == QEvent::FocusIn) {
        // the duty list is read each time the box is entered; what was typed stays
        const QString text = cbbduty->currentText();
        TdmData::FillCombo(
            QStringLiteral("select distinct F_name from t_code where (F_name <> '') and F_type = ?"), cbbduty,
            {QStringLiteral("duty")});
        cbbduty->setEditText(text);
    }
    return QDialog::eventFilter(watched, event);
}

QString SelectEmployee(QWidget *owner, const QString &initialCode) {
    TDLGempXZ dlg(owner);
    return dlg.SelectEmployee(initialCode);
}

int AddToWageMonth(QWidget *owner, const QString &monthKey) {
    TDLGempXZ dlg(owner);
    return dlg.AddToWageMonth(monthKey);
}
