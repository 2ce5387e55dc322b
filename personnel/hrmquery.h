#pragma once
#include "core/deptrestriction.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The statements of the employee archive: the list query with its quick search, "包含已离职" and
// value-list conditions, the value lists, the seven tab queries, and the changes the archive
// makes (deleting an employee with all sub-records, changing an employee's department).
namespace hrm {

// What the archive's filters hold when the list is refreshed.
struct ListFilter {
    int searchKind = 0;       // index in searchKinds(); 0 adds no condition
    QString searchText;       // the quick search text (trimmed before use)
    bool includeLeft = false; // "包含已离职"
    int valueAttribute = 0;   // index in valueAttributes()
    bool hasValue = false;    // false: the value list's "全部" row (no condition)
    QString value;            // the chosen value of the attribute
};

// The quick search kinds in combo order; index 0 "---未选择---" searches nothing.
QStringList searchKinds();
// The column a search kind looks in; empty for index 0 and unknown kinds.
QString searchColumn(int kind);
// "and <column> like ? " with the text in between wildcards (the text's own % and _ match only
// themselves); nothing for kind 0 or an unknown kind. Applied also to an empty text.
SqlPart searchCondition(int kind, const QString &text);

// The value-list attributes in combo order ("性    别", "部    门", ...).
QStringList valueAttributes();
// The column of a value-list attribute; empty for an unknown index.
QString valueColumn(int attribute);
// The distinct non-empty values of an attribute among employees in service, in query order
// (every department: the operator's restriction does not apply to the offer).
SqlPart distinctValues(int attribute);
// "and <column> = ? " for the chosen value.
SqlPart valueCondition(int attribute, const QString &value);

// The archive's list statement: every employee column, the operator's department restriction,
// the quick search, employees in service unless includeLeft, the value condition, by code.
SqlPart listQuery(const ListFilter &filter);
// The advanced query's condition in place of the filters: restriction, condition, by code.
SqlPart advancedQuery(const SqlPart &condition);

// The seven tabs in page order.
struct DetailTab {
    QString caption;    // tab caption ("工作经历")
    QString table;      // the sub-record table
    QString layoutKey;  // stored grid layout ("hrmdetail1")
    QString recordName; // in "请先选择要增加“…”的员工！"
    QString editEmpty;  // "此表为空，没有…需要修改！"
    QString deleteAsk;  // "真的要删除当前…吗？"
    QString exportName; // default export file name
};
const QList<DetailTab> &detailTabs();
// "select * from <table> where F_empID = ? " of a tab, bound to the employee.
SqlPart detailQuery(int tab, qint64 employeeId);

// The nine sub-record tables, in the order the deletion empties them.
QStringList subRecordTables();
// Deletes an employee and every sub-record row of the nine tables in one transaction
// (t_ZJZrec and t_JSZrec rows written without the employee's key are found by code). Payroll
// rows stay. False after "操作失败，请检查连接..." (error) with everything rolled back.
bool deleteEmployee(qint64 id);
// Writes an employee's department; no message, false when the row could not be written.
bool setEmployeeDept(qint64 id, const QString &dept);

// The summary of an employee for the tab editors: an empty first line, then up to 17 labelled
// lines ("  员工编号:" code, ...); the two dates only when not empty.
QString employeeSummary(const QVariantMap &employee);

} // namespace hrm
