#include "dbgridmodel.h"

#include "database.h"
#include "keltrin.h"
#include "pubunit.h"
#include "sqldialect.h"

#include <QCollator>
#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <algorithm>
#include <limits>
#include <optional>

const QString DBGridModel::kEmptyDate = QStringLiteral("1900-08-14");

namespace {

const QString kFirstRealDate = QStringLiteral("1901-08-14");

// Every model that may hold an unfinished reader on the connection.
QSet<DBGridModel *> &liveModels() {
    static QSet<DBGridModel *> models;
    return models;
}

bool isNumericType(int typeId) {
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

bool isIntegerType(int typeId) {
    return isNumericType(typeId) && typeId != QMetaType::Double && typeId != QMetaType::Float;
}

bool isNumericValue(const QVariant &v) {
    return !v.isNull() && isNumericType(v.typeId());
}

// A stored date or timestamp, read from the forms the program writes.
std::optional<QDateTime> readDateTime(const QVariant &v, bool *hasTime) {
    *hasTime = false;
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    if (v.typeId() == QMetaType::QDateTime) {
        *hasTime = true;
        return v.toDateTime();
    }
    const QString s = v.toString().trimmed();
    if (s.size() >= 19) {
        const QDateTime dt = QDateTime::fromString(s.left(19), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        if (dt.isValid()) {
            *hasTime = true;
            return dt;
        }
    }
    const QDate d = QDate::fromString(s.left(10), QStringLiteral("yyyy-MM-dd"));
    if (d.isValid())
        return QDateTime(d, QTime(0, 0));
    return std::nullopt;
}

// A date pattern written the Delphi way ("yyyy-mm-dd hh:nn:ss", m after h = minutes) in Qt's terms.
QString toQtDateFormat(const QString &format) {
    QString out;
    bool lastWasHour = false;
    for (int i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int end = format.indexOf(c, i + 1);
            const QString lit = end < 0 ? format.mid(i + 1) : format.mid(i + 1, end - i - 1);
            out += QLatin1Char('\'') + QString(lit).replace(QLatin1Char('\''), QStringLiteral("''")) +
                   QLatin1Char('\'');
            i = end < 0 ? format.size() : end + 1;
            continue;
        }
        int run = 1;
        while (i + run < format.size() && format.at(i + run).toLower() == c.toLower())
            ++run;
        const QChar l = c.toLower();
        if (l == QLatin1Char('m')) {
            out += QString(run, lastWasHour ? QLatin1Char('m') : QLatin1Char('M'));
            lastWasHour = false;
        } else if (l == QLatin1Char('n')) {
            out += QString(run, QLatin1Char('m'));
            lastWasHour = false;
        } else if (l == QLatin1Char('y') || l == QLatin1Char('d') || l == QLatin1Char('s') ||
                   l == QLatin1Char('z')) {
            out += QString(run, l);
            lastWasHour = false;
        } else if (l == QLatin1Char('h')) {
            out += QString(run, l);
            lastWasHour = true;
        } else if (c.isLetter()) {
            out += QLatin1Char('\'') + format.mid(i, run) + QLatin1Char('\'');
        } else {
            out += format.mid(i, run);
        }
        i += run;
    }
    return out;
}

QString plainNumber(const QVariant &v) {
    if (isIntegerType(v.typeId()))
        return QString::number(v.toLongLong());
    return QString::number(v.toDouble(), 'g', 15);
}

bool sameValue(const QVariant &a, const QVariant &b) {
    if (a.isNull() != b.isNull())
        return false;
    if (isNumericValue(a) && isNumericValue(b))
        return a.toDouble() == b.toDouble();
    return a.toString() == b.toString();
}

QString stripTrailing(QString sql) {
    sql = sql.trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql = sql.left(sql.size() - 1).trimmed();
    return sql;
}

QString quoteField(const QString &f) {
    return QLatin1Char('"') + QString(f).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

bool bindAndExec(QSqlQuery &q, const QString &sql, const QVariantList &binds) {
    if (!q.prepare(sql))
        return false;
    for (const QVariant &v : binds)
        q.addBindValue(v);
    return q.exec();
}

} // namespace

// ---------------------------------------------------------------------------------------------

QString GridColumn::groupTitle() const {
    const int bar = caption.indexOf(QLatin1Char('|'));
    return bar < 0 ? QString() : caption.left(bar);
}

QString GridColumn::nameTitle() const {
    const int bar = caption.indexOf(QLatin1Char('|'));
    return bar < 0 ? caption : caption.mid(bar + 1);
}

// ---------------------------------------------------------------------------------------------

DBGridModel::DBGridModel(QObject *parent) : QAbstractTableModel(parent) {
    liveModels().insert(this);
}

DBGridModel::~DBGridModel() {
    liveModels().remove(this);
}

void DBGridModel::finishOpenReaders() {
    const auto models = liveModels();
    for (DBGridModel *m : models)
        if (m->m_query)
            m->fetchAll();
}

int DBGridModel::fieldIndex(const QString &field) const {
    return m_fieldIdx.value(field.toLower(), -1);
}

void DBGridModel::rebuildFieldIndex() {
    m_fieldIdx.clear();
    for (int i = m_fields.size() - 1; i >= 0; --i)
        m_fieldIdx.insert(m_fields.at(i).toLower(), i);
}

bool DBGridModel::execQuery(QString *error) {
    m_query = std::make_unique<QSqlQuery>(Database::db());
    // SQLite hands rows over one by one; other engines keep the whole result on the client,
    // where a forward-only reader would block the connection's other statements.
    m_query->setForwardOnly(Database::dialect().engine() == SqlDialect::SQLite);
    if (!bindAndExec(*m_query, m_sql, m_binds)) {
        if (error)
            *error = m_query->lastError().text();
        m_query.reset();
        return false;
    }
    return true;
}

int DBGridModel::readRows(int limit) {
    if (!m_query)
        return 0;
    const int nf = m_fields.size();
    QVector<Row> block;
    bool retried = false;
    while (block.size() < limit) {
        if (!m_query->next()) {
            // A rolled-back transaction or a schema change aborts an unfinished reader: run the
            // query again and skip the rows already read.
            if (m_query->lastError().type() != QSqlError::NoError && !retried) {
                retried = true;
                if (execQuery(nullptr)) {
                    const int skip = m_readCount + block.size();
                    int skipped = 0;
                    while (skipped < skip && m_query->next())
                        ++skipped;
                    if (skipped == skip)
                        continue;
                }
            }
            m_atEnd = true;
            break;
        }
        Row r;
        r.values.resize(nf);
        for (int i = 0; i < nf; ++i)
            r.values[i] = m_query->value(i);
        r.seq = m_readCount + block.size();
        block.append(std::move(r));
    }
    if (m_atEnd)
        m_query.reset(); // the statement is finished: nothing stays open on the connection
    if (block.isEmpty())
        return 0;
    // views told of the new rows must not start another read before these are in place
    m_reading = true;
    const int first = m_rows.size();
    if (!m_inReset)
        beginInsertRows(QModelIndex(), first, first + block.size() - 1);
    m_rows += block;
    m_readCount += block.size();
    if (!m_inReset)
        endInsertRows();
    m_reading = false;
    return block.size();
}

bool DBGridModel::setQuery(const QString &sql, const QVariantList &binds) {
    post();
    beginReset();
    m_query.reset();
    m_rows.clear();
    m_fields.clear();
    m_fieldTypes.clear();
    m_sql = sql;
    m_binds = binds;
    m_fromQuery = true;
    m_readCount = 0;
    m_sortText.clear();
    m_editRow = -1;
    m_editOld.clear();
    m_totalRows = -1;
    invalidateSums();
    QString error;
    m_open = execQuery(&error);
    m_atEnd = !m_open;
    if (m_open) {
        const QSqlRecord rec = m_query->record();
        for (int i = 0; i < rec.count(); ++i) {
            m_fields << rec.fieldName(i);
            m_fieldTypes << rec.field(i).metaType().id();
        }
        rebuildFieldIndex();
        readRows(kFetchBlock);
    } else {
        rebuildFieldIndex();
    }
    endReset();
    emit footerChanged();
    if (!m_open)
        ShowMess(QStringLiteral("打开操作失败，请检查数据连接... "), 3);
    return m_open;
}

void DBGridModel::setRows(const QStringList &fields, const QList<QVariantList> &rows) {
    post();
    beginReset();
    m_query.reset();
    m_sql.clear();
    m_binds.clear();
    m_fromQuery = false;
    m_fields = fields;
    m_fieldTypes = QVector<int>(fields.size(), QMetaType::UnknownType);
    rebuildFieldIndex();
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (const QVariantList &r : rows) {
        Row row;
        row.values = QVector<QVariant>(r.begin(), r.end());
        row.values.resize(fields.size());
        row.seq = m_rows.size();
        m_rows.append(std::move(row));
    }
    // a field's kind follows its first non-empty value
    for (int f = 0; f < fields.size(); ++f)
        for (const Row &r : std::as_const(m_rows))
            if (!r.values.at(f).isNull()) {
                m_fieldTypes[f] = r.values.at(f).typeId();
                break;
            }
    m_readCount = m_rows.size();
    m_open = true;
    m_atEnd = true;
    m_sortText.clear();
    m_editRow = -1;
    m_editOld.clear();
    m_totalRows = -1;
    invalidateSums();
    endReset();
    emit footerChanged();
}

bool DBGridModel::refresh() {
    if (!m_fromQuery)
        return m_open;
    return setQuery(m_sql, m_binds);
}

void DBGridModel::close() {
    post();
    beginReset();
    m_query.reset();
    m_rows.clear();
    m_fields.clear();
    m_fieldTypes.clear();
    rebuildFieldIndex();
    m_open = false;
    m_atEnd = true;
    m_fromQuery = false;
    m_readCount = 0;
    m_sortText.clear();
    m_editRow = -1;
    m_editOld.clear();
    m_totalRows = -1;
    invalidateSums();
    endReset();
    emit footerChanged();
}

// --- columns ---------------------------------------------------------------------------------

void DBGridModel::setColumns(const QList<GridColumn> &columns) {
    beginReset();
    m_columns = columns;
    endReset();
    emit columnSettingsChanged(-1);
    emit footerChanged();
}

void DBGridModel::addColumn(const GridColumn &column) {
    const int at = m_columns.size();
    beginInsertColumns(QModelIndex(), at, at);
    m_columns.append(column);
    endInsertColumns();
    emit columnSettingsChanged(-1);
    emit footerChanged();
}

void DBGridModel::removeColumnAt(int column) {
    if (column < 0 || column >= m_columns.size())
        return;
    beginRemoveColumns(QModelIndex(), column, column);
    m_columns.removeAt(column);
    endRemoveColumns();
    emit columnSettingsChanged(-1);
    emit footerChanged();
}

void DBGridModel::moveColumn(int from, int to) {
    if (from < 0 || from >= m_columns.size() || to < 0 || to >= m_columns.size() || from == to)
        return;
    // A reset rather than a move: the header then shows the columns in model order again.
    beginReset();
    m_columns.move(from, to);
    endReset();
    emit columnSettingsChanged(-1);
    emit footerChanged();
}

void DBGridModel::setColumnWidth(int column, int width) {
    if (column >= 0 && column < m_columns.size())
        m_columns[column].width = width;
}

void DBGridModel::setColumnVisible(int column, bool visible) {
    if (column < 0 || column >= m_columns.size() || m_columns.at(column).visible == visible)
        return;
    m_columns[column].visible = visible;
    emit columnSettingsChanged(column);
    emit footerChanged();
}

void DBGridModel::setColumn(int column, const GridColumn &settings) {
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column] = settings;
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, column), index(m_rows.size() - 1, column));
    emit columnSettingsChanged(column);
    emit footerChanged();
}

