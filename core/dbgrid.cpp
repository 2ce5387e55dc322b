#include "dbgrid.h"

#include "gridlayout.h"
#include "keltrin.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>

namespace {

// Paints the current row in the grid's current-row colour, except the focused cell while the
// grid has the focus.
class DBGridDelegate : public QStyledItemDelegate {
public:
    explicit DBGridDelegate(DBGridEh *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QColor c = m_grid->currentRowColor();
        if (!c.isValid())
            return;
        const QModelIndex cur = m_grid->currentIndex();
        if (cur.isValid() && index.row() == cur.row() && !(index == cur && m_grid->hasFocus()))
            option->backgroundBrush = c;
    }

private:
    DBGridEh *m_grid;
};

Qt::Alignment horizontal(int align) {
    return align == AlignCenter ? Qt::AlignHCenter : align == AlignRight ? Qt::AlignRight : Qt::AlignLeft;
}

} // namespace

// --- title row -------------------------------------------------------------------------------

DBGridHeader::DBGridHeader(DBGridEh *grid) : QHeaderView(Qt::Horizontal, grid), m_grid(grid) {
    setSectionsClickable(true);
    setSectionsMovable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
}

int DBGridHeader::lineHeight() const {
    return fontMetrics().height() + 8;
}

QSize DBGridHeader::sizeHint() const {
    const DBGridModel *m = m_grid->gridModel();
    const int lines = m && m->hasGroupedTitles() ? 2 : 1;
    return QSize(length(), lineHeight() * lines);
}

void DBGridHeader::paintCell(QPainter *painter, const QRect &rect, int logicalIndex, const QString &text,
                             bool centered, SortMarker marker) const {
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = logicalIndex;
    opt.text.clear();
    opt.sortIndicator = QStyleOptionHeader::None;
    opt.position = QStyleOptionHeader::Middle;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);
    if (m_grid->titleColor().isValid())
        painter->fillRect(rect.adjusted(1, 1, -1, -1), m_grid->titleColor());
    painter->setPen(QColor(160, 160, 160));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->setPen(palette().color(QPalette::ButtonText));

    QRect textRect = rect.adjusted(3, 0, -3, 0);
    if (marker != SortMarker::None) {
        // a small triangle at the right end of the title
        const int s = qMax(4, fontMetrics().height() / 3);
        const int cx = rect.right() - s - 3;
        const int cy = rect.center().y();
        QPolygon tri;
        if (marker == SortMarker::Up)
            tri << QPoint(cx - s, cy + s / 2) << QPoint(cx + s, cy + s / 2) << QPoint(cx, cy - s / 2 - 1);
        else
            tri << QPoint(cx - s, cy - s / 2) << QPoint(cx + s, cy - s / 2) << QPoint(cx, cy + s / 2 + 1);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(palette().color(QPalette::ButtonText));
        painter->drawPolygon(tri);
        painter->restore();
        textRect.setRight(cx - s - 2);
    }
    const QString shown = fontMetrics().elidedText(text, Qt::ElideRight, qMax(0, textRect.width()));
    painter->drawText(textRect, (centered ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter, shown);
}

void DBGridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const {
    const DBGridModel *m = m_grid->gridModel();
    if (!m || logicalIndex < 0 || logicalIndex >= m->columnCount())
        return;
    const GridColumn &c = m->column(logicalIndex);
    painter->save();
    painter->setClipRect(rect);
    QRect nameRect = rect;
    const QString group = c.groupTitle();
    if (m->hasGroupedTitles() && !group.isEmpty()) {
        // the group title covers every adjacent visible column of the same group
        int first = logicalIndex;
        int last = logicalIndex;
        for (int v = visualIndex(logicalIndex) - 1; v >= 0; --v) {
            const int li = QHeaderView::logicalIndex(v);
            if (isSectionHidden(li))
                continue;
            if (m->column(li).groupTitle() != group)
                break;
            first = li;
        }
        for (int v = visualIndex(logicalIndex) + 1; v < count(); ++v) {
            const int li = QHeaderView::logicalIndex(v);
            if (isSectionHidden(li))
                continue;
            if (m->column(li).groupTitle() != group)
                break;
            last = li;
        }
        const int half = rect.height() / 2;
        const int x1 = sectionViewportPosition(first);
        const int x2 = sectionViewportPosition(last) + sectionSize(last);
        paintCell(painter, QRect(x1, rect.top(), x2 - x1, half), logicalIndex, group, true, SortMarker::None);
        nameRect = QRect(rect.left(), rect.top() + half, rect.width(), rect.height() - half);
    }
    paintCell(painter, nameRect, logicalIndex, c.nameTitle(), c.titleCentered,
              m_grid->sortMarker(logicalIndex));
    painter->restore();
}

