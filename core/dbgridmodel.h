#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

// What a grid column's footer shows (the numbers are the stored F_FooterType values).
enum class FooterKind { None = 0, StaticText = 1, Sum = 2 };

// Cell and footer alignment as stored in F_Alignment; Default follows the field's kind
// (numbers right, everything else left).
enum GridAlign { AlignDefault = -1, AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };

// One column of a grid: the field it shows and how it looks. A caption written "group|name"
// shows name under a group title shared with the adjacent columns of the same group.
struct GridColumn {
    QString field;
    QString caption;
    int width = 80;
    bool visible = true;
    bool readOnly = false;
    bool titleCentered = true;
    int alignment = AlignDefault;
    QString displayFormat; // number pattern ("0.##", ",0.00") or date pattern ("yyyy-MM-dd")
    FooterKind footerType = FooterKind::None;
    QString footerValue; // text of a static-text footer

    GridColumn() = default;
    GridColumn(const QString &f, const QString &c, int w = 80) : field(f), caption(c), width(w) {}

    // The group part of the caption (empty when the caption has no "|").
    QString groupTitle() const;
    // The caption without its group part.
    QString nameTitle() const;
};

// A row's colours chosen by the window (an invalid colour keeps the grid's own).
struct GridRowStyle {
    QColor text;
    QColor background;
};

// What changed in one row when the user left it: old and new value of every changed field.
struct GridRowChange {
    int row = -1;
    QStringList fields;
    QVariantMap oldValues;
    QVariantMap newValues;
};

// The grid's rows: the result of one query, read in blocks as the view needs them, with the
// grid's columns on top. Values are never written to the database by the model; a changed row
// is handed to the window's write-back function when the row is posted.
class DBGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using WriteBack = std::function<bool(const GridRowChange &)>;
    using RowStyleFn = std::function<GridRowStyle(int row)>;
    using SortRule = std::function<bool(const QString &field)>;

    // Rows read from the database at a time.
    static constexpr int kFetchBlock = 256;
    // The stored empty date and the first date shown as a real date.
    static const QString kEmptyDate;

    explicit DBGridModel(QObject *parent = nullptr);
    ~DBGridModel() override;

    // --- data source ---
    // Opens sql with its bound values; the first block of rows is read at once, the rest when
    // the view scrolls to it. Failure: "打开操作失败，请检查数据连接... ", an empty closed model.
    bool setQuery(const QString &sql, const QVariantList &binds = {});
    // Shows the given rows (values in the order of fields) instead of a query result.
    void setRows(const QStringList &fields, const QList<QVariantList> &rows);
    // Runs the current query again (pending edits are posted first).
    bool refresh();
    // Empties the model and releases its query.
    void close();
    // Reads the rest of every grid's result so that no grid keeps a statement open on the
    // connection (the database refuses VACUUM and DROP TABLE while one is open).
    static void finishOpenReaders();
    bool isOpen() const { return m_open; }
    QString sql() const { return m_sql; }
    QVariantList binds() const { return m_binds; }
    // Field names of the open result, in result order.
    QStringList fieldNames() const { return m_fields; }
    // Index of a result field, compared without regard to case; -1 when absent.
    int fieldIndex(const QString &field) const;

    // --- columns ---
    QList<GridColumn> columns() const { return m_columns; }
    void setColumns(const QList<GridColumn> &columns);
    void addColumn(const GridColumn &column);
    void removeColumnAt(int column);
    void moveColumn(int from, int to);
    // Records a width the user gave a column (the view already shows it).
    void setColumnWidth(int column, int width);
    void setColumnVisible(int column, bool visible);
    const GridColumn &column(int column) const { return m_columns.at(column); }
    // Replaces one column's settings (its field and caption included).
    void setColumn(int column, const GridColumn &settings);
    // First column showing field (without regard to case); -1 when none.
    int columnOf(const QString &field) const;
    // The alignment a column's cells and footer use (0 left, 1 centre, 2 right).
    int effectiveAlignment(int column) const;
    // True when any visible column shows a group title.
    bool hasGroupedTitles() const;
    // True when any column has a footer kind other than none.
    bool hasFooter() const;

    // --- rows ---
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex &parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex &parent = QModelIndex()) override;
    // Reads every remaining row.
    void fetchAll();
    bool allFetched() const { return m_atEnd; }
    // Number of rows of the whole result, counted without reading them into the model.
    int totalRowCount() const;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The stored value of a field in a row (null when the row or field does not exist).
    QVariant value(int row, const QString &field) const;
    // The stored value of a column's field in a row.
    QVariant rawValue(int row, int column) const;
    // The text a cell shows: display format applied, empty dates blanked where asked.
    QString displayText(int row, int column) const;
    // The value a column's footer holds: the static text, the sum rounded to four places, or
    // null for no footer.
    QVariant footerValue(int column) const;
    // The footer as shown, formatted with the column's display format.
    QString footerText(int column) const;

    // --- sorting (in memory) ---
    // Sorts by "field ASC,field DESC," text; an empty text restores the order of the result.
    // Unknown fields are passed over. Reads every row first.
    void setSortText(const QString &text);
    QString sortText() const { return m_sortText; }

    // --- editing ---
    void setEditable(bool on);
    bool isEditable() const { return m_editable; }
    void setWriteBack(WriteBack fn) { m_writeBack = std::move(fn); }
    // Changes a field of a row as the user would; the change is kept until the row is posted.
    // False (after a message) when the text is not a value of the field's kind.
    bool setValue(int row, const QString &field, const QVariant &value);
    // Row with unposted changes, -1 when none.
    int pendingRow() const { return m_editRow; }
    // Hands the pending row to the write-back function. When it refuses, the row's changes are
    // undone and false is returned.
    bool post();
    // Undoes the pending row's changes.
    void cancel();

    // --- display ---
    void setRowStyle(RowStyleFn fn);
    // Fields whose dates before 1901-08-14 show as empty cells.
    void setEmptyDateFields(const QStringList &fields);
    QStringList emptyDateFields() const { return m_emptyDateFields; }
    // The colour of read-only columns of an editable grid (aqua unless changed).
    void setReadOnlyColor(const QColor &c) { m_readOnlyColor = c; }

    // True when a value's date text sorts before "1901-08-14" (the stored empty date and
    // anything older).
    static bool isEmptyDate(const QVariant &value);
    // True when a display format is a date pattern rather than a number pattern.
    static bool isDateFormat(const QString &format);
    // Formats a value by a display format as a cell shows it.
    static QString formatValue(const QVariant &value, const QString &format);