int DBGridModel::columnOf(const QString &field) const {
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int DBGridModel::effectiveAlignment(int column) const {
    if (column < 0 || column >= m_columns.size())
        return AlignLeft;
    const int a = m_columns.at(column).alignment;
    if (a >= AlignLeft && a <= AlignRight)
        return a;
    const int f = fieldIndex(m_columns.at(column).field);
    return f >= 0 && isNumericField(f) ? AlignRight : AlignLeft;
}

bool DBGridModel::hasGroupedTitles() const {
    for (const GridColumn &c : m_columns)
        if (c.visible && c.caption.contains(QLatin1Char('|')))
            return true;
    return false;
}

bool DBGridModel::hasFooter() const {
    for (const GridColumn &c : m_columns)
        if (c.footerType != FooterKind::None)
            return true;
    return false;
}

// --- rows ------------------------------------------------------------------------------------

int DBGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows.size();
}

int DBGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_columns.size();
}

bool DBGridModel::canFetchMore(const QModelIndex &parent) const {
    // nothing is read while the views are told of a reset: they ask again afterwards
    return !parent.isValid() && m_open && !m_atEnd && !m_inReset && !m_reading;
}

void DBGridModel::beginReset() {
    m_inReset = true;
    beginResetModel();
}

void DBGridModel::endReset() {
    endResetModel();
    m_inReset = false;
}

