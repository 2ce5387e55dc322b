#pragma once
#include <QString>
#include <QStringList>

// The code of the built-in super user, which can be neither edited nor deleted.
inline const QString kSuperUserCode = QStringLiteral("000");

// One operator as the editor shows and saves it.
struct OperatorData {
    qint64 id = -1; // OperList.F_ID; -1 for a new operator
    QString code;
    QString name;
    // The typed password. For an existing operator the empty text keeps the stored password;
    // for a new one it is the empty password.
    QString password;
    QString roleName; // PartList.F_Name of the operator's role
    QString mem;
    bool disabled = false;
    bool rightNew = true;
    bool rightEdit = true;
    bool rightDelete = true;
    bool rightCheck = true;
    bool rightSet = true;
    int deptFlag = 0; // 0 all departments, 1 own department, 2 listed departments
    QString deptList; // the listed departments in their stored form "'a','b'"
};

// One role with the display names (Limits.F_Name) of the rights it holds.
struct RoleData {
    qint64 id = -1; // PartList.F_ID; -1 for a new role
    QString code;
    QString name;
    QString mem;
    bool disabled = false;
    QStringList rights;
};

// What a save did. Every refusal has shown its message and written nothing.
enum class SaveResult {
    Saved,
    EmptyCode,     // "操作员编号不能为空！" / "角色编号不能为空！"
    EmptyRole,     // "角色类型不能为空，请选择角色！"
    DuplicateCode, // "操作员编号重复!" / "角色编号重复!"
    EmptyName,     // "角色名称不能为空！"
    DuplicateName, // "角色名称重复!"
    SuperUser,     // "此用户为系统专用用户，不能被编辑！"
    Failed         // rolled back after "保存失败，请检测数据库连接！"
};

// What a password change did; every outcome has shown its message.
enum class PasswordChange {
    Changed,         // "更改口令成功！"
    UnknownOperator, // the operator is no longer there
    WrongOld,        // "旧口令输入错误，不能更改！"
    Mismatch,        // "新口令错误，不能更改！"
    Failed           // "保存失败，请检测数据库连接！"
};

// The display names of the rights offered (Limits rows that are switched on), in code order.
QStringList rightNames();
// The names of the roles an operator may be given (roles not marked "角色禁用").
QStringList roleChoices();
// The department names offered by the department picker, in the order they were entered.
QStringList departmentChoices();

// Reads the operator with the trimmed code; its password stays empty (the stored hash is never
// shown). False when there is no such operator or it could not be read.
bool loadOperator(const QString &code, OperatorData *out);
// Reads the role with the trimmed code and the switched-on rights it holds.
bool loadRole(const QString &code, RoleData *out);

// Checks and writes an operator in one transaction: code, name and description trimmed, the
// password as a salted hash (kept when left empty on an existing operator), the role by its
// name, the department list only with restriction 2. A new operator's id is filled in.
SaveResult saveOperator(OperatorData &data);
// Checks and writes a role and replaces all its rights with the ticked ones, in one transaction.
SaveResult saveRole(RoleData &data);

// Deletes the operator with code; "000" is refused with "此用户为系统专用用户，不能被删除！".
bool deleteOperator(const QString &code);
// Deletes the role with code and its rights; its operators keep the role code.
bool deleteRole(const QString &code);

// Changes the password of the operator with code when oldPassword fits and the new password
// equals its repetition (both trimmed).
PasswordChange changePassword(const QString &code, const QString &oldPassword, const QString &newPassword,
                              const QString &repeated);
