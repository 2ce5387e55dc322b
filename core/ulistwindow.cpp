#include "ulistwindow.h"
#include "waitcursor.h"

#include "datadm.h"
#include "dbgrid.h"
#include "enternavigation.h"
#include "gridexport.h"
#include "keltrin.h"
#include "prompter.h"
#include "ueditdialog.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

SqlPart &appendSql(SqlPart &to, const QString &sql, const QVariantList &binds) {
    to.sql += sql;
    to.binds += binds;
    return to;
}

SqlPart &appendSql(SqlPart &to, const SqlPart &part) {
    return appendSql(to, part.sql, part.binds);
}

namespace {

struct CommandDef {
    const char *text;
    const char *icon;
};

const CommandDef kCommands[TListWindow::CommandCount] = {
    {"新增", "list-add"},        {"修改", "document-edit"},    {"删除", "edit-delete"},
    {"首项", "go-first"},        {"前项", "go-previous"},      {"后项", "go-next"},
    {"末项", "go-last"},         {"打印", "document-print"},   {"设置", "configure"},
    {"输出", "document-export"}, {"退出", "application-exit"},
};

} // namespace

TListWindow::TListWindow(const QString &caption, QWidget *parent)
    : QDialog(parent), m_grid(new DBGridEh(this)), m_toolBar(new QToolBar(this)),
      m_filterArea(new QWidget(this)), m_sideArea(new QWidget(this)),
      m_splitter(new QSplitter(Qt::Horizontal, this)), m_statusBar(new QStatusBar(this)),
      m_countCaption(QStringLiteral("记录数：")), m_keyField(QStringLiteral("F_ID")) {
    setWindowTitle(caption);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(1016, 711);

    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    for (int c = 0; c < CommandCount; ++c) {
        if (c == First || c == Print || c == Exit)
            m_toolBar->addSeparator();
        QAction *a = m_toolBar->addAction(QIcon::fromTheme(QString::fromLatin1(kCommands[c].icon)),
                                          QString::fromUtf8(kCommands[c].text));
        const auto command = static_cast<Command>(c);
        connect(a, &QAction::triggered, this, [this, command] {
            switch (command) {
            case New:
                newRecord();
                break;
            case Edit:
                editCurrent();
                break;
            case Delete:
                deleteCurrent();
                break;
            case First:
                goFirst();
                break;
            case Prior:
                goPrior();
                break;
            case Next:
                goNext();
                break;
            case Last:
                goLast();
                break;
            case Print:
                printList();
                break;
            case Design:
                designReport();
                break;
            case Export:
                exportList();
                break;
            case Exit:
                reject();
                break;
            case CommandCount:
                break;
            }
        });
        m_actions << a;
    }

    m_sideArea->hide();
    m_splitter->addWidget(m_sideArea);
    m_splitter->addWidget(m_grid);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);

    const int widths[] = {150, 150, 100, 50};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(m_statusBar);
        panel->setMinimumWidth(widths[i]);
        if (i == 3)
            panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_statusBar->addWidget(panel, i == 3 ? 1 : 0);
        m_panels << panel;
    }
    m_statusBar->setSizeGripEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_filterArea);
    layout->addWidget(m_splitter, 1);
    layout->addWidget(m_statusBar);

    m_grid->setRowSelect(true);
    connect(m_grid, &DBGridEh::currentRowChanged, this, [this] { updateCommands(); });
    connect(m_grid->gridModel(), &QAbstractItemModel::rowsInserted, this, [this] { updateCommands(); });
    connect(m_grid->gridModel(), &QAbstractItemModel::modelReset, this, [this] { updateCommands(); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] { trigger(Edit); });

    new DialogKeyFilter(this, [this](QWidget *focus, QKeyEvent *event) { return handleKey(focus, event); });
    updateCommands();
    updateCount();
}

TListWindow::~TListWindow() = default;