// --- footer row ------------------------------------------------------------------------------

DBGridFooter::DBGridFooter(DBGridEh *grid) : QWidget(grid), m_grid(grid) {}

void DBGridFooter::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QColor back =
        m_grid->footerColor().isValid() ? m_grid->footerColor() : palette().color(QPalette::Button);
    p.fillRect(rect(), back);
    const DBGridModel *m = m_grid->gridModel();
    const QHeaderView *h = m_grid->horizontalHeader();
    const QColor line(160, 160, 160);
    for (int v = 0; v < h->count(); ++v) {
        const int li = h->logicalIndex(v);
        if (h->isSectionHidden(li) || li >= m->columnCount())
            continue;
        const QRect cell(h->sectionViewportPosition(li), 0, h->sectionSize(li), height());
        if (cell.right() < 0 || cell.left() > width())
            continue;
        p.setPen(line);
        p.drawLine(cell.topRight(), cell.bottomRight());
        const QString text = m->footerText(li);
        if (text.isEmpty())
            continue;
        p.setPen(palette().color(QPalette::ButtonText));
        const QRect tr = cell.adjusted(3, 0, -4, 0);
        p.drawText(tr, horizontal(m->effectiveAlignment(li)) | Qt::AlignVCenter,
                   fontMetrics().elidedText(text, Qt::ElideRight, qMax(0, tr.width())));
    }
    p.setPen(line);
    p.drawLine(0, 0, width(), 0);
}

// --- the grid --------------------------------------------------------------------------------

