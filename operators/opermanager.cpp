#include "opermanager.h"

#include "core/database.h"
#include "core/datadm.h"
#include "core/keltrin.h"
#include "core/transaction.h"

#include <QSqlQuery>

namespace {

const QString kSaveFailed = QStringLiteral("保存失败，请检测数据库连接！");

// Runs sql with binds on the program's connection without a message.
bool run(QSqlQuery &q, const QString &sql, const QVariantList &binds = {}) {
    return TdmData::RunQuery(q, sql, binds);
}

// The first field of the first row (an invalid value when there is none); false on failure.
bool lookup(const QString &sql, const QVariantList &binds, QVariant *out) {
    QSqlQuery q;
    if (!run(q, sql, binds))
        return false;
    *out = q.next() ? q.value(0) : QVariant();
    return true;
}

// The first column of every row whose trimmed text is not empty.
QStringList column(const QString &sql, const QVariantList &binds = {}) {
    QSqlQuery q;
    QStringList out;
    if (!TdmData::OpenSql(sql, q, binds))
        return out;
    while (q.next()) {
        const QString s = q.value(0).toString();
        if (!s.trimmed().isEmpty())
            out << s;
    }
    return out;
}

SaveResult failed() {
    ShowMess(kSaveFailed, 3);
    return SaveResult::Failed;
}

SaveResult refuse(const QString &text, SaveResult result, int kind = 0) {
    ShowMess(text, kind);
    return result;
}

} // namespace

QStringList rightNames() {
    return column(QStringLiteral("select F_Name from Limits where F_Flag = 1 order by F_Code"));
}

QStringList roleChoices() {
    return column(QStringLiteral("select F_Name from PartList where F_Flag = 0 order by F_Code"));
}

QStringList departmentChoices() {
    QStringList names =
        column(QStringLiteral("select F_Name from t_code where F_type = 'dept' order by F_ID"));
    names.removeDuplicates();
    return names;
}

bool loadOperator(const QString &code, OperatorData *out) {
    QSqlQuery q;
    if (!TdmData::OpenSql(QStringLiteral("select O.F_ID, O.F_Code, O.F_Name, O.F_Mem, O.F_Flag, O.F_new, "
                                         "O.F_edit, O.F_del, O.F_check, O.F_set, O.F_deptFlag, O.F_deptQX, "
                                         "P.F_Name as P_Name from OperList as O left join PartList as P "
                                         "on O.F_PartCode = P.F_Code where O.F_Code = ?"),
                          q, {code.trimmed()}) ||
        !q.next())
        return false;
    OperatorData d;
    d.id = q.value(0).toLongLong();
    d.code = q.value(1).toString();
    d.name = q.value(2).toString();
    d.mem = q.value(3).toString();
    d.disabled = q.value(4).toInt() != 0;
    d.rightNew = q.value(5).toInt() != 0;
    d.rightEdit = q.value(6).toInt() != 0;
    d.rightDelete = q.value(7).toInt() != 0;
    d.rightCheck = q.value(8).toInt() != 0;
    d.rightSet = q.value(9).toInt() != 0;
    d.deptFlag = qBound(0, q.value(10).toInt(), 2);
    d.deptList = d.deptFlag == 2 ? q.value(11).toString() : QString();
    d.roleName = q.value(12).toString();
    *out = d;
    return true;
}

bool loadRole(const QString &code, RoleData *out) {
    QSqlQuery q;
    if (!TdmData::OpenSql(
            QStringLiteral("select F_ID, F_Code, F_Name, F_Mem, F_Flag from PartList where F_Code = ?"), q,
            {code.trimmed()}) ||
        !q.next())
        return false;
    RoleData d;
    d.id = q.value(0).toLongLong();
    d.code = q.value(1).toString();
    d.name = q.value(2).toString();
    d.mem = q.value(3).toString();
    d.disabled = q.value(4).toInt() != 0;
    d.rights =
        column(QStringLiteral("select L.F_Name from PartLimit as P left join Limits as L on P.F_LmtCode = "
                              "L.F_Code where (P.F_PartCode = ?) and (L.F_Flag = 1) order by L.F_Code"),
               {d.code});
    d.rights.removeDuplicates();
    *out = d;
    return true;
}

