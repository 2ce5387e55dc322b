#include "empxzquery.h"

#include "hrmquery.h"

#include "core/database.h"
#include "core/datadm.h"
#include "core/keltrin.h"
#include "core/sqldialect.h"
#include "core/transaction.h"

#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace personnel {

namespace {

const QString kDbFailed = QStringLiteral("操作失败，请检查数据连接...");

// The numeric wage item columns F_gz100..F_gz119, F_gz200..F_gz219, F_gz300..F_gz319.
QStringList numericItemColumns() {
    QStringList cols;
    for (int group : {100, 200, 300})
        for (int i = 0; i < 20; ++i)
            cols << QStringLiteral("F_gz%1").arg(group + i);
    return cols;
}

} // namespace

QString likeEscaped(const QString &value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

QStringList empListItems() {
    QStringList items = hrm::valueAttributes();
    if (!items.isEmpty())
        items.last() += QLatin1Char(' ');
    return items;
}

SqlPart empXzQuery(const EmpXzFilter &f) {
    const QString like = Database::dialect().like();
    SqlPart q;
    q.sql = QStringLiteral("select * from t_employee where (F_useFlag = false) ");
    const SqlPart dept = deptRestriction();
    q.sql += dept.sql;
    q.binds += dept.binds;
    if (!f.monthKey.isEmpty()) {
        q.sql += QStringLiteral("and (not (F_code in (select F_Code from wg_salaryREC where F_Month = ?))) ");
        q.binds << f.monthKey;
    }
    const QString code = f.code.trimmed();
    if (!code.isEmpty()) {
        q.sql += QStringLiteral("and (F_code %1 ? escape '\\') ").arg(like);
        q.binds << likeEscaped(code) + QLatin1Char('%');
    }
    const QString name = f.name.trimmed();
    if (!name.isEmpty()) {
        q.sql += QStringLiteral("and (F_name %1 ? escape '\\') ").arg(like);
        q.binds << QLatin1Char('%') + likeEscaped(name) + QLatin1Char('%');
    }
    const QString duty = f.duty.trimmed();
    if (!duty.isEmpty()) {
        q.sql += QStringLiteral("and (F_duty %1 ? escape '\\') ").arg(like);
        q.binds << likeEscaped(duty) + QLatin1Char('%');
    }
    if (!f.listAll) {
        const SqlPart v = hrm::valueCondition(f.listAttr, f.listValue);
        q.sql += v.sql;
        q.binds += v.binds;
    }
    q.sql += QStringLiteral("order by F_code");
    return q;
}

bool isMonthKey(const QString &key) {
    static const QRegularExpression re(QStringLiteral("^[0-9]{4}(0[1-9]|1[0-2])$"));
    return re.match(key).hasMatch();
}

int appendWageRows(const QString &monthKey, const QList<qint64> &empIds) {
    if (!isMonthKey(monthKey)) {
        ShowMess(QStringLiteral("工资月份“%1”不正确，应为六位的年月（如202401）！").arg(monthKey), 2);
        return -1;
    }
    const QString monthText = QStringLiteral("%1年%2月").arg(monthKey.left(4), monthKey.mid(4));
    if (empIds.isEmpty())
        return 0;

    QSqlQuery q(Database::db());
    const auto run = [&q](const QString &sql, const QVariantList &binds) {
        if (!q.prepare(sql))
            return false;
        TdmData::BindAll(q, binds);
        return q.exec();
    };

    Transaction t(Database::db());
    if (!t.active()) {
        ShowMess(kDbFailed, 3);
        return -1;
    }
    if (!run(QStringLiteral("select count(*) from wg_Month where F_TableName = ?"), {monthKey}) ||
        !q.next()) {
        ShowMess(kDbFailed, 3);
        return -1;
    }
    if (q.value(0).toInt() == 0) {
        ShowMess(QStringLiteral("%1的工资表不存在，请先新建工资表！").arg(monthText), 2);
        return -1;
    }

    struct Pick {
        qint64 id;
        QString code;
        QString name;
    };
    QList<Pick> picks;
    QSet<QString> codes; // lower case: codes compare without regard to case
    const SqlPart dept = deptRestriction();
    for (const qint64 id : empIds) {
        if (!run(QStringLiteral("select F_code, F_name, F_useFlag from t_employee where (F_ID = ?) ") +
                     dept.sql,
                 QVariantList{id} + dept.binds)) {
            ShowMess(kDbFailed, 3);
            return -1;
        }
        if (!q.next()) {
            ShowMess(QStringLiteral("所选员工不存在或不在您可操作的部门中，请刷新列表后重新选择！"), 2);
            return -1;
        }
        const Pick p{id, q.value(0).toString(), q.value(1).toString()};
        if (q.value(2).toInt() != 0) {
            ShowMess(QStringLiteral("员工%1（%2）已离职，不能增加到工资表！").arg(p.name, p.code), 2);
            return -1;
        }
        if (codes.contains(p.code.toLower())) {
            ShowMess(QStringLiteral("所选员工中编号“%1”出现了两次，同一编号在一个月只能有一条工资记录！")
                         .arg(p.code),
                     2);
            return -1;
        }
        codes.insert(p.code.toLower());
        if (!run(QStringLiteral("select count(*) from wg_salaryREC where F_Month = ? and F_Code = ?"),
                 {monthKey, p.code}) ||
            !q.next()) {
            ShowMess(kDbFailed, 3);
            return -1;
        }
        if (q.value(0).toInt() > 0) {
            ShowMess(
                QStringLiteral("员工%1（%2）已有%3的工资记录，不能重复增加！").arg(p.name, p.code, monthText),
                2);
            return -1;
        }
        picks << p;
    }

    const QStringList items = numericItemColumns();
    QStringList zeros;
    for (int i = 0; i < items.size(); ++i)
        zeros << QStringLiteral("0");
    const QString insert =
        QStringLiteral("insert into wg_salaryREC (F_Month, F_Code, F_Name, F_Dept, F_Bank, %1) "
                       "select ?, F_code, F_name, F_dept, F_gongziCode, %2 from t_employee where F_ID = ?")
            .arg(items.join(QStringLiteral(", ")), zeros.join(QStringLiteral(", ")));
    for (const Pick &p : picks) {
        if (!run(insert, {monthKey, p.id}) || q.numRowsAffected() != 1) {
            ShowMess(kDbFailed, 3);
            return -1;
        }
    }
    if (!t.commit()) {
        ShowMess(kDbFailed, 3);
        return -1;
    }
    return picks.size();
}

} // namespace personnel