DBGridEh::DBGridEh(QWidget *parent)
    : QTableView(parent), m_model(new DBGridModel(this)), m_header(new DBGridHeader(this)),
      m_footer(new DBGridFooter(this)), m_menu(new QMenu(this)) {
    setHorizontalHeader(m_header);
    setModel(m_model);
    setItemDelegate(new DBGridDelegate(this));
    setSortingEnabled(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_header->setDefaultSectionSize(80);
    m_footer->hide();

    m_neverSort = [](const QString &field) { return field.toLower().contains(QLatin1String("mem")); };

    m_fieldListAction = m_menu->addAction(QStringLiteral("显示字段列表"));
    m_saveLayoutAction = m_menu->addAction(QStringLiteral("保存当前设置"));
    connect(m_fieldListAction, &QAction::triggered, this, [this] { SelectGridColumns(this); });
    connect(m_saveLayoutAction, &QAction::triggered, this, &DBGridEh::askSaveLayout);

    connect(m_header, &QHeaderView::sectionClicked, this, &DBGridEh::clickTitle);
    connect(m_header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (!m_syncing)
            m_model->setColumnWidth(logical, size);
        m_footer->update();
        if (m_model->hasGroupedTitles())
            m_header->viewport()->update();
    });
    connect(m_header, &QHeaderView::sectionMoved, this, [this](int, int oldVisual, int newVisual) {
        if (m_syncing)
            return;
        // The header shows the columns in grid order: the model takes the move once the
        // header has finished its drag.
        QMetaObject::invokeMethod(
            this, [this, oldVisual, newVisual] { moveGridColumn(oldVisual, newVisual); },
            Qt::QueuedConnection);
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_footer, qOverload<>(&QWidget::update));
    connect(m_model, &DBGridModel::footerChanged, m_footer, qOverload<>(&QWidget::update));
    connect(m_model, &DBGridModel::columnSettingsChanged, this, [this](int) { syncHeader(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        syncHeader();
        if (!currentIndex().isValid() && m_model->rowCount() > 0 && firstVisibleColumn() >= 0)
            setCurrentIndex(m_model->index(0, firstVisibleColumn()));
    });
    connect(m_model, &QAbstractItemModel::columnsInserted, this, [this] { syncHeader(); });
    connect(m_model, &QAbstractItemModel::columnsRemoved, this, [this] { syncHeader(); });
}

DBGridEh::~DBGridEh() = default;

void DBGridEh::syncHeader() {
    m_syncing = true;
    for (int i = 0; i < m_model->columnCount(); ++i) {
        const GridColumn &c = m_model->column(i);
        if (m_header->visualIndex(i) != i)
            m_header->moveSection(m_header->visualIndex(i), i);
        m_header->setSectionHidden(i, !c.visible);
        if (m_header->sectionSize(i) != c.width && c.visible)
            m_header->resizeSection(i, c.width);
    }
    m_syncing = false;
    m_header->viewport()->update();
    updateGeometries();
    m_footer->update();
}

int DBGridEh::footerHeight() const {
    return verticalHeader()->defaultSectionSize() + 2;
}

void DBGridEh::updateGeometries() {
    QTableView::updateGeometries();
    if (m_inGeometry)
        return;
    m_inGeometry = true;
    // QTableView lays out its margins for the headers only; the footer takes a strip under the
    // cells, above the horizontal scroll bar.
    const int fh = m_model->hasFooter() ? footerHeight() : 0;
    const QMargins m = viewportMargins();
    if (m.bottom() != fh)
        setViewportMargins(m.left(), m.top(), m.right(), fh);
    const QRect vg = viewport()->geometry();
    m_footer->setGeometry(vg.left(), vg.bottom() + 1, vg.width(), fh);
    m_footer->setVisible(fh > 0);
    m_inGeometry = false;
}

// --- data source -----------------------------------------------------------------------------

void DBGridEh::addFieldColumnsIfNone() {
    if (m_model->columnCount() > 0 || m_model->fieldNames().isEmpty())
        return;
    QList<GridColumn> columns;
    for (const QString &f : m_model->fieldNames())
        columns << GridColumn(f, f);
    setColumns(columns);
}

bool DBGridEh::setQuery(const QString &sql, const QVariantList &binds) {
    clearSortMarkers();
    const bool ok = m_model->setQuery(sql, binds);
    addFieldColumnsIfNone();
    return ok;
}

void DBGridEh::setRows(const QStringList &fields, const QList<QVariantList> &rows) {
    clearSortMarkers();
    m_model->setRows(fields, rows);
    addFieldColumnsIfNone();
}

bool DBGridEh::refresh() {
    const int row = currentRow();
    const int col = currentIndex().isValid() ? currentIndex().column() : firstVisibleColumn();
    clearSortMarkers();
    const bool ok = m_model->refresh();
    if (ok && row >= 0 && m_model->rowCount() > 0) {
        while (row >= m_model->rowCount() && m_model->canFetchMore())
            m_model->fetchMore();
        setCurrentIndex(m_model->index(qMin(row, m_model->rowCount() - 1), qMax(0, col)));
    }
    return ok;
}

void DBGridEh::closeQuery() {
    clearSortMarkers();
    m_model->close();
}

// --- columns ---------------------------------------------------------------------------------

void DBGridEh::keepPositionDuring(const std::function<void()> &change) {
    const int row = currentRow();
    const QString field =
        currentIndex().isValid() ? m_model->column(currentIndex().column()).field : QString();
    const int v = verticalScrollBar()->value();
    change();
    if (row >= 0 && row < m_model->rowCount()) {
        int col = field.isEmpty() ? -1 : m_model->columnOf(field);
        if (col < 0 || !m_model->column(col).visible)
            col = firstVisibleColumn();
        if (col >= 0)
            setCurrentIndex(m_model->index(row, col));
    }
    verticalScrollBar()->setValue(v);
}

void DBGridEh::addColumn(const GridColumn &column) {
    m_model->addColumn(column);
}

void DBGridEh::setColumns(const QList<GridColumn> &columns) {
    keepPositionDuring([&] { m_model->setColumns(columns); });
}

QList<GridColumn> DBGridEh::columns() const {
    return m_model->columns();
}

GridColumn DBGridEh::column(int column) const {
    return column >= 0 && column < m_model->columnCount() ? m_model->column(column) : GridColumn();
}

void DBGridEh::setColumn(int column, const GridColumn &settings) {
    m_model->setColumn(column, settings);
}

void DBGridEh::removeGridColumn(int column) {
    m_model->removeColumnAt(column);
}

void DBGridEh::removeColumnsOf(const QString &field) {
    for (int c = m_model->columnOf(field); c >= 0; c = m_model->columnOf(field))
        m_model->removeColumnAt(c);
}

void DBGridEh::moveGridColumn(int from, int to) {
    keepPositionDuring([&] { m_model->moveColumn(from, to); });
}

void DBGridEh::setColumnVisible(int column, bool visible) {
    m_model->setColumnVisible(column, visible);
}

void DBGridEh::setFieldFormat(const QString &field, const QString &format) {
    for (int i = 0; i < m_model->columnCount(); ++i)
        if (m_model->column(i).field.compare(field, Qt::CaseInsensitive) == 0) {
            GridColumn c = m_model->column(i);
            c.displayFormat = format;
            m_model->setColumn(i, c);
        }
}

void DBGridEh::setColumnFooter(int column, FooterKind kind, const QString &text) {
    if (column < 0 || column >= m_model->columnCount())
        return;
    GridColumn c = m_model->column(column);
    c.footerType = kind;
    c.footerValue = text;
    m_model->setColumn(column, c);
    updateGeometries();
}

int DBGridEh::gridColumnWidth(int column) const {
    return column >= 0 && column < m_model->columnCount() ? m_model->column(column).width : 0;
}

QList<int> DBGridEh::visibleColumns() const {
    QList<int> out;
    for (int i = 0; i < m_model->columnCount(); ++i)
        if (m_model->column(i).visible)
            out << i;
    return out;
}

int DBGridEh::firstVisibleColumn() const {
    return nextVisibleColumn(-1);
}

int DBGridEh::nextVisibleColumn(int after) const {
    for (int i = after + 1; i < m_model->columnCount(); ++i)
        if (m_model->column(i).visible)
            return i;
    return -1;
}

// --- layouts ---------------------------------------------------------------------------------

bool DBGridEh::loadLayout(const QString &key) {
    m_layoutKey = key;
    return LoadGridLayout(this, key);
}

bool DBGridEh::applyLayout(const QString &key) {
    m_layoutKey = key;
    return ApplyGridLayout(this, key);
}

bool DBGridEh::saveLayout() {
    return !m_layoutKey.isEmpty() && SaveGridLayout(this, m_layoutKey);
}

void DBGridEh::askSaveLayout() {
    if (ShowMess(QStringLiteral("真的要保存当前网格设置吗？"), 1) != 1)
        return;
    if (m_saveHandler)
        m_saveHandler();
    else
        saveLayout();
}

// --- behaviour -------------------------------------------------------------------------------

void DBGridEh::setRowSelect(bool on) {
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void DBGridEh::setMultiSelect(bool on) {
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void DBGridEh::setEditable(bool on) {
    m_model->setEditable(on);
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                       : QAbstractItemView::NoEditTriggers);
}

void DBGridEh::setCurrentRowColor(const QColor &c) {
    m_currentRowColor = c;
    viewport()->update();
}

void DBGridEh::setFooterColor(const QColor &c) {
    m_footerColor = c;
    m_footer->update();
}

void DBGridEh::setTitleColor(const QColor &c) {
    m_titleColor = c;
    m_header->viewport()->update();
}

// --- sorting ---------------------------------------------------------------------------------

bool DBGridEh::isNeverSorted(const QString &field) const {
    return m_neverSort && m_neverSort(field);
}

SortMarker DBGridEh::sortMarker(int column) const {
    if (column < 0 || column >= m_model->columnCount() || m_markerField.isEmpty())
        return SortMarker::None;
    return m_model->column(column).field.compare(m_markerField, Qt::CaseInsensitive) == 0 ? m_marker
                                                                                          : SortMarker::None;
}

void DBGridEh::setSortMarker(int column, SortMarker marker) {
    if (column < 0 || column >= m_model->columnCount() || marker == SortMarker::None) {
        clearSortMarkers();
        return;
    }
    m_markerField = m_model->column(column).field;
    m_marker = marker;
    m_header->viewport()->update();
}

void DBGridEh::clearSortMarkers() {
    m_markerField.clear();
    m_marker = SortMarker::None;
    m_header->viewport()->update();
}

void DBGridEh::clickTitle(int column) {
    if (column < 0 || column >= m_model->columnCount())
        return;
    if (!m_titleSorting) {
        emit titleClicked(column, true);
        return;
    }
    if (!m_model->isOpen())
        return;
    const SortMarker next = sortMarker(column) == SortMarker::Up ? SortMarker::Down : SortMarker::Up;
    const bool ascending = (next == SortMarker::Up) == m_upAscending;
    setSortMarker(column, next);
    const QString field = m_model->column(column).field;
    if (!isNeverSorted(field)) {
        const QPersistentModelIndex cur = currentIndex();
        m_model->setSortText(field + (ascending ? QStringLiteral(" ASC,") : QStringLiteral(" DESC,")));
        if (cur.isValid())
            scrollTo(cur);
    }
    emit titleClicked(column, ascending);
}

// --- rows ------------------------------------------------------------------------------------

int DBGridEh::currentRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void DBGridEh::goToRow(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    int col = currentIndex().isValid() ? currentIndex().column() : firstVisibleColumn();
    if (col < 0)
        col = 0;
    if (m_model->columnCount() == 0)
        return;
    setCurrentIndex(m_model->index(row, col));
    scrollTo(m_model->index(row, col));
}

void DBGridEh::setCurrentRow(int row) {
    while (row >= m_model->rowCount() && m_model->canFetchMore())
        m_model->fetchMore();
    goToRow(row);
}

void DBGridEh::first() {
    goToRow(0);
}

void DBGridEh::last() {
    m_model->fetchAll();
    goToRow(m_model->rowCount() - 1);
}

void DBGridEh::prior() {
    goToRow(currentRow() - 1);
}

void DBGridEh::next() {
    setCurrentRow(currentRow() + 1);
}

bool DBGridEh::isFirst() const {
    return currentRow() <= 0;
}

bool DBGridEh::isLast() const {
    return currentRow() >= m_model->rowCount() - 1 && !m_model->canFetchMore();
}

QList<int> DBGridEh::selectedRows() const {
    QList<int> rows;
    if (selectionModel())
        for (const QModelIndex &i : selectionModel()->selectedIndexes())
            if (!rows.contains(i.row()))
                rows << i.row();
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty() && currentRow() >= 0)
        rows << currentRow();
    return rows;
}

bool DBGridEh::post() {
    if (state() == QAbstractItemView::EditingState) {
        // take what is typed in an open editor first
        if (QWidget *editor = indexWidget(currentIndex()))
            commitData(editor);
    }
    return m_model->post();
}

void DBGridEh::moveToNextColumn() {
    if (m_model->rowCount() == 0 || firstVisibleColumn() < 0)
        return;
    const QModelIndex cur = currentIndex();
    if (!cur.isValid()) {
        setCurrentIndex(m_model->index(0, firstVisibleColumn()));
        return;
    }
    int row = cur.row();
    int col = nextVisibleColumn(cur.column());
    if (col < 0) {
        col = firstVisibleColumn();
        if (row + 1 >= m_model->rowCount() && m_model->canFetchMore())
            m_model->fetchMore();
        if (row + 1 < m_model->rowCount())
            ++row;
    }
    const QModelIndex to = m_model->index(row, col);
    setCurrentIndex(to);
    scrollTo(to);
}

// --- events ----------------------------------------------------------------------------------

void DBGridEh::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // while a cell is edited the editor's own Enter ends the edit; closeEditor then moves on
        if (state() != QAbstractItemView::EditingState)
            moveToNextColumn();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DBGridEh::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::SubmitModelCache)
        moveToNextColumn();
}