void DBGridModel::fetchMore(const QModelIndex &parent) {
    if (!canFetchMore(parent))
        return;
    const bool wasAtEnd = m_atEnd;
    readRows(kFetchBlock);
    if (m_atEnd != wasAtEnd) {
        invalidateSums();
        emit footerChanged();
    }
}

void DBGridModel::fetchAll() {
    if (!canFetchMore())
        return;
    readRows(std::numeric_limits<int>::max());
    invalidateSums();
    emit footerChanged();
}

int DBGridModel::totalRowCount() const {
    if (!m_open)
        return 0;
    if (m_atEnd)
        return m_rows.size();
    if (m_totalRows < 0) {
        QSqlQuery q(Database::db());
        const QString sql =
            QStringLiteral("select count(*) from (") + stripTrailing(m_sql) + QStringLiteral(") grid_src");
        if (bindAndExec(q, sql, m_binds) && q.next()) {
            m_totalRows = q.value(0).toInt();
        } else {
            const_cast<DBGridModel *>(this)->fetchAll();
            return m_rows.size();
        }
    }
    return m_totalRows;
}

bool DBGridModel::isNumericField(int f) const {
    if (f < 0 || f >= m_fields.size())
        return false;
    if (isNumericType(m_fieldTypes.value(f)))
        return true;
    // a computed field reports no declared kind: go by the values read
    if (m_fieldTypes.value(f) == QMetaType::UnknownType || m_fieldTypes.value(f) == QMetaType::QString)
        for (int r = 0; r < m_rows.size() && r < 16; ++r) {
            const QVariant &v = m_rows.at(r).values.at(f);
            if (!v.isNull())
                return isNumericValue(v);
        }
    return false;
}

