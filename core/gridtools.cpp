#include "gridtools.h"

#include "dbgrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kAsc = QStringLiteral("升序");
const QString kDesc = QStringLiteral("降序");

// The direction column of the sort dialog is chosen from a drop-down; the titles stay fixed.
class DirectionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &index) const override {
        if (index.column() != 1)
            return nullptr;
        auto *combo = new QComboBox(parent);
        combo->addItems({QString(), kAsc, kDesc});
        return combo;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override {
        auto *combo = static_cast<QComboBox *>(editor);
        combo->setCurrentIndex(qMax(0, combo->findText(index.data().toString())));
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override {
        model->setData(index, static_cast<QComboBox *>(editor)->currentText());
    }
};

} // namespace

// --- field list ------------------------------------------------------------------------------

TFrmDispFieldXZ::TFrmDispFieldXZ(DBGridEh *grid, QWidget *parent)
    : QDialog(parent ? parent : (grid ? grid->window() : nullptr)), m_grid(grid),
      m_list(new QListWidget(this)), m_ok(new QPushButton(QStringLiteral("确定"), this)),
      m_cancel(new QPushButton(QStringLiteral("取消"), this)) {
    setWindowTitle(QStringLiteral("字段列表"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(314, 418);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    m_ok->setDefault(true);
    if (grid)
        for (const GridColumn &c : grid->columns()) {
            auto *item = new QListWidgetItem(c.caption, m_list);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(c.visible ? Qt::Checked : Qt::Unchecked);
        }
    connect(m_ok, &QPushButton::clicked, this, [this] {
        applyToGrid();
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmDispFieldXZ::applyToGrid() {
    if (!m_grid)
        return;
    for (int i = 0; i < m_list->count() && i < m_grid->gridColumnCount(); ++i)
        m_grid->setColumnVisible(i, m_list->item(i)->checkState() == Qt::Checked);
}

bool TFrmDispFieldXZ::ChooseColumns(DBGridEh *grid) {
    TFrmDispFieldXZ dlg(grid);
    return dlg.exec() == QDialog::Accepted;
}

// --- sort dialog -----------------------------------------------------------------------------

QList<MyRecord> SortRecordsOf(const DBGridEh *grid) {
    QList<MyRecord> out;
    if (grid)
        for (const GridColumn &c : grid->columns())
            out.append({c.field.toLower(), c.caption, QString()});
    return out;
}

QString NextSortDirection(const QString &direction) {
    if (direction == kAsc)
        return kDesc;
    if (direction == kDesc)
        return QString();
    return kAsc;
}

QString BuildSortText(const QStringList &titles, const QStringList &directions,
                      const QList<MyRecord> &records) {
    QString text;
    for (int i = 0; i < titles.size() && i < directions.size(); ++i) {
        const QString &dir = directions.at(i);
        if (dir != kAsc && dir != kDesc)
            continue;
        for (const MyRecord &r : records)
            if (r.title == titles.at(i)) {
                text += r.fieldName + (dir == kAsc ? QStringLiteral(" ASC") : QStringLiteral(" DESC")) +
                        QLatin1Char(',');
                break;
            }
    }
    return text;
}

TfrmRowArrangeGl::TfrmRowArrangeGl(DBGridEh *grid, QWidget *parent)
    : QDialog(parent ? parent : (grid ? grid->window() : nullptr)), m_records(SortRecordsOf(grid)),
      m_list(new QTreeWidget(this)), m_up(new QPushButton(QStringLiteral("上移"), this)),
      m_down(new QPushButton(QStringLiteral("下移"), this)),
      m_ok(new QPushButton(QStringLiteral("确定"), this)),
      m_cancel(new QPushButton(QStringLiteral("取消"), this)) {
    setWindowTitle(QStringLiteral("排序对话框"));
    resize(360, 420);
    auto *hint = new QLabel(
        QStringLiteral("提示：双击空白处切换排序方式（升降无），单击上下移动键调整优先顺序"), this);
    hint->setWordWrap(true);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("字段"), QStringLiteral("排序方式")});
    m_list->setRootIsDecorated(false);
    m_list->setItemDelegate(new DirectionDelegate(m_list));
    m_list->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setDefaultDropAction(Qt::MoveAction);
    m_list->header()->resizeSection(0, 200);
    for (const MyRecord &r : std::as_const(m_records)) {
        auto *item = new QTreeWidgetItem(m_list, {r.title, QString()});
        // rows move between rows only, never into one another
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item, int) { cycleDirection(m_list->indexOfTopLevelItem(item)); });

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *body = new QHBoxLayout;
    body->addWidget(m_list, 1);
    body->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(body);
    m_ok->setDefault(true);
    connect(m_up, &QPushButton::clicked, this, &TfrmRowArrangeGl::moveUp);
    connect(m_down, &QPushButton::clicked, this, &TfrmRowArrangeGl::moveDown);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QStringList TfrmRowArrangeGl::titles() const {
    QStringList out;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        out << m_list->topLevelItem(i)->text(0);
    return out;
}

QStringList TfrmRowArrangeGl::directions() const {
    QStringList out;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        out << m_list->topLevelItem(i)->text(1);
    return out;
}

void TfrmRowArrangeGl::setDirection(int row, const QString &direction) {
    if (QTreeWidgetItem *item = m_list->topLevelItem(row))
        item->setText(1, direction);
}

void TfrmRowArrangeGl::cycleDirection(int row) {
    if (QTreeWidgetItem *item = m_list->topLevelItem(row))
        item->setText(1, NextSortDirection(item->text(1)));
}

void TfrmRowArrangeGl::swapRows(int a, int b) {
    QTreeWidgetItem *ia = m_list->topLevelItem(a);
    QTreeWidgetItem *ib = m_list->topLevelItem(b);
    if (!ia || !ib)
        return;
    for (int c = 0; c < 2; ++c) {
        const QString t = ia->text(c);
        ia->setText(c, ib->text(c));
        ib->setText(c, t);
    }
    m_list->setCurrentItem(ib);
}

void TfrmRowArrangeGl::moveUp() {
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row > 0)
        swapRows(row, row - 1);
}

void TfrmRowArrangeGl::moveDown() {
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row >= 0 && row + 1 < m_list->topLevelItemCount())
        swapRows(row, row + 1);
}

QString TfrmRowArrangeGl::sortText() const {
    return BuildSortText(titles(), directions(), m_records);
}

QString TfrmRowArrangeGl::ChooseSortOrder(DBGridEh *grid) {
    TfrmRowArrangeGl dlg(grid);
    return dlg.exec() == QDialog::Accepted ? dlg.sortText() : QString();
}

// --- batch edit ------------------------------------------------------------------------------

TDLGeditCurList::TDLGeditCurList(QWidget *parent)
    : QDialog(parent), m_edit(new QLineEdit(this)), m_ok(new QPushButton(QStringLiteral("确定"), this)),
      m_cancel(new QPushButton(QStringLiteral("取消"), this)) {
    setWindowTitle(QStringLiteral("批量修改当前列"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("请输入要填写的字段值："), this));
    layout->addWidget(m_edit);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    m_ok->setDefault(true);
    resize(320, sizeHint().height());
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TDLGeditCurList::AskColumnValue(QWidget *parent) {
    TDLGeditCurList dlg(parent);
    return dlg.exec() == QDialog::Accepted ? dlg.edit()->text() : QString();
}