QLabel *TListWindow::statusPanel(int index) const {
    return m_panels.value(index);
}

void TListWindow::setSideAreaVisible(bool on) {
    m_sideArea->setVisible(on);
}

void TListWindow::setCommandVisible(Command command, bool visible) {
    action(command)->setVisible(visible);
}

void TListWindow::setCommandText(Command command, const QString &text) {
    action(command)->setText(text);
}

QAction *TListWindow::addCommand(const QString &text, const QString &iconName, Command before) {
    auto *a = new QAction(QIcon::fromTheme(iconName), text, this);
    m_toolBar->insertAction(action(before), a);
    return a;
}

void TListWindow::setCountCaption(const QString &caption) {
    m_countCaption = caption;
    updateCount();
}

void TListWindow::setReportTemplate(const QString &name, const QStringList &variables) {
    m_reportTemplate = name;
    m_reportVariables = variables;
}

// --- the list --------------------------------------------------------------------------------

SqlPart TListWindow::deptCondition(const QString &column) {
    return deptRestriction(column);
}

void TListWindow::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_opened) {
        m_opened = true;
        // the window's filter boxes come first in Tab order, the grid last
        moveToEndOfTabOrder(this, {m_grid});
        openList();
    }
}

void TListWindow::openList() {
    if (!m_layoutKey.isEmpty())
        m_grid->loadLayout(m_layoutKey);
    refreshList();
}

bool TListWindow::refreshList(qint64 keepId) {
    const int oldRow = m_grid->currentRow();
    const SqlPart query = buildQuery();
    bool ok = false;
    {
        WaitCursor wait;
        ok = m_grid->setQuery(query.sql, query.binds);
        if (ok && m_grid->rowCount() > 0) {
            int row = keepId >= 0 ? rowOfId(keepId) : -1;
            if (row < 0 && oldRow > 0) {
                m_grid->setCurrentRow(oldRow);
                row = qMin(oldRow, m_grid->rowCount() - 1);
            }
            m_grid->setCurrentRow(qMax(row, 0));
        }
        updateCount();
    }
    updateCommands();
    emit listRefreshed();
    return ok;
}

int TListWindow::rowOfId(qint64 id) const {
    auto *model = m_grid->gridModel();
    for (int r = 0;; ++r) {
        if (r >= model->rowCount()) {
            if (!model->canFetchMore())
                return -1;
            model->fetchMore();
            if (r >= model->rowCount())
                return -1;
        }
        const QVariant v = model->value(r, m_keyField);
        if (!v.isNull() && v.toLongLong() == id)
            return r;
    }
}

bool TListWindow::selectId(qint64 id) {
    const int row = rowOfId(id);
    if (row < 0)
        return false;
    m_grid->setCurrentRow(row);
    return true;
}

QList<qint64> TListWindow::rowIds() const {
    m_grid->fetchAll();
    QList<qint64> ids;
    ids.reserve(m_grid->rowCount());
    for (int r = 0; r < m_grid->rowCount(); ++r)
        ids << m_grid->value(r, m_keyField).toLongLong();
    return ids;
}

int TListWindow::recordCount() const {
    return m_grid->isOpen() ? m_grid->totalRowCount() : 0;
}

qint64 TListWindow::currentId() const {
    const int row = m_grid->currentRow();
    if (row < 0)
        return -1;
    const QVariant v = m_grid->value(row, m_keyField);
    return v.isNull() ? -1 : v.toLongLong();
}

void TListWindow::updateCount() {
    countLabel()->setText(m_countCaption + QString::number(recordCount()));
}

void TListWindow::updateCommands() {
    const bool rows = m_grid->rowCount() > 0 && m_grid->currentRow() >= 0;
    const bool atFirst = !rows || m_grid->isFirst();
    const bool atLast = !rows || m_grid->isLast();
    action(Edit)->setEnabled(rows);
    action(Delete)->setEnabled(rows);
    action(First)->setEnabled(!atFirst);
    action(Prior)->setEnabled(!atFirst);
    action(Next)->setEnabled(!atLast);
    action(Last)->setEnabled(!atLast);
}

