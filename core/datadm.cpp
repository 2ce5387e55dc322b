#include "datadm.h"

#include "database.h"
#include "keltrin.h"
#include "prompter.h"
#include "session.h"
#include "sqldialect.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTreeWidget>

namespace TdmData {

namespace {

const QString kOpFailed = QStringLiteral("操作失败，请检查数据连接... ");

bool run(QSqlQuery &q, const QString &sql, const QVariantList &binds) {
    return RunQuery(q, sql, binds);
}

QVariant lookup(const QString &sql, const QVariantList &binds) {
    QSqlQuery q(Database::db());
    if (!run(q, sql, binds)) {
        ShowMess(kOpFailed, 3);
        return QVariant();
    }
    return q.next() ? q.value(0) : QVariant();
}

} // namespace

void BindAll(QSqlQuery &query, const QVariantList &binds) {
    for (const QVariant &v : binds) {
        // a null text is stored as empty text: text columns never hold NULL
        if (v.typeId() == QMetaType::QString && v.toString().isNull())
            query.addBindValue(QString(QLatin1String("")));
        else
            query.addBindValue(v);
    }
}

bool RunQuery(QSqlQuery &query, const QString &sql, const QVariantList &binds) {
    query = QSqlQuery(Database::db());
    if (!query.prepare(sql))
        return false;
    BindAll(query, binds);
    return query.exec();
}

bool DeleteById(const QString &table, qint64 id) {
    QSqlQuery q(Database::db());
    if (!run(q, QStringLiteral("delete from ") + table + QStringLiteral(" where F_ID = ?"), {id})) {
        ShowMess(QStringLiteral("删除操作失败，请检查数据连接... "), 3);
        return false;
    }
    return true;
}

bool ExecSqlQuiet(const QString &sql, const QVariantList &binds, QString *error) {
    QSqlQuery q(Database::db());
    if (run(q, sql, binds))
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

bool ExecSql(const QString &sql, const QVariantList &binds) {
    if (ExecSqlQuiet(sql, binds))
        return true;
    ShowMess(kOpFailed, 3);
    ShowMess(sql, 1);
    return false;
}

QString LookupStr(const QString &sql, const QVariantList &binds) {
    return lookup(sql, binds).toString();
}

double LookupFloat(const QString &sql, const QVariantList &binds) {
    return lookup(sql, binds).toDouble();
}

int LookupInt(const QString &sql, const QVariantList &binds) {
    return lookup(sql, binds).toInt();
}

bool OpenSql(const QString &sql, QSqlQuery &query, const QVariantList &binds) {
    query = QSqlQuery(Database::db());
    if (!run(query, sql, binds)) {
        ShowMess(QStringLiteral("打开操作失败，请检查数据连接... "), 3);
        return false;
    }
    return true;
}

bool FillCombo(const QString &sql, QComboBox *combo, const QVariantList &binds) {
    QSqlQuery q(Database::db());
    if (!run(q, sql, binds)) {
        ShowMess(kOpFailed, 3);
        return false;
    }
    combo->clear();
    while (q.next()) {
        const QString v = q.value(0).toString();
        if (!v.trimmed().isEmpty())
            combo->addItem(v);
    }
    return true;
}

bool HasRight(const QString &actionCode) {
    return LookupInt(QStringLiteral("select F_ID from PartLimit where (F_PartCode = ?) and (F_LmtCode = ?)"),
                     {session().CurPartCode, actionCode}) > 0;
}

namespace {

QTreeWidgetItem *makeNode(int level, const QString &code, const QString &name, const QString &likecode) {
    auto *item = new QTreeWidgetItem(QStringList{name});
    item->setData(0, NodeLevelRole, level);
    item->setData(0, NodeCodeRole, code);
    item->setData(0, NodeNameRole, name);
    item->setData(0, NodeLikeCodeRole, likecode);
    return item;
}

int levelOf(const QTreeWidgetItem *item) {
    return item->data(0, NodeLevelRole).toInt();
}

} // namespace

void LoadTreeCodes(QTreeWidget *tree, const QString &rootCaption, const QString &kind) {
    tree->clear();
    QTreeWidgetItem *root = makeNode(0, QStringLiteral("000"), rootCaption, QStringLiteral("\\\\"));
    tree->addTopLevelItem(root);
    root->setExpanded(true);
    QSqlQuery q(Database::db());
    if (!run(q,
             QStringLiteral(
                 "select F_code,F_name,F_likecode from t_treecode where F_flag = ? order by F_code"),
             {kind})) {
        ShowMess(kOpFailed, 3);
        return;
    }
    QTreeWidgetItem *last = root;
    while (q.next()) {
        const QString code = q.value(0).toString();
        const int len = code.size();
        QTreeWidgetItem *node = makeNode(len, code, q.value(1).toString(), q.value(2).toString());
        // climb to the nearest node that is shorter than this code: that is its parent
        QTreeWidgetItem *parent = last;
        while (parent != root && levelOf(parent) >= len)
            parent = parent->parent();
        parent->addChild(node);
        if (parent == root)
            node->setExpanded(true);
        last = node;
    }
    root->setExpanded(true);
}

QString GetTreePath(const QTreeWidgetItem *node, int mode) {
    const QTreeWidgetItem *start = mode == 1 ? node : (node ? node->parent() : nullptr);
    QString path;
    for (const QTreeWidgetItem *n = start; n && n->parent(); n = n->parent())
        path.prepend(QLatin1Char('\\') + n->data(0, NodeNameRole).toString());
    return QLatin1Char('\\') + path;
}

QString NextTreeCode(const QString &code, const QString &kind, int mode) {
    QString prefix = mode == 1 ? code.left(qMax(0, code.size() - 3)) : code;
    const SqlDialect &d = Database::dialect();
    QString top =
        LookupStr(QStringLiteral("select max(F_code) from t_treecode where substr(F_code, 1, ?) = ? "
                                 "and F_flag = ? and %1 <= ?")
                      .arg(d.length(QStringLiteral("F_code"))),
                  {prefix.size(), prefix, kind, prefix.size() + 3});
    if (mode == 1) {
        if (top.size() > code.size())
            top = top.left(code.size());
    } else if (top.size() == code.size()) {
        top += QStringLiteral("000");
    }
    QString suffix;
    if (top.size() < 3) {
        prefix.clear();
    } else {
        prefix = top.left(top.size() - 3);
        suffix = top.right(3);
    }
    if (!suffix.isEmpty()) {
        bool ok = false;
        const int n = suffix.toInt(&ok);
        if (!ok || n >= 999) {
            ShowMess(QStringLiteral("同一级最多只能有999个节点！"), 2);
            return QString();
        }
        suffix = QStringLiteral("%1").arg(n + 1, 3, 10, QLatin1Char('0'));
    } else {
        suffix = QStringLiteral("001"); // prefix is empty here in both modes
    }
    return prefix + suffix;
}

void AutoBackup(const QDate &today) {
    const QString folder = LookupStr(QStringLiteral("select f_BakPath from SysInfo")).trimmed();
    if (folder.isEmpty()) {
        ShowMess(QStringLiteral("没有设置备份目录，自动备份未执行。请在数据备份窗口中设置备份目录。"), 2);
        return;
    }
    QDir dir(folder);
    if (!dir.exists()) {
        if (ShowMess(QStringLiteral("当前目录") + folder + QStringLiteral(" 不存在，是否创建！"), 1) != 1)
            return;
        if (!QDir().mkpath(folder)) {
            ShowMess(QStringLiteral("目录") + folder + QStringLiteral(" 创建失败,请检测路径是否合法!"), 3);
            return;
        }
    }
    const QString target = dir.filePath(QStringLiteral("dp") + today.toString(QStringLiteral("yyyyMMdd")) +
                                        QStringLiteral(".back"));
    if (QFileInfo::exists(target))
        return;
    QString error;
    if (!Database::backupTo(target, &error))
        ShowMess(QStringLiteral("数据备份失败！") + QLatin1Char('\n') + error, 3);
}

} // namespace TdmData