QVariant DBGridModel::value(int row, const QString &field) const {
    const int f = fieldIndex(field);
    if (row < 0 || row >= m_rows.size() || f < 0)
        return QVariant();
    return m_rows.at(row).values.at(f);
}

QVariant DBGridModel::rawValue(int row, int column) const {
    if (column < 0 || column >= m_columns.size())
        return QVariant();
    return value(row, m_columns.at(column).field);
}

bool DBGridModel::isEmptyDate(const QVariant &value) {
    if (value.isNull())
        return false;
    bool hasTime = false;
    const auto dt = readDateTime(value, &hasTime);
    if (!dt)
        return false;
    return dt->date().toString(QStringLiteral("yyyy-MM-dd")) < kFirstRealDate;
}

bool DBGridModel::isDateFormat(const QString &format) {
    return format.contains(QLatin1Char('y'), Qt::CaseInsensitive) ||
           format.contains(QLatin1Char('d'), Qt::CaseInsensitive) ||
           format.contains(QLatin1String("hh"), Qt::CaseInsensitive);
}

QString DBGridModel::formatValue(const QVariant &v, const QString &format) {
    if (v.isNull())
        return QString();
    if (!format.isEmpty()) {
        if (isDateFormat(format)) {
            bool hasTime = false;
            if (const auto dt = readDateTime(v, &hasTime))
                return dt->toString(toQtDateFormat(format));
            return v.toString();
        }
        if (isNumericValue(v))
            return FormatFloat(format, v.toDouble());
        return v.toString();
    }
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    default:
        return v.toString();
    }
}

