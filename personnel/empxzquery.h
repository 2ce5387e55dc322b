#pragma once
#include "core/deptrestriction.h"

#include <QList>
#include <QString>
#include <QStringList>

// Statements and changes behind the employee selection dialog (员工选择), kept apart from the
// widgets so that they can be called without showing the dialog.
namespace personnel {

// Text for a "like ? escape '\'" pattern that finds value as typed: %, _ and \ lose their
// pattern meaning.
QString likeEscaped(const QString &value);

// The value-list attributes of the selection dialog: the archive's attributes (性别, 部门, …),
// the last item reading "合同期限 ". Their values and conditions are the archive's
// (hrm::distinctValues, hrm::valueCondition).
QStringList empListItems();

// What the selection list is filtered by.
struct EmpXzFilter {
    QString code;        // prefix of F_code
    QString name;        // part of F_name
    QString duty;        // prefix of F_duty
    int listAttr = -1;   // value-list attribute (index into empListItems()), -1 for none
    bool listAll = true; // the value list's "全部" row is selected
    QString listValue;   // the selected value when listAll is false
    QString monthKey;    // wage-month mode: leave out employees who already have a row in this month
};

// The selection list: employees in service within the operator's departments, filtered as f
// says (blank boxes add nothing), ordered by code.
SqlPart empXzQuery(const EmpXzFilter &f);

// True for a month key "yyyyMM" with a month 01..12.
bool isMonthKey(const QString &key);

// Appends one wage row of month monthKey for each employee F_ID in empIds, all in one
// transaction: code, name and department copied from the employee, the bank number from the
// wage card number, every numeric item 0, every text item empty. Refused with a message and
// nothing written when the month key is wrong, the month's wage table does not exist, an
// employee is unknown, has left, lies outside the operator's departments, already has a row in
// the month, or is picked twice under one code. Returns the number of rows appended, -1 when
// refused or failed.
int appendWageRows(const QString &monthKey, const QList<qint64> &empIds);

} // namespace personnel
