#include "treecodes.h"

#include "core/database.h"
#include "core/datadm.h"
#include "core/keltrin.h"
#include "core/transaction.h"

#include <QSqlQuery>
#include <QVector>
#include <utility>

namespace TreeCodes {

namespace {

const QString kInsertFailed = QStringLiteral("数据连接失败，请与作者联系... ");
const QString kOpFailed = QStringLiteral("操作失败，请检查数据连接... ");

using Rows = QVector<std::pair<qint64, QString>>;

// The key and text of every row that sql selects (F_ID first, the text second).
bool readRows(const QString &sql, const QVariantList &binds, Rows *rows) {
    QSqlQuery q(Database::db());
    if (!q.prepare(sql))
        return false;
    TdmData::BindAll(q, binds);
    if (!q.exec())
        return false;
    while (q.next())
        rows->append({q.value(0).toLongLong(), q.value(1).toString()});
    return true;
}

// Rewrites the text column of every row under oldPath; false on the first failure.
bool rebaseRows(const QString &table, const QString &column, const Rows &rows, const QString &oldPath,
                const QString &newPath) {
    const QString sql = QStringLiteral("update %1 set %2 = ? where F_ID = ?").arg(table, column);
    for (const auto &[id, path] : rows) {
        if (!PathIsUnder(path, oldPath))
            continue;
        if (!TdmData::ExecSqlQuiet(sql, {RebasePath(path, oldPath, newPath), id}))
            return false;
    }
    return true;
}

} // namespace

QString ChildPath(const QString &parentPath, const QString &name) {
    const QString parent = parentPath.trimmed();
    if (parent.isEmpty() || parent == rootPath())
        return rootPath() + name;
    return parent + QLatin1Char('\\') + name;
}

bool PathIsUnder(const QString &path, const QString &base) {
    if (base.isEmpty() || path.size() < base.size())
        return false;
    if (QStringView(path).left(base.size()).compare(base, Qt::CaseInsensitive) != 0)
        return false;
    // the match must end where a name ends
    return path.size() == base.size() || path.at(base.size()) == QLatin1Char('\\');
}

QString RebasePath(const QString &path, const QString &oldBase, const QString &newBase) {
    return newBase + path.mid(oldBase.size());
}

QString CheckNodeName(const QString &name) {
    if (name.trimmed().isEmpty())
        return QStringLiteral("部门名称不能为空！");
    if (name.contains(QLatin1Char('\\')))
        return QStringLiteral("部门名称不能包含反斜杠“\\”，它是部门路径的分隔符！");
    return QString();
}

bool PathTaken(const QString &path, const QString &kind, const QString &exceptCode) {
    Rows rows;
    if (!readRows(QStringLiteral("select F_ID, F_likecode from t_treecode where F_flag = ? and F_code <> ?"),
                  {kind, exceptCode}, &rows))
        return false;
    for (const auto &row : rows)
        if (row.second.compare(path, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool AddNode(const QString &code, const QString &name, const QString &path, const QString &kind) {
    if (TdmData::ExecSqlQuiet(
            QStringLiteral("insert into t_treecode (F_code, F_name, F_likecode, F_flag) values (?, ?, ?, ?)"),
            {code, name, path, kind}))
        return true;
    ShowMess(kInsertFailed, 3);
    return false;
}

bool RenameNode(const QString &code, const QString &kind, const QString &name, const QString &oldPath,
                const QString &newPath) {
    Transaction t(Database::db());
    if (!t.active()) {
        ShowMess(kOpFailed, 3);
        return false;
    }
    if (oldPath != newPath) {
        Rows employees;
        Rows nodes;
        const bool moved =
            readRows(QStringLiteral("select F_ID, F_dept from t_employee where F_dept <> ''"), {},
                     &employees) &&
            rebaseRows(QStringLiteral("t_employee"), QStringLiteral("F_dept"), employees, oldPath, newPath) &&
            readRows(QStringLiteral("select F_ID, F_likecode from t_treecode where F_flag = ?"), {kind},
                     &nodes) &&
            rebaseRows(QStringLiteral("t_treecode"), QStringLiteral("F_likecode"), nodes, oldPath, newPath);
        if (!moved) {
            ShowMess(kOpFailed, 3);
            return false;
        }
    }
    if (!TdmData::ExecSqlQuiet(
            QStringLiteral(
                "update t_treecode set F_name = ?, F_likecode = ? where F_code = ? and F_flag = ?"),
            {name, newPath, code, kind}) ||
        !t.commit()) {
        ShowMess(kInsertFailed, 3);
        return false;
    }
    return true;
}

bool DeleteSubtree(const QString &code, const QString &kind) {
    if (code.isEmpty())
        return false;
    return TdmData::ExecSql(
        QStringLiteral("delete from t_treecode where substr(F_code, 1, ?) = ? and F_flag = ?"),
        {code.size(), code, kind});
}

} // namespace TreeCodes
