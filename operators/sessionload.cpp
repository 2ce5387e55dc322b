#include "sessionload.h"

#include "core/configini.h"
#include "core/database.h"
#include "core/datadm.h"
#include "core/keltrin.h"
#include "core/pubunit.h"
#include "core/session.h"

#include <QSqlQuery>
#include <QVariantList>

namespace {

const QString kSuperUser = QStringLiteral("000");

// Runs sql with its values on the program's connection; shows the data module's failure text.
bool openQuery(QSqlQuery &q, const QString &sql, const QVariantList &binds) {
    const bool ok = TdmData::RunQuery(q, sql, binds);
    if (!ok)
        ShowMess(QStringLiteral("操作失败，请检查数据连接... "), 3);
    return ok;
}

} // namespace

QString operatorName(const QString &code) {
    const QString c = code.trimmed();
    if (c.isEmpty())
        return QString();
    QSqlQuery q;
    if (!openQuery(q, QStringLiteral("select F_Name from OperList where F_Code = ?"), {c}) || !q.next())
        return QString();
    return q.value(0).toString();
}

LoginVerdict checkLogin(const QString &code, const QString &password) {
    const QString c = code.trimmed();
    if (c.isEmpty())
        return LoginVerdict::NoCode;
    QSqlQuery q;
    if (!openQuery(q, QStringLiteral("select F_PassWord, F_Flag from OperList where F_Code = ?"), {c}) ||
        !q.next())
        return LoginVerdict::UnknownOperator;
    if (!CheckPass(q.value(0).toString(), password))
        return LoginVerdict::WrongPassword;
    // a disabled operator learns so only with the right password
    if (q.value(1).toInt() == 1)
        return LoginVerdict::Disabled;
    return LoginVerdict::Ok;
}

int configDecimalPlaces(const QString &key) {
    const int places = configIni().readInteger(QStringLiteral("sys"), key, 2);
    return places < 0 || places > 10 ? 2 : places;
}

bool loadSession(const QString &code, const QString &name) {
    // fill a copy: the running session changes only when everything could be read
    Session s = session();
    s.CurOperCode = code.trimmed();
    s.CurOperName = name;
    if (s.CurOperCode == kSuperUser) {
        s.CurPartCode.clear();
        s.CurDeptScope.clear();
        s.CurDeptFlag = 0;
    } else {
        QSqlQuery q;
        if (!openQuery(
                q, QStringLiteral("select F_PartCode, F_deptQX, F_deptFlag from OperList where F_Code = ?"),
                {s.CurOperCode}))
            return false;
        if (!q.next()) {
            ShowMess(QStringLiteral("此操作员并不存在，请重新选择操作员！"), 0);
            return false;
        }
        s.CurPartCode = q.value(0).toString();
        s.CurDeptScope = q.value(1).toString();
        s.CurDeptFlag = q.value(2).toInt();
        if (s.CurDeptFlag == 1) {
            // the own department is the one of the employee with the operator's code, if any
            if (!openQuery(q, QStringLiteral("select F_dept from t_employee where F_code = ? order by F_ID"),
                           {s.CurOperCode}))
                return false;
            s.CurDeptScope = q.next() ? q.value(0).toString() : QString();
        }
    }

    QSqlQuery info;
    if (!openQuery(info, QStringLiteral("select F_Code, F_Phone, F_HandPhone from SysInfo order by F_ID"),
                   {}))
        return false;
    const bool hasInfo = info.next();
    s.CompanyName = hasInfo ? info.value(0).toString() : QString();
    s.CompanyPhone = hasInfo ? info.value(1).toString() : QString();
    s.CompanyFax = hasInfo ? info.value(2).toString() : QString();

    s.iAmount = configDecimalPlaces(QStringLiteral("iAmount"));
    s.iPrice = configDecimalPlaces(QStringLiteral("iPrice"));
    s.iTotal = configDecimalPlaces(QStringLiteral("iTotal"));

    configIni().writeString(QStringLiteral("Config"), QStringLiteral("CurOperCode"), s.CurOperCode);
    session() = s;
    BuildNumberFormats();
    return true;
}