signals:
    // The footer values may have changed.
    void footerChanged();
    // Column settings changed (all of them: column -1).
    void columnSettingsChanged(int column);
    // A row was handed to the write-back function and accepted.
    void rowPosted(int row);

private:
    struct Row {
        QVector<QVariant> values;
        int seq = 0;
    };

    void beginReset();
    void endReset();
    bool execQuery(QString *error);
    int readRows(int limit);
    bool isNumericField(int fieldIdx) const;
    bool isDateColumn(int column) const;
    bool convertTyped(int fieldIdx, int column, const QVariant &typed, QVariant *out) const;
    void sortRows(const QList<QPair<int, bool>> &keys);
    void invalidateSums();
    double sumOfField(int fieldIdx) const;
    void rebuildFieldIndex();

    QString m_sql;
    QVariantList m_binds;
    std::unique_ptr<QSqlQuery> m_query;
    bool m_fromQuery = false;
    bool m_open = false;
    bool m_atEnd = true;
    bool m_inReset = false;
    bool m_reading = false;
    int m_readCount = 0; // rows read from the current query so far
    QStringList m_fields;
    QVector<int> m_fieldTypes; // QMetaType ids reported by the result
    QHash<QString, int> m_fieldIdx;
    QVector<Row> m_rows;
    QList<GridColumn> m_columns;

    QString m_sortText;
    bool m_editable = false;
    WriteBack m_writeBack;
    int m_editRow = -1;
    QHash<int, QVariant> m_editOld; // field index -> value before the edit

    RowStyleFn m_rowStyle;
    QStringList m_emptyDateFields;
    QSet<QString> m_emptyDateSet; // lower case
    QColor m_readOnlyColor = QColor(0, 255, 255);

    mutable QHash<int, double> m_sums;
    mutable bool m_sumsFromMemory = false;
    mutable int m_totalRows = -1;
};
