#pragma once
#include "dbgridmodel.h"

#include <QHeaderView>
#include <QTableView>
#include <functional>

class QMenu;
class QAction;
class DBGridEh;

// The marker a column title shows after a title click.
enum class SortMarker { None, Up, Down };

// The title row: one line per column, or two when captions carry a group ("group|name"), the
// group title spanning its adjacent columns; the sort marker at the right of a title.
class DBGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit DBGridHeader(DBGridEh *grid);
    QSize sizeHint() const override;
    // Height of one title line.
    int lineHeight() const;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    void paintCell(QPainter *painter, const QRect &rect, int logicalIndex, const QString &text, bool centered,
                   SortMarker marker) const;
    DBGridEh *m_grid;
};

// The footer row under the cells, kept in step with the columns while they scroll and resize.
class DBGridFooter : public QWidget {
    Q_OBJECT
public:
    explicit DBGridFooter(DBGridEh *grid);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DBGridEh *m_grid;
};

// The program's data grid. A window sets it up in a few lines:
//     grid->addColumn({"F_code", "员工编号"});
//     grid->setQuery("select * from t_employee where F_dept = ?", {dept});
//     grid->loadLayout("hrmman");
// Rows are read as they are scrolled to; title clicks sort in memory; a pop-up menu offers the
// field list and saving the layout. In an editable grid, a row the user changed is handed to the
// window's write-back function when the user leaves the row; the grid itself writes nothing.
// A grid whose rows are not all read keeps its statement open: a window that empties or drops
// the table behind it calls closeQuery() or fetchAll() first (or opens the new rows at once).
class DBGridEh : public QTableView {
    Q_OBJECT
public:
    explicit DBGridEh(QWidget *parent = nullptr);
    ~DBGridEh() override;

    DBGridModel *gridModel() const { return m_model; }

    // --- data source ---
    // Opens the rows of sql (values bound to its "?" in order). Pending edits are posted first;
    // the sort markers are cleared. A grid without columns gets one per field of the result.
    // Failure: the model's message and an empty grid.
    bool setQuery(const QString &sql, const QVariantList &binds = {});
    // Shows rows held in memory (values in the order of fields).
    void setRows(const QStringList &fields, const QList<QVariantList> &rows);
    // Runs the query again, keeping the current row number where it still exists.
    bool refresh();
    void closeQuery();
    bool isOpen() const { return m_model->isOpen(); }

    // --- columns (index = position in the grid, hidden columns included) ---
    void addColumn(const GridColumn &column);
    void setColumns(const QList<GridColumn> &columns);
    QList<GridColumn> columns() const;
    int gridColumnCount() const { return m_model->columnCount(); }
    GridColumn column(int column) const;
    void setColumn(int column, const GridColumn &settings);
    // First column showing field, without regard to case; -1 when none.
    int columnOf(const QString &field) const { return m_model->columnOf(field); }
    void removeGridColumn(int column);
    // Removes every column showing field.
    void removeColumnsOf(const QString &field);
    void moveGridColumn(int from, int to);
    void setColumnVisible(int column, bool visible);
    // Gives every column of field the display format of its cells and footer.
    void setFieldFormat(const QString &field, const QString &format);
    // Gives a column a footer (sum, or static text).
    void setColumnFooter(int column, FooterKind kind, const QString &text = QString());

    // --- stored layouts (table cfg_Grid) ---
    // LoadGridLayout under key; the key is kept for "保存当前设置".
    bool loadLayout(const QString &key);
    // ApplyGridLayout under key; the key is kept for "保存当前设置".
    bool applyLayout(const QString &key);
    // SaveGridLayout under the kept key.
    bool saveLayout();
    QString layoutKey() const { return m_layoutKey; }
    void setLayoutKey(const QString &key) { m_layoutKey = key; }

    // --- behaviour ---
    // Whole-row selection.
    void setRowSelect(bool on);
    // Several rows can be selected (extended selection).
    void setMultiSelect(bool on);
    void setEditable(bool on);
    bool isEditable() const { return m_model->isEditable(); }
    void setWriteBack(DBGridModel::WriteBack fn) { m_model->setWriteBack(std::move(fn)); }
    void setRowStyle(DBGridModel::RowStyleFn fn) { m_model->setRowStyle(std::move(fn)); }
    // Fields whose empty date (1900-08-14) shows as an empty cell.
    void setEmptyDateFields(const QStringList &fields) { m_model->setEmptyDateFields(fields); }
    // The current row painted in this colour (an invalid colour: only the selection colour).
    void setCurrentRowColor(const QColor &c);
    QColor currentRowColor() const { return m_currentRowColor; }
    void setFooterColor(const QColor &c);
    QColor footerColor() const { return m_footerColor; }
    void setTitleColor(const QColor &c);
    QColor titleColor() const { return m_titleColor; }

