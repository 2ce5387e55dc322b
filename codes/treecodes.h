#pragma once
#include <QString>

// The statements of the department tree (t_treecode) and of the department paths of employees.
// A path is two backslashes followed by the node names from the top level down, joined by single
// backslashes ("\\A\B"); the root's path is two backslashes.
namespace TreeCodes {

// The tree kind the department tree keeps.
inline QString deptKind() {
    return QStringLiteral("dept");
}
// The path of the root node.
inline QString rootPath() {
    return QStringLiteral("\\\\");
}

// The path of a node named name under the node whose path is parentPath.
QString ChildPath(const QString &parentPath, const QString &name);
// True when path is base itself or a path below it, comparing whole names (without regard to
// case): "\\A\B" is under "\\A", "\\AB" is not.
bool PathIsUnder(const QString &path, const QString &base);
// path (under oldBase) with its leading oldBase replaced by newBase.
QString RebasePath(const QString &path, const QString &oldBase, const QString &newBase);

// Empty when name may name a node; otherwise the message that refuses it.
QString CheckNodeName(const QString &name);
// True when a node of kind other than exceptCode already has this path (a sibling of the same
// name, without regard to case).
bool PathTaken(const QString &path, const QString &kind, const QString &exceptCode = QString());

// Stores a new node. Failure: "数据连接失败，请与作者联系... ".
bool AddNode(const QString &code, const QString &name, const QString &path, const QString &kind);
// Renames the node code of kind to name and moves the department of every employee and the path
// of every node of kind from oldPath (and below it) to newPath, all in one transaction.
// Failure: nothing is changed and the message is shown.
bool RenameNode(const QString &code, const QString &kind, const QString &name, const QString &oldPath,
                const QString &newPath);
// Deletes the node code of kind with every node below it.
bool DeleteSubtree(const QString &code, const QString &kind);

} // namespace TreeCodes
