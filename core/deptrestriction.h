#pragma once
#include <QString>
#include <QStringList>
#include <QVariantList>

class QComboBox;

// A piece of SQL with its bound values, to be appended to a statement.
struct SqlPart {
    QString sql;
    QVariantList binds;
    bool isEmpty() const { return sql.isEmpty(); }
};

// The department names of a stored list "'a','b'" (quotes doubled inside names).
QStringList parseDeptList(const QString &quotedList);
// The stored form of a list of department names.
QString formatDeptList(const QStringList &names);

// The condition a list window appends for the logged-in operator's department restriction:
// nothing for flag 0, "and (<column> = ?) " for flag 1, "and (<column> in (?,…)) " for flag 2.
// A flag 2 with an empty list yields a condition that matches nothing.
SqlPart deptRestriction(const QString &column = QStringLiteral("F_dept"));
// Fills a department choice box as the restriction allows: all departments (flag 0), the own
// department only, disabled and skipped by Tab (flag 1), or the listed ones (flag 2).
void fillDeptCombo(QComboBox *combo);
