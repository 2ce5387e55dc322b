#pragma once
#include <QDate>
#include <QString>
#include <QVariantList>

class QComboBox;
class QSqlQuery;
class QTreeWidget;
class QTreeWidgetItem;

// The data module's services over the program's connection. Every value goes in as a bound
// parameter ("?" placeholders in sql, values in binds). Each service reports its own database
// failure through ShowMess and returns an empty or false result.
namespace TdmData {

// Binds values to the "?" placeholders of a prepared query, in order; a null text binds as
// empty text.
void BindAll(QSqlQuery &query, const QVariantList &binds);
// Prepares sql on query (on the program's connection), binds the values and runs it, without
// any message: the caller reports a failure.
bool RunQuery(QSqlQuery &query, const QString &sql, const QVariantList &binds = {});
// Deletes the row with key id from table. Failure: "删除操作失败，请检查数据连接... ".
bool DeleteById(const QString &table, qint64 id);
// Runs one statement. Failure: "操作失败，请检查数据连接... " and then the statement text.
bool ExecSql(const QString &sql, const QVariantList &binds = {});
// Runs one statement without any message; *error receives the database's text on failure.
bool ExecSqlQuiet(const QString &sql, const QVariantList &binds = {}, QString *error = nullptr);
// First field of the first row as text; empty when no row or on failure.
QString LookupStr(const QString &sql, const QVariantList &binds = {});
// First field of the first row as a number / whole number; 0 when no row or on failure.
double LookupFloat(const QString &sql, const QVariantList &binds = {});
int LookupInt(const QString &sql, const QVariantList &binds = {});
// Prepares and opens sql on query (on the program's connection). Failure:
// "打开操作失败，请检查数据连接... " and false.
bool OpenSql(const QString &sql, QSqlQuery &query, const QVariantList &binds = {});
// Clears combo and adds the first field of every row whose trimmed text is not empty.
bool FillCombo(const QString &sql, QComboBox *combo, const QVariantList &binds = {});
// True when the logged-in operator's role holds the action code.
bool HasRight(const QString &actionCode);

// Tree codes of t_treecode. Each item carries its node data in these roles of column 0.
enum TreeRole { NodeLevelRole = 0x0100 + 1, NodeCodeRole, NodeNameRole, NodeLikeCodeRole };
// Fills tree with a root (code "000", name rootCaption) and the nodes of the given kind.
void LoadTreeCodes(QTreeWidget *tree, const QString &rootCaption, const QString &kind);
// The stored path of a node ("\\A\B"): mode 1 from the node itself, otherwise from its parent.
QString GetTreePath(const QTreeWidgetItem *node, int mode);
// The code for a new node: mode 1 a sibling of code, mode 2 a child. Empty (after the message
// "同一级最多只能有999个节点！") when that level already holds code 999.
QString NextTreeCode(const QString &code, const QString &kind, int mode);

// Runs the automatic backup to the folder of SysInfo.f_BakPath: one file "dp<yyyyMMdd>.back"
// per day, a consistent copy of the open database. today is the date to name the file by.
void AutoBackup(const QDate &today);

} // namespace TdmData
