#include "gridlayout.h"

#include "database.h"
#include "datadm.h"
#include "dbgrid.h"
#include "gridtools.h"
#include "keltrin.h"
#include "transaction.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString kOpFailed = QStringLiteral("操作失败，请检查数据连接... ");

// The stored rows of one grid key, in F_Order, without rows whose field name is empty.
bool readLayoutRows(const QString &gridName, QList<QSqlRecord> *rows) {
    QSqlQuery q(Database::db());
    if (!q.prepare(
            QStringLiteral("select * from cfg_Grid where (lower(F_name) = lower(?) and F_FieldName <> '') "
                           "order by F_Order"))) {
        ShowMess(kOpFailed, 3);
        return false;
    }
    q.addBindValue(gridName);
    if (!q.exec()) {
        ShowMess(kOpFailed, 3);
        return false;
    }
    while (q.next()) {
        const QSqlRecord r = q.record();
        if (!r.value(QStringLiteral("F_FieldName")).toString().trimmed().isEmpty())
            rows->append(r);
    }
    return true;
}

// Gives a column the stored look of a row (everything but field and caption).
void applyRow(GridColumn &c, const QSqlRecord &r) {
    c.titleCentered = true;
    const int width = r.value(QStringLiteral("F_Width")).toInt();
    if (width > 0)
        c.width = width;
    c.visible = r.value(QStringLiteral("F_Visible")).toBool();
    c.readOnly = r.value(QStringLiteral("F_ReadOnly")).toBool();
    c.displayFormat = r.value(QStringLiteral("F_DisplayFormat")).toString();
    c.footerValue = r.value(QStringLiteral("F_FooterValue")).toString();
    const int footer = r.value(QStringLiteral("F_FooterType")).toInt();
    c.footerType = footer == 1 ? FooterKind::StaticText : footer == 2 ? FooterKind::Sum : FooterKind::None;
    const int align = r.value(QStringLiteral("F_Alignment")).toInt();
    if (align >= AlignLeft && align <= AlignRight)
        c.alignment = align;
}

} // namespace

bool LoadGridLayout(DBGridEh *grid, const QString &gridName) {
    if (!grid)
        return false;
    QList<QSqlRecord> rows;
    if (!readLayoutRows(gridName, &rows))
        return false;
    if (rows.isEmpty())
        return true; // nothing stored: the grid's own columns stay
    QList<GridColumn> columns;
    for (const QSqlRecord &r : std::as_const(rows)) {
        GridColumn c;
        c.field = r.value(QStringLiteral("F_FieldName")).toString().trimmed();
        c.caption = r.value(QStringLiteral("F_Caption")).toString();
        applyRow(c, r);
        columns << c;
    }
    grid->setColumns(columns);
    return true;
}

bool ApplyGridLayout(DBGridEh *grid, const QString &gridName) {
    if (!grid)
        return false;
    QList<QSqlRecord> rows;
    if (!readLayoutRows(gridName, &rows))
        return false;
    QHash<QString, QSqlRecord> byField; // the first row in F_Order of each field
    for (const QSqlRecord &r : std::as_const(rows)) {
        const QString f = r.value(QStringLiteral("F_FieldName")).toString().trimmed().toLower();
        if (!byField.contains(f))
            byField.insert(f, r);
    }
    if (byField.isEmpty())
        return true;
    QList<GridColumn> columns = grid->columns();
    for (GridColumn &c : columns) {
        const auto it = byField.constFind(c.field.trimmed().toLower());
        if (it != byField.constEnd())
            applyRow(c, it.value());
    }
    grid->setColumns(columns);
    return true;
}

bool SaveGridLayout(DBGridEh *grid, const QString &gridName) {
    if (!grid)
        return false;
    grid->post();
    const QString sql = QStringLiteral(
        "update cfg_Grid set F_Caption = ?, F_Width = ?, F_ReadOnly = ?, F_Visible = ?, F_Order = ?, "
        "F_Alignment = ?, F_DisplayFormat = ?, F_FooterValue = ?, F_FooterType = ? "
        "where (lower(F_name) = lower(?) and lower(F_FieldName) = lower(?))");
    Transaction t(Database::db());
    const QList<GridColumn> columns = grid->columns();
    for (int i = 0; i < columns.size(); ++i) {
        const GridColumn &c = columns.at(i);
        const int footer = c.footerType == FooterKind::StaticText ? 1
                           : c.footerType == FooterKind::Sum      ? 2
                                                                  : 0;
        if (!TdmData::ExecSql(sql, {c.caption, c.width, c.readOnly ? 1 : 0, c.visible ? 1 : 0, i,
                                    grid->columnAlignment(i), c.displayFormat, c.footerValue, footer,
                                    gridName, c.field.trimmed()}))
            return false; // the guard rolls every column back
    }
    if (!t.commit()) {
        ShowMess(QStringLiteral("保存失败，请检测数据库连接！"), 3);
        return false;
    }
    return true;
}

bool SelectGridColumns(DBGridEh *grid) {
    return grid && TFrmDispFieldXZ::ChooseColumns(grid);
}

QString GetColumnCaption(const DBGridEh *grid, const QString &fieldName) {
    if (!grid)
        return QString();
    const int c = grid->columnOf(fieldName);
    return c < 0 ? QString() : grid->column(c).caption;
}