QString DBGridModel::displayText(int row, int column) const {
    if (column < 0 || column >= m_columns.size() || row < 0 || row >= m_rows.size())
        return QString();
    const GridColumn &c = m_columns.at(column);
    const int f = fieldIndex(c.field);
    if (f < 0)
        return QString();
    const QVariant &v = m_rows.at(row).values.at(f);
    if (m_emptyDateSet.contains(c.field.toLower()) && isEmptyDate(v))
        return QString();
    return formatValue(v, c.displayFormat);
}

QVariant DBGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_columns.size())
        return QVariant();
    const int row = index.row();
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return displayText(row, col);
    case Qt::EditRole: {
        const QVariant v = rawValue(row, col);
        if (v.isNull())
            return QString();
        if (isNumericValue(v))
            return plainNumber(v);
        if (isDateColumn(col) && isEmptyDate(v))
            return QString();
        return formatValue(v, QString());
    }
    case Qt::UserRole:
        return rawValue(row, col);
    case Qt::TextAlignmentRole: {
        const int a = effectiveAlignment(col);
        const Qt::Alignment h = a == AlignCenter  ? Qt::AlignHCenter
                                : a == AlignRight ? Qt::AlignRight
                                                  : Qt::AlignLeft;
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    case Qt::ForegroundRole:
        if (m_rowStyle) {
            const GridRowStyle s = m_rowStyle(row);
            if (s.text.isValid())
                return s.text;
        }
        return QVariant();
    case Qt::BackgroundRole:
        if (m_rowStyle) {
            const GridRowStyle s = m_rowStyle(row);
            if (s.background.isValid())
                return s.background;
        }
        if (m_editable && m_columns.at(col).readOnly)
            return m_readOnlyColor;
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant DBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columns.size())
            return QVariant();
        if (role == Qt::DisplayRole)
            return m_columns.at(section).nameTitle();
        if (role == Qt::UserRole)
            return m_columns.at(section).caption;
        return QVariant();
    }
    if (role == Qt::DisplayRole)
        return section + 1;
    return QVariant();
}

Qt::ItemFlags DBGridModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editable && index.column() < m_columns.size() && !m_columns.at(index.column()).readOnly &&
        fieldIndex(m_columns.at(index.column()).field) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

// --- footers ---------------------------------------------------------------------------------

void DBGridModel::invalidateSums() {
    m_sums.clear();
    m_sumsFromMemory = false;
}