SaveResult saveOperator(OperatorData &data) {
    const QString code = data.code.trimmed();
    if (code.isEmpty())
        return refuse(QStringLiteral("操作员编号不能为空！"), SaveResult::EmptyCode);
    if (data.roleName.trimmed().isEmpty())
        return refuse(QStringLiteral("角色类型不能为空，请选择角色！"), SaveResult::EmptyRole);

    QVariant found;
    if (!lookup(QStringLiteral("select count(*) from OperList where F_Code = ? and F_ID <> ?"),
                {code, data.id}, &found))
        return failed();
    if (found.toInt() > 0)
        return refuse(QStringLiteral("操作员编号重复!"), SaveResult::DuplicateCode);
    if (code == kSuperUserCode)
        return refuse(QStringLiteral("此用户为系统专用用户，不能被编辑！"), SaveResult::SuperUser, 2);

    if (!lookup(QStringLiteral("select F_Code from PartList where F_Name = ? order by F_ID"), {data.roleName},
                &found))
        return failed();
    const QString partCode = found.toString();
    if (!found.isValid())
        return refuse(QStringLiteral("角色类型不能为空，请选择角色！"), SaveResult::EmptyRole);

    const QVariantList common{data.name.trimmed(),
                              partCode,
                              data.mem.trimmed(),
                              int(data.disabled),
                              int(data.rightNew),
                              int(data.rightEdit),
                              int(data.rightDelete),
                              int(data.rightCheck),
                              int(data.rightSet),
                              data.deptFlag,
                              data.deptFlag == 2 ? data.deptList.trimmed() : QString()};
    Transaction t(Database::db());
    // a failure is rolled back before it is reported
    const auto fail = [&t] {
        t.rollback();
        return failed();
    };
    if (!t.active())
        return fail();
    QSqlQuery q;
    const bool keepPassword = data.id >= 0 && data.password.trimmed().isEmpty();
    if (data.id < 0) {
        if (!run(
                q,
                QStringLiteral("insert into OperList (F_Code, F_PassWord, F_Name, F_PartCode, F_Mem, F_Flag, "
                               "F_new, F_edit, F_del, F_check, F_set, F_deptFlag, F_deptQX) "
                               "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                QVariantList{code, SavePass(data.password)} + common))
            return fail();
        const qint64 id = q.lastInsertId().toLongLong();
        if (!t.commit())
            return fail();
        data.id = id;
    } else {
        const QString set = QStringLiteral("F_Name = ?, F_PartCode = ?, F_Mem = ?, F_Flag = ?, F_new = ?, "
                                           "F_edit = ?, F_del = ?, F_check = ?, F_set = ?, F_deptFlag = ?, "
                                           "F_deptQX = ?");
        QVariantList binds = common;
        QString sql = QStringLiteral("update OperList set ") + set;
        if (!keepPassword) {
            sql += QStringLiteral(", F_PassWord = ?");
            binds << SavePass(data.password);
        }
        sql += QStringLiteral(" where F_ID = ?");
        binds << data.id;
        if (!run(q, sql, binds) || q.numRowsAffected() != 1 || !t.commit())
            return fail();
    }
    data.code = code;
    return SaveResult::Saved;
}

SaveResult saveRole(RoleData &data) {
    const QString code = data.code.trimmed();
    const QString name = data.name.trimmed();
    if (code.isEmpty())
        return refuse(QStringLiteral("角色编号不能为空！"), SaveResult::EmptyCode);
    QVariant found;
    if (!lookup(QStringLiteral("select count(*) from PartList where F_Code = ? and F_ID <> ?"),
                {code, data.id}, &found))
        return failed();
    if (found.toInt() > 0)
        return refuse(QStringLiteral("角色编号重复!"), SaveResult::DuplicateCode);
    // operators are given a role by its name, so the name must tell the roles apart
    if (name.isEmpty())
        return refuse(QStringLiteral("角色名称不能为空！"), SaveResult::EmptyName);
    if (!lookup(QStringLiteral("select count(*) from PartList where F_Name = ? and F_ID <> ?"),
                {name, data.id}, &found))
        return failed();
    if (found.toInt() > 0)
        return refuse(QStringLiteral("角色名称重复!"), SaveResult::DuplicateName);

    Transaction t(Database::db());
    const auto fail = [&t] {
        t.rollback();
        return failed();
    };
    if (!t.active())
        return fail();
    QSqlQuery q;
    qint64 id = data.id;
    if (id < 0) {
        if (!run(q,
                 QStringLiteral("insert into PartList (F_Code, F_Name, F_Mem, F_Flag) values (?, ?, ?, ?)"),
                 {code, name, data.mem.trimmed(), int(data.disabled)}))
            return fail();
        id = q.lastInsertId().toLongLong();
    } else if (!run(q, QStringLiteral("update PartList set F_Name = ?, F_Mem = ?, F_Flag = ? where F_ID = ?"),
                    {name, data.mem.trimmed(), int(data.disabled), id}) ||
               q.numRowsAffected() != 1) {
        return fail();
    }
    if (!run(q, QStringLiteral("delete from PartLimit where F_PartCode = ?"), {code}))
        return fail();
    QStringList rights = data.rights;
    rights.removeDuplicates();
    for (const QString &right : rights) {
        if (!lookup(QStringLiteral("select F_Code from Limits where F_Name = ?"), {right}, &found))
            return fail();
        if (!found.isValid())
            continue;
        if (!run(q, QStringLiteral("insert into PartLimit (F_PartCode, F_LmtCode) values (?, ?)"),
                 {code, found.toString()}))
            return fail();
    }
    if (!t.commit())
        return fail();
    data.id = id;
    data.code = code;
    data.name = name;
    return SaveResult::Saved;
}

bool deleteOperator(const QString &code) {
    if (code.trimmed() == kSuperUserCode) {
        ShowMess(QStringLiteral("此用户为系统专用用户，不能被删除！"), 2);
        return false;
    }
    return TdmData::ExecSql(QStringLiteral("delete from OperList where F_Code = ?"), {code});
}

bool deleteRole(const QString &code) {
    // the role and its rights go together or not at all
    Transaction t(Database::db());
    QSqlQuery q;
    if (!t.active() || !run(q, QStringLiteral("delete from PartList where F_Code = ?"), {code}) ||
        !run(q, QStringLiteral("delete from PartLimit where F_PartCode = ?"), {code}) || !t.commit()) {
        ShowMess(QStringLiteral("删除操作失败，请检查数据连接... "), 3);
        return false;
    }
    return true;
}

PasswordChange changePassword(const QString &code, const QString &oldPassword, const QString &newPassword,
                              const QString &repeated) {
    QSqlQuery q;
    if (!run(q, QStringLiteral("select F_ID, F_PassWord from OperList where F_Code = ?"), {code.trimmed()})) {
        ShowMess(kSaveFailed, 3);
        return PasswordChange::Failed;
    }
    if (!q.next()) {
        ShowMess(QStringLiteral("此操作员并不存在，请重新选择操作员！"), 2);
        return PasswordChange::UnknownOperator;
    }
    const qint64 id = q.value(0).toLongLong();
    if (!CheckPass(q.value(1).toString(), oldPassword)) {
        ShowMess(QStringLiteral("旧口令输入错误，不能更改！"), 2);
        return PasswordChange::WrongOld;
    }
    if (newPassword.trimmed() != repeated.trimmed()) {
        ShowMess(QStringLiteral("新口令错误，不能更改！"), 0);
        return PasswordChange::Mismatch;
    }
    if (!run(q, QStringLiteral("update OperList set F_PassWord = ? where F_ID = ?"),
             {SavePass(newPassword), id}) ||
        q.numRowsAffected() != 1) {
        ShowMess(kSaveFailed, 3);
        return PasswordChange::Failed;
    }
    ShowMess(QStringLiteral("更改口令成功！"), 0);
    return PasswordChange::Changed;
}