// --- commands --------------------------------------------------------------------------------

void TListWindow::newRecord() {
    addRecord();
}

void TListWindow::editCurrent() {
    if (m_grid->rowCount() == 0 || m_grid->currentRow() < 0) {
        ShowMess(QStringLiteral("此表为空，没有记录需要修改！"), 3);
        return;
    }
    editRecord();
}

QString TListWindow::deleteQuestion() const {
    return QStringLiteral("真的要删除当前记录吗？");
}

bool TListWindow::deleteRecord() {
    const qint64 id = currentId();
    if (recordTable().isEmpty() || id < 0)
        return false;
    return TdmData::DeleteById(recordTable(), id);
}

void TListWindow::deleteCurrent() {
    if (m_grid->rowCount() == 0 || m_grid->currentRow() < 0)
        return;
    if (prompter().message(deleteQuestion(), 1, QStringLiteral("系统提示")) != 1)
        return;
    if (deleteRecord())
        refreshList();
}

void TListWindow::goFirst() {
    m_grid->first();
    updateCommands();
}

void TListWindow::goPrior() {
    m_grid->prior();
    updateCommands();
}

void TListWindow::goNext() {
    m_grid->next();
    updateCommands();
}

void TListWindow::goLast() {
    m_grid->last();
    updateCommands();
}

QVariant TListWindow::reportValue(const QString &) const {
    return QVariant();
}

void TListWindow::printList() {
    if (m_reportTemplate.isEmpty())
        return;
    PrintReport(
        m_reportTemplate, ReportDataSet::fromModel(*m_grid->gridModel()),
        [this](const QString &name) { return reportValue(name); }, this);
}

void TListWindow::designReport() {
    if (m_reportTemplate.isEmpty())
        return;
    DesignReport(
        m_reportTemplate, ReportDataSet::fromModel(*m_grid->gridModel()),
        [this](const QString &name) { return reportValue(name); }, this, m_reportVariables);
}

void TListWindow::exportList() {
    if (m_exportFileName.isEmpty())
        return;
    ExportGrid(m_grid, m_exportFileName, 1, this);
}

bool TListWindow::enterKey(QWidget *) {
    return false;
}

int TListWindow::runEditDialog(TEditDialog *dlg, bool add) {
    if (add)
        dlg->setAddMode();
    else
        dlg->setEditMode(rowIds(), m_grid->currentRow());
    DispFormPos(dlg, 1);
    const int result = dlg->exec();
    if (dlg->savedId() >= 0)
        refreshList(dlg->savedId());
    else if (!add && dlg->currentId() >= 0)
        selectId(dlg->currentId());
    updateCommands();
    return result;
}

// --- keys ------------------------------------------------------------------------------------

bool TListWindow::trigger(Command command) {
    QAction *a = action(command);
    if (a->isVisible() && a->isEnabled())
        a->trigger();
    return true;
}

bool TListWindow::handleKey(QWidget *focus, QKeyEvent *event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier) {
        if (event->key() == Qt::Key_A)
            return trigger(New);
        if (event->key() == Qt::Key_E)
            return trigger(Edit);
        return false;
    }
    if (mods != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Delete:
        return isTextInput(focus) ? false : trigger(Delete);
    // the list keys act on the list even from a search box; a multi-line box keeps them
    case Qt::Key_Home:
        return isMultiLineEditor(focus) ? false : trigger(First);
    case Qt::Key_PageUp:
        return isMultiLineEditor(focus) ? false : trigger(Prior);
    case Qt::Key_PageDown:
        return isMultiLineEditor(focus) ? false : trigger(Next);
    case Qt::Key_End:
        return isMultiLineEditor(focus) ? false : trigger(Last);
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return enterKey(focus);
    default:
        return false;
    }
}