double DBGridModel::sumOfField(int f) const {
    if (m_atEnd != m_sumsFromMemory) {
        m_sums.clear();
        m_sumsFromMemory = m_atEnd;
    }
    const auto it = m_sums.constFind(f);
    if (it != m_sums.constEnd())
        return it.value();
    if (m_atEnd) {
        double s = 0;
        for (const Row &r : m_rows)
            s += r.values.at(f).toDouble();
        m_sums.insert(f, s);
        return s;
    }
    // Rows still unread: let the database add up the whole result, every summed column at once.
    QList<int> wanted;
    for (const GridColumn &c : m_columns) {
        const int cf = fieldIndex(c.field);
        if (c.footerType == FooterKind::Sum && cf >= 0 && !m_sums.contains(cf) && !wanted.contains(cf))
            wanted << cf;
    }
    if (!wanted.contains(f))
        wanted << f;
    QStringList parts;
    for (int cf : std::as_const(wanted))
        parts << QStringLiteral("sum(") + quoteField(m_fields.at(cf)) + QLatin1Char(')');
    QSqlQuery q(Database::db());
    const QString sql = QStringLiteral("select ") + parts.join(QLatin1Char(',')) + QStringLiteral(" from (") +
                        stripTrailing(m_sql) + QStringLiteral(") grid_src");
    if (bindAndExec(q, sql, m_binds) && q.next()) {
        for (int i = 0; i < wanted.size(); ++i)
            m_sums.insert(wanted.at(i), q.value(i).toDouble());
        return m_sums.value(f);
    }
    // the result cannot be wrapped: read it all and add up in memory
    const_cast<DBGridModel *>(this)->fetchAll();
    return sumOfField(f);
}

QVariant DBGridModel::footerValue(int column) const {
    if (column < 0 || column >= m_columns.size())
        return QVariant();
    const GridColumn &c = m_columns.at(column);
    switch (c.footerType) {
    case FooterKind::StaticText:
        return c.footerValue;
    case FooterKind::Sum: {
        const int f = fieldIndex(c.field);
        if (!m_open || f < 0)
            return 0.0;
        return RoundMoney(sumOfField(f));
    }
    default:
        return QVariant();
    }
}

QString DBGridModel::footerText(int column) const {
    const QVariant v = footerValue(column);
    if (v.isNull())
        return QString();
    if (m_columns.at(column).footerType == FooterKind::StaticText)
        return v.toString();
    const QString fmt = m_columns.at(column).displayFormat;
    if (fmt.isEmpty() || isDateFormat(fmt))
        return FormatFloat(QStringLiteral("0.####"), v.toDouble());
    return FormatFloat(fmt, v.toDouble());
}

// --- sorting ---------------------------------------------------------------------------------

void DBGridModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= m_columns.size())
        return;
    setSortText(m_columns.at(column).field +
                (order == Qt::AscendingOrder ? QStringLiteral(" ASC,") : QStringLiteral(" DESC,")));
}

void DBGridModel::setSortText(const QString &text) {
    if (!m_open)
        return;
    post();
    fetchAll();
    QList<QPair<int, bool>> keys;
    const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const int f = fieldIndex(words.at(0));
        if (f < 0)
            continue;
        const bool desc =
            words.size() > 1 && words.at(1).compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0;
        keys.append({f, !desc});
    }
    m_sortText = keys.isEmpty() ? QString() : text;
    sortRows(keys);
}