    // --- title-click sorting ---
    // On (the default): a title click moves the marker and sorts the rows in memory. Off: the
    // click is only reported through titleClicked.
    void setTitleSorting(bool on) { m_titleSorting = on; }
    bool titleSorting() const { return m_titleSorting; }
    // Whether the up marker means ascending (the default) or descending.
    void setUpMarkerAscending(bool on) { m_upAscending = on; }
    bool upMarkerAscending() const { return m_upAscending; }
    // Fields whose title click only moves the marker; the default rule is a lower-case name
    // containing "mem" (memo columns).
    void setNeverSortRule(std::function<bool(const QString &field)> rule) { m_neverSort = std::move(rule); }
    bool isNeverSorted(const QString &field) const;
    SortMarker sortMarker(int column) const;
    // Shows a marker on one column (all other markers go); nothing is sorted.
    void setSortMarker(int column, SortMarker marker);
    void clearSortMarkers();
    // What a click on a column title does.
    void clickTitle(int column);
    // Sorts in memory by "field ASC,field DESC," text; empty text restores the query order.
    void setSortText(const QString &text) { m_model->setSortText(text); }

    // --- rows ---
    // Rows read so far.
    int rowCount() const { return m_model->rowCount(); }
    // Rows of the whole result.
    int totalRowCount() const { return m_model->totalRowCount(); }
    void fetchAll() { m_model->fetchAll(); }
    int currentRow() const;
    void setCurrentRow(int row);
    void first();
    void last();
    void prior();
    void next();
    bool isFirst() const;
    bool isLast() const;
    // Selected rows in ascending order (the current row when nothing is selected).
    QList<int> selectedRows() const;
    QVariant value(int row, const QString &field) const { return m_model->value(row, field); }
    QVariant currentValue(const QString &field) const { return m_model->value(currentRow(), field); }
    // Changes a field of a row as the user would (handed to the write-back when posted).
    bool setValue(int row, const QString &field, const QVariant &value) {
        return m_model->setValue(row, field, value);
    }
    // Posts the row with pending changes now (true when there was none or it was accepted).
    bool post();
    // Moves to the next visible column, after the last one to the first column of the next row.
    void moveToNextColumn();

    // --- reading what the grid shows (printing, export) ---
    // Indexes of the visible columns in display order.
    QList<int> visibleColumns() const;
    // Current width of a column in pixels.
    int gridColumnWidth(int column) const;
    // 0 left, 1 centre, 2 right.
    int columnAlignment(int column) const { return m_model->effectiveAlignment(column); }
    QString cellText(int row, int column) const { return m_model->displayText(row, column); }
    QVariant cellValue(int row, int column) const { return m_model->rawValue(row, column); }
    bool hasFooter() const { return m_model->hasFooter(); }
    QString footerText(int column) const { return m_model->footerText(column); }
    QVariant footerValue(int column) const { return m_model->footerValue(column); }

    // --- pop-up menu ---
    QMenu *popupMenu() const { return m_menu; }
    QAction *fieldListAction() const { return m_fieldListAction; }
    QAction *saveLayoutAction() const { return m_saveLayoutAction; }
    // Replaces what "保存当前设置" does after the question is answered yes.
    void setSaveLayoutHandler(std::function<void()> fn) { m_saveHandler = std::move(fn); }
    // "保存当前设置": asks "真的要保存当前网格设置吗？" and saves on yes.
    void askSaveLayout();

    DBGridHeader *gridHeader() const { return m_header; }
    DBGridFooter *footerWidget() const { return m_footer; }
    int footerHeight() const;

signals:
    // A column title was clicked; ascending tells the direction that goes with the new marker.
    void titleClicked(int column, bool ascending);
    // The current row changed.
    void currentRowChanged(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void updateGeometries() override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void syncHeader();
    void addFieldColumnsIfNone();
    int firstVisibleColumn() const;
    int nextVisibleColumn(int after) const;
    void goToRow(int row);
    void keepPositionDuring(const std::function<void()> &change);

    DBGridModel *m_model;
    DBGridHeader *m_header;
    DBGridFooter *m_footer;
    QMenu *m_menu;
    QAction *m_fieldListAction;
    QAction *m_saveLayoutAction;
    std::function<void()> m_saveHandler;
    std::function<bool(const QString &)> m_neverSort;
    QString m_layoutKey;
    QString m_markerField;
    SortMarker m_marker = SortMarker::None;
    bool m_titleSorting = true;
    bool m_upAscending = true;
    bool m_syncing = false;
    bool m_inGeometry = false;
    const QMetaObject *m_windowMeta = nullptr; // the window's class when the grid was shown
    QColor m_currentRowColor;
    QColor m_footerColor;
    QColor m_titleColor;
};
