#include "ufrmcodeman.h"

#include "core/dbgrid.h"
#include "core/enternavigation.h"
#include "core/gridprint.h"
#include "core/keltrin.h"

#include <QAction>
#include <QButtonGroup>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The vendor caption of the status bar's last panel.
const QString kVendorCaption = QStringLiteral("澜禾软件  ");
// Kind tabs in one row.
constexpr int kTabsPerRow = 9;

} // namespace

TFrmCodeMan::TFrmCodeMan(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("选项设置管理"));
    setModal(true);

    toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(24, 24));
    const auto addCommand = [this](const QString &text, const char *icon, void (TFrmCodeMan::*slot)()) {
        QAction *a = toolBar->addAction(QIcon::fromTheme(QString::fromLatin1(icon)), text);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    actAdd = addCommand(QStringLiteral("新增"), "list-add", &TFrmCodeMan::btnAddClick);
    actEdit = addCommand(QStringLiteral("修改"), "document-edit", &TFrmCodeMan::btnEditClick);
    actDelete = addCommand(QStringLiteral("删除"), "edit-delete", &TFrmCodeMan::btnDeleteClick);
    toolBar->addSeparator();
    actSave = addCommand(QStringLiteral("保存"), "document-save", &TFrmCodeMan::btnSaveClick);
    actCancel = addCommand(QStringLiteral("取消"), "dialog-cancel", &TFrmCodeMan::btnCancelClick);
    toolBar->addSeparator();
    actPrint = addCommand(QStringLiteral("打印"), "document-print", &TFrmCodeMan::btnPrintClick);
    actRefresh = addCommand(QStringLiteral("刷新"), "view-refresh", &TFrmCodeMan::btnRefreshClick);
    toolBar->addSeparator();
    actExit =
        toolBar->addAction(QIcon::fromTheme(QStringLiteral("application-exit")), QStringLiteral("退出"));
    connect(actExit, &QAction::triggered, this, &QDialog::reject);

    // the kind tabs: buttons in rows, one checked at a time
    auto *tabs = new QWidget(this);
    auto *tabGrid = new QGridLayout(tabs);
    tabGrid->setContentsMargins(4, 4, 4, 4);
    tabGrid->setSpacing(2);
    m_tabs = new QButtonGroup(this);
    m_tabs->setExclusive(true);
    const QList<CodeKind> &kinds = codeKinds();
    for (int i = 0; i < kinds.size(); ++i) {
        auto *b = new QToolButton(tabs);
        b->setObjectName(kinds.at(i).tabName);
        b->setText(kinds.at(i).caption);
        b->setCheckable(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        tabGrid->addWidget(b, i / kTabsPerRow, i % kTabsPerRow);
        m_tabs->addButton(b, i);
        kindTabs << b;
    }
    connect(m_tabs, &QButtonGroup::idClicked, this, &TFrmCodeMan::selectKind);

    DBGridEh1 = new DBGridEh(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->addColumn(GridColumn(QStringLiteral("F_Name"), QStringLiteral("名称"), 320));
    DBGridEh1->setEditable(false);
    DBGridEh1->setWriteBack([this](const GridRowChange &change) {
        // a typed name becomes a pending change of the list (only while editing)
        if (!m_editing || !change.newValues.contains(QStringLiteral("F_Name")))
            return true;
        const qint64 id = DBGridEh1->value(change.row, QStringLiteral("F_ID")).toLongLong();
        return m_list.setName(id, change.newValues.value(QStringLiteral("F_Name")).toString());
    });
    DBGridEh1->installEventFilter(this);

    statusBar = new QStatusBar(this);
    const int widths[] = {150, 150, 100, 50};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(statusBar);
        panel->setMinimumWidth(widths[i]);
        if (i == 3)
            panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        statusBar->addWidget(panel, i == 3 ? 1 : 0);
        statusPanels << panel;
    }
    statusBar->setSizeGripEnabled(false);
    statusPanels.at(3)->setText(kVendorCaption);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(toolBar);
    layout->addWidget(tabs);
    layout->addWidget(DBGridEh1, 1);
    layout->addWidget(statusBar);

    new DialogKeyFilter(this, [this](QWidget *focus, QKeyEvent *event) { return handleKey(focus, event); });

    setEditing(false);
    selectKind(0);
    resize(800, 560);
    CentreOnOwner(this);
}

QString TFrmCodeMan::kind() const {
    return m_list.kind();
}

void TFrmCodeMan::selectKind(int index) {
    const QList<CodeKind> &kinds = codeKinds();
    if (m_editing || index < 0 || index >= kinds.size())
        return;
    m_kindIndex = index;
    kindTabs.at(index)->setChecked(true);
    GridColumn title = DBGridEh1->column(0);
    title.caption = kinds.at(index).caption;
    DBGridEh1->setColumn(0, title);
    m_list.load(kinds.at(index).key);
    showRows(-1);
}

// --- rows ------------------------------------------------------------------------------------

void TFrmCodeMan::showRows(qint64 currentId, int row) {
    QList<QVariantList> rows;
    for (const CodeEntry &e : m_list.rows())
        rows.append({e.id, m_list.kind(), e.name});
    DBGridEh1->setRows({QStringLiteral("F_ID"), QStringLiteral("F_type"), QStringLiteral("F_Name")}, rows);
    if (rows.isEmpty())
        return;
    const int at = rowOfId(currentId);
    DBGridEh1->setCurrentRow(at >= 0 ? at : qBound(0, row, int(rows.size()) - 1));
}

qint64 TFrmCodeMan::currentId() const {
    const int row = DBGridEh1->currentRow();
    return row < 0 ? 0 : DBGridEh1->value(row, QStringLiteral("F_ID")).toLongLong();
}

int TFrmCodeMan::rowOfId(qint64 id) const {
    if (id == 0)
        return -1;
    for (int r = 0; r < DBGridEh1->rowCount(); ++r)
        if (DBGridEh1->value(r, QStringLiteral("F_ID")).toLongLong() == id)
            return r;
    return -1;
}

void TFrmCodeMan::editCell(int row) {
    if (row < 0)
        return;
    const QModelIndex cell = DBGridEh1->gridModel()->index(row, 0);
    DBGridEh1->setFocus();
    DBGridEh1->setCurrentIndex(cell);
    DBGridEh1->edit(cell);
}

void TFrmCodeMan::setEditing(bool on) {
    m_editing = on;
    DBGridEh1->setEditable(on);
    for (QAction *a : {actAdd, actEdit, actDelete, actExit, actRefresh, actPrint})
        a->setEnabled(!on);
    actSave->setEnabled(on);
    actCancel->setEnabled(on);
    for (QToolButton *b : std::as_const(kindTabs))
        b->setEnabled(!on);
}

// --- commands --------------------------------------------------------------------------------

void TFrmCodeMan::btnAddClick() {
    if (m_editing)
        return;
    setEditing(true);
    appendRow();
}

void TFrmCodeMan::appendRow() {
    if (!m_editing)
        return;
    DBGridEh1->post();
    const QList<CodeEntry> rows = m_list.rows();
    qint64 id = 0;
    if (!rows.isEmpty() && rows.last().id < 0 && rows.last().name.isEmpty())
        id = rows.last().id; // the empty new row is still there
    else
        id = m_list.append();
    showRows(id);
    editCell(rowOfId(id));
}

void TFrmCodeMan::btnEditClick() {
    if (m_editing)
        return;
    if (m_list.isEmpty()) {
        ShowMess(QStringLiteral("此表为空，没有记录需要修改！"), 3);
        return;
    }
    setEditing(true);
    editCell(qMax(0, DBGridEh1->currentRow()));
}

void TFrmCodeMan::btnDeleteClick() {
    if (m_editing)
        return;
    if (m_list.isEmpty()) {
        ShowMess(QStringLiteral("此表是空表，不需要删除！"), 0);
        return;
    }
    const int row = qMax(0, DBGridEh1->currentRow());
    const qint64 id = currentId();
    const QString question = QStringLiteral("真的要删除 \"") + codeKinds().at(m_kindIndex).caption +
                             QStringLiteral("\"") + m_list.row(id).name + QStringLiteral("吗？");
    if (ShowMess(question, 1) != 1)
        return;
    if (m_list.remove(id))
        showRows(-1, row);
}

void TFrmCodeMan::btnSaveClick() {
    if (!m_editing)
        return;
    DBGridEh1->post(); // what is typed in the open cell
    const int row = DBGridEh1->currentRow();
    qint64 badId = 0;
    if (!m_list.save(&badId)) {
        if (badId != 0)
            editCell(rowOfId(badId));
        return;
    }
    setEditing(false);
    showRows(-1, row);
    DBGridEh1->setFocus();
}

void TFrmCodeMan::btnCancelClick() {
    if (!m_editing)
        return;
    const int row = DBGridEh1->currentRow();
    m_editing = false; // what the grid still holds is not handed to the list any more
    DBGridEh1->gridModel()->cancel();
    m_list.discard();
    setEditing(false);
    showRows(-1, row);
    DBGridEh1->setFocus();
}

void TFrmCodeMan::btnPrintClick() {
    PrintGrid(DBGridEh1, DBGridEh1->column(0).caption + QStringLiteral("设置"), 1, QStringLiteral("date"),
              QString(), this);
}

void TFrmCodeMan::btnRefreshClick() {
    if (m_editing)
        return;
    const int row = DBGridEh1->currentRow();
    const qint64 id = currentId();
    m_list.reload();
    showRows(id, row);
}

// --- keys ------------------------------------------------------------------------------------

bool TFrmCodeMan::trigger(QAction *action) {
    if (action->isEnabled())
        action->trigger();
    return true;
}

bool TFrmCodeMan::handleKey(QWidget *focus, QKeyEvent *event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_A:
            return trigger(actAdd);
        case Qt::Key_E:
            return trigger(actEdit);
        case Qt::Key_S:
            return trigger(actSave);
        default:
            return false;
        }
    }
    if (mods != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Escape:
        return trigger(actCancel->isEnabled() ? actCancel : actExit);
    case Qt::Key_Delete:
        return isTextInput(focus) ? false : trigger(actDelete);
    default:
        return false;
    }
}

void TFrmCodeMan::keyPressEvent(QKeyEvent *event) {
    // keys a cell editor left unused (Ctrl+S while typing a name) arrive here
    if (handleKey(focusWidget(), event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFrmCodeMan::eventFilter(QObject *watched, QEvent *event) {
    // Down on the last row while editing (also from the open cell) starts a new row
    if (watched == DBGridEh1 && event->type() == QEvent::KeyPress && m_editing) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            DBGridEh1->currentRow() == DBGridEh1->rowCount() - 1) {
            appendRow();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