void DBGridModel::sortRows(const QList<QPair<int, bool>> &keys) {
    const int n = m_rows.size();
    QVector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;

    // Text is compared the way the Chinese locale orders it; sort keys are made once per row.
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::vector<std::optional<QCollatorSortKey>>> textKeys(keys.size());
    for (int k = 0; k < keys.size(); ++k) {
        textKeys[k].resize(n);
        const int f = keys.at(k).first;
        for (int i = 0; i < n; ++i) {
            const QVariant &v = m_rows.at(i).values.at(f);
            if (!v.isNull() && !isNumericValue(v))
                textKeys[k][i] = collator.sortKey(v.toString());
        }
    }
    auto cmp = [&](int a, int b) {
        for (int k = 0; k < keys.size(); ++k) {
            const int f = keys.at(k).first;
            const QVariant &va = m_rows.at(a).values.at(f);
            const QVariant &vb = m_rows.at(b).values.at(f);
            int c = 0;
            if (va.isNull() || vb.isNull())
                c = va.isNull() == vb.isNull() ? 0 : va.isNull() ? -1 : 1;
            else if (isNumericValue(va) && isNumericValue(vb))
                c = va.toDouble() < vb.toDouble() ? -1 : va.toDouble() > vb.toDouble() ? 1 : 0;
            else if (textKeys[k][a] && textKeys[k][b]) {
                c = textKeys[k][a]->compare(*textKeys[k][b]);
                if (c == 0)
                    c = va.toString().compare(vb.toString());
            } else
                c = va.toString().compare(vb.toString(), Qt::CaseInsensitive);
            if (c != 0)
                return keys.at(k).second ? c < 0 : c > 0;
        }
        return m_rows.at(a).seq < m_rows.at(b).seq;
    };

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::stable_sort(order.begin(), order.end(), cmp);
    QVector<int> newPos(n);
    QVector<Row> sorted;
    sorted.reserve(n);
    for (int i = 0; i < n; ++i) {
        newPos[order.at(i)] = i;
        sorted.append(std::move(m_rows[order.at(i)]));
    }
    m_rows = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &i : before)
        after << index(newPos.at(i.row()), i.column());
    changePersistentIndexList(before, after);
    if (m_editRow >= 0)
        m_editRow = newPos.at(m_editRow);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// --- editing ---------------------------------------------------------------------------------

void DBGridModel::setEditable(bool on) {
    if (m_editable == on)
        return;
    if (!on)
        post();
    m_editable = on;
    if (!m_rows.isEmpty() && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows.size() - 1, m_columns.size() - 1));
}

bool DBGridModel::isDateColumn(int column) const {
    if (column < 0 || column >= m_columns.size())
        return false;
    const GridColumn &c = m_columns.at(column);
    if (m_emptyDateSet.contains(c.field.toLower()))
        return true;
    return !c.displayFormat.isEmpty() && isDateFormat(c.displayFormat);
}

bool DBGridModel::convertTyped(int f, int column, const QVariant &typed, QVariant *out) const {
    const int declared = m_fieldTypes.value(f);
    QVariant current;
    for (const Row &r : m_rows)
        if (!r.values.at(f).isNull()) {
            current = r.values.at(f);
            break;
        }
    const bool numeric = isNumericType(declared) || (!isNumericType(declared) && isNumericValue(current) &&
                                                     declared != QMetaType::QString);
    if (numeric) {
        if (isNumericValue(typed)) {
            *out = typed;
            return true;
        }
        QString t = typed.toString().trimmed();
        t.remove(QLatin1Char(','));
        if (t.isEmpty())
            t = QStringLiteral("0");
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (!ok) {
            ShowMess(QStringLiteral("“%1”不是有效的数值，请重新输入！").arg(typed.toString()), 2);
            return false;
        }
        if (isIntegerType(declared)) {
            if (d != static_cast<double>(static_cast<qlonglong>(d))) {
                ShowMess(QStringLiteral("“%1”不是有效的整数，请重新输入！").arg(typed.toString()), 2);
                return false;
            }
            *out = static_cast<qlonglong>(d);
            return true;
        }
        *out = d;
        return true;
    }
    bool dateLike = column >= 0 && isDateColumn(column);
    if (!dateLike && current.isValid()) {
        static const QRegularExpression dateRe(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
        dateLike = dateRe.match(current.toString()).hasMatch();
    }
    if (dateLike && typed.typeId() != QMetaType::QDate) {
        const QString t = typed.toString().trimmed();
        if (t.isEmpty()) {
            *out = kEmptyDate;
            return true;
        }
        QDate d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid())
            d = QDate::fromString(t, QStringLiteral("yyyy-M-d"));
        if (!d.isValid()) {
            ShowMess(QStringLiteral("“%1”不是有效的日期，请按“年-月-日”（例如 2024-01-31）输入！").arg(t), 2);
            return false;
        }
        *out = d.toString(QStringLiteral("yyyy-MM-dd"));
        return true;
    }
    if (typed.typeId() == QMetaType::QDate) {
        *out = typed.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        return true;
    }
    *out = typed.isNull() ? QVariant(QString()) : typed;
    return true;
}