void DBGridEh::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTableView::currentChanged(current, previous);
    const bool rowChanged = current.row() != previous.row() || current.isValid() != previous.isValid();
    if (previous.isValid() && rowChanged)
        m_model->post(); // the user left the row: hand its changes to the window
    if (rowChanged) {
        if (m_currentRowColor.isValid())
            viewport()->update();
        emit currentRowChanged(current.isValid() ? current.row() : -1);
    }
}

void DBGridEh::contextMenuEvent(QContextMenuEvent *event) {
    m_menu->exec(event->globalPos());
    event->accept();
}

void DBGridEh::showEvent(QShowEvent *event) {
    m_windowMeta = window()->metaObject();
    QTableView::showEvent(event);
}

void DBGridEh::hideEvent(QHideEvent *event) {
    // A window closing hands the pending row over. A window being destroyed hides its children
    // after its own class is gone (the write-back may use what is gone): the row is dropped.
    // (Seen through the window's meta-object, so windows declare Q_OBJECT.)
    if (window()->metaObject() == m_windowMeta)
        post();
    else
        m_model->cancel();
    QTableView::hideEvent(event);
}

QModelIndex DBGridEh::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    // Rows not read yet still count as rows below: reaching the end reads them.
    if (m_model->canFetchMore()) {
        if ((cursorAction == MoveEnd && (modifiers & Qt::ControlModifier)) ||
            (cursorAction == MoveEnd && selectionBehavior() == SelectRows))
            m_model->fetchAll();
        else if ((cursorAction == MoveDown || cursorAction == MovePageDown || cursorAction == MoveNext) &&
                 currentRow() >= m_model->rowCount() - DBGridModel::kFetchBlock / 4)
            m_model->fetchMore();
    }
    return QTableView::moveCursor(cursorAction, modifiers);
}