bool DBGridModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    return setValue(index.row(), m_columns.at(index.column()).field, value);
}

bool DBGridModel::setValue(int row, const QString &field, const QVariant &typed) {
    const int f = fieldIndex(field);
    if (row < 0 || row >= m_rows.size() || f < 0)
        return false;
    QVariant v;
    if (!convertTyped(f, columnOf(field), typed, &v))
        return false;
    if (m_editRow >= 0 && m_editRow != row)
        post();
    QVariant &cell = m_rows[row].values[f];
    if (m_editRow != row) {
        m_editRow = row;
        m_editOld.clear();
    }
    if (!m_editOld.contains(f))
        m_editOld.insert(f, cell);
    cell = v;
    for (int c = 0; c < m_columns.size(); ++c)
        if (fieldIndex(m_columns.at(c).field) == f)
            emit dataChanged(index(row, c), index(row, c));
    return true;
}

bool DBGridModel::post() {
    if (m_editRow < 0)
        return true;
    const int row = m_editRow;
    const QHash<int, QVariant> old = m_editOld;
    m_editRow = -1;
    m_editOld.clear();
    GridRowChange change;
    change.row = row;
    QList<int> changed;
    for (auto it = old.constBegin(); it != old.constEnd(); ++it) {
        const QVariant &nv = m_rows.at(row).values.at(it.key());
        if (sameValue(it.value(), nv))
            continue;
        const QString name = m_fields.at(it.key());
        changed << it.key();
        change.fields << name;
        change.oldValues.insert(name, it.value());
        change.newValues.insert(name, nv);
    }
    if (changed.isEmpty())
        return true;
    const bool ok = m_writeBack ? m_writeBack(change) : true;
    if (!ok) {
        for (auto it = old.constBegin(); it != old.constEnd(); ++it)
            m_rows[row].values[it.key()] = it.value();
        if (!m_columns.isEmpty())
            emit dataChanged(index(row, 0), index(row, m_columns.size() - 1));
        return false;
    }
    // Sums the database worked out for unread rows follow the accepted change.
    if (m_sumsFromMemory) {
        m_sums.clear();
    } else {
        for (int f : std::as_const(changed))
            if (m_sums.contains(f))
                m_sums[f] += m_rows.at(row).values.at(f).toDouble() - old.value(f).toDouble();
    }
    emit footerChanged();
    emit rowPosted(row);
    return true;
}

void DBGridModel::cancel() {
    if (m_editRow < 0)
        return;
    const int row = m_editRow;
    for (auto it = m_editOld.constBegin(); it != m_editOld.constEnd(); ++it)
        m_rows[row].values[it.key()] = it.value();
    m_editRow = -1;
    m_editOld.clear();
    if (!m_columns.isEmpty())
        emit dataChanged(index(row, 0), index(row, m_columns.size() - 1));
}

// --- display ---------------------------------------------------------------------------------

void DBGridModel::setRowStyle(RowStyleFn fn) {
    m_rowStyle = std::move(fn);
    if (!m_rows.isEmpty() && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows.size() - 1, m_columns.size() - 1));
}

void DBGridModel::setEmptyDateFields(const QStringList &fields) {
    m_emptyDateFields = fields;
    m_emptyDateSet.clear();
    for (const QString &f : fields)
        m_emptyDateSet.insert(f.toLower());
    if (!m_rows.isEmpty() && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows.size() - 1, m_columns.size() - 1));
}
