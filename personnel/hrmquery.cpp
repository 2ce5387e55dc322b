#include "hrmquery.h"

#include "core/database.h"
#include "core/datadm.h"
#include "core/keltrin.h"
#include "core/transaction.h"

#include <QSqlQuery>

namespace hrm {

namespace {

struct SearchKind {
    const char *item;
    const char *column;
};

const SearchKind kSearchKinds[] = {
    {"---未选择---", ""},      {"编    号", "F_code"},      {"姓    名", "F_name"},
    {"档 案 号", "F_DAcode"},  {"毕业院校", "F_xuexiao"},   {"专    业", "F_zhuanye"},
    {"籍    贯", "F_jiguan"},  {"联系电话", "F_homePhone"}, {"手    机", "F_movePhone"},
    {"现居住地", "F_address"}, {"身份证号", "F_SFZcode"},   {"工资卡号", "F_gongziCode"},
    {"个人简历", "F_mem1"},    {"备    注", "F_mem2"},
};
constexpr int kSearchCount = int(sizeof(kSearchKinds) / sizeof(kSearchKinds[0]));

const SearchKind kAttributes[] = {
    {"性    别", "F_sex"},     {"部    门", "F_dept"},      {"婚    否", "F_IFhun"},
    {"职    务", "F_duty"},    {"民    族", "F_minzu"},     {"政治面貌", "F_ZZmianmao"},
    {"学历类别", "F_xueliLB"}, {"学    历", "F_xueli"},     {"技术职称", "F_jishuZC"},
    {"录用来源", "F_laiyuan"}, {"聘用形式", "F_PYxingshi"}, {"合同期限", "F_HTqixian"},
};
constexpr int kAttributeCount = int(sizeof(kAttributes) / sizeof(kAttributes[0]));

// The text of a like pattern that matches exactly what was typed (escape character "!").
QString likeEscaped(const QString &text) {
    QString out;
    out.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('!');
        out += c;
    }
    return out;
}

} // namespace

QStringList searchKinds() {
    QStringList items;
    for (const SearchKind &k : kSearchKinds)
        items << QString::fromUtf8(k.item);
    return items;
}

QString searchColumn(int kind) {
    if (kind <= 0 || kind >= kSearchCount)
        return QString();
    return QString::fromLatin1(kSearchKinds[kind].column);
}

SqlPart searchCondition(int kind, const QString &text) {
    SqlPart part;
    const QString column = searchColumn(kind);
    if (column.isEmpty())
        return part;
    part.sql = QStringLiteral("and %1 like ? escape '!' ").arg(column);
    part.binds << QStringLiteral("%") + likeEscaped(text.trimmed()) + QStringLiteral("%");
    return part;
}

QStringList valueAttributes() {
    QStringList items;
    for (const SearchKind &k : kAttributes)
        items << QString::fromUtf8(k.item);
    return items;
}

QString valueColumn(int attribute) {
    if (attribute < 0 || attribute >= kAttributeCount)
        return QString();
    return QString::fromLatin1(kAttributes[attribute].column);
}

SqlPart distinctValues(int attribute) {
    SqlPart part;
    const QString c = valueColumn(attribute);
    if (c.isEmpty())
        return part;
    part.sql =
        QStringLiteral("select distinct %1 as F_name from t_employee where (F_useFlag = 0) and (%1 <> '') "
                       "group by %1 order by %1")
            .arg(c);
    return part;
}

SqlPart valueCondition(int attribute, const QString &value) {
    SqlPart part;
    const QString c = valueColumn(attribute);
    if (c.isEmpty())
        return part;
    part.sql = QStringLiteral("and %1 = ? ").arg(c);
    part.binds << value;
    return part;
}

namespace {
void append(SqlPart &to, const SqlPart &part) {
    to.sql += part.sql;
    to.binds += part.binds;
}
} // namespace

SqlPart listQuery(const ListFilter &filter) {
    SqlPart q;
    q.sql = QStringLiteral("select * from t_employee where (1=1) ");
    append(q, deptRestriction(QStringLiteral("F_dept")));
    append(q, searchCondition(filter.searchKind, filter.searchText));
    if (!filter.includeLeft)
        q.sql += QStringLiteral("and F_useFlag = 0 ");
    if (filter.hasValue)
        append(q, valueCondition(filter.valueAttribute, filter.value));
    q.sql += QStringLiteral("order by F_code");
    return q;
}

SqlPart advancedQuery(const SqlPart &condition) {
    SqlPart q;
    q.sql = QStringLiteral("select * from t_employee where (1=1) ");
    append(q, deptRestriction(QStringLiteral("F_dept")));
    append(q, condition);
    q.sql += QStringLiteral("order by F_code");
    return q;
}

const QList<DetailTab> &detailTabs() {
    static const QList<DetailTab> tabs = [] {
        struct Def {
            const char *caption, *table, *record, *empty, *ask, *exportName;
        };
        const Def defs[] = {
            {"工作经历", "t_gongzuoJL", "工作经历", "工作经历记录", "真的要删除当前工作经历吗？", "工作记录"},
            {"培训记录", "T_PXrec", "培训记录", "培训记录", "真的要删除当前的培训经历吗？", "培训记录"},
            {"调动记录", "T_DDrec", "调动记录", "调动记录", "真的要删除当前的调动记录吗？", "调动记录"},
            {"考评记录", "t_KHrec", "考评记录", "考评记录", "真的要删除当前的考评记录吗？", "考评记录"},
            {"合同档案", "T_HTrec", "合同记录", "合同档案", "真的要删除当前的合同记录吗？", "合同记录"},
            {"调薪记录", "T_TXrec", "调薪记录", "调薪记录", "真的要删除当前的调薪记录吗？", "调薪记录"},
            {"奖惩记录", "T_QCrec", "奖惩记录", "员工奖惩记录", "真的要删除当前的奖惩记录吗？", "奖惩记录"},
        };
        QList<DetailTab> list;
        int n = 1;
        for (const Def &d : defs) {
            DetailTab t;
            t.caption = QString::fromUtf8(d.caption);
            t.table = QString::fromLatin1(d.table);
            t.layoutKey = QStringLiteral("hrmdetail%1").arg(n++);
            t.recordName = QString::fromUtf8(d.record);
            t.editEmpty = QStringLiteral("此表为空，没有%1需要修改！").arg(QString::fromUtf8(d.empty));
            t.deleteAsk = QString::fromUtf8(d.ask);
            t.exportName = QString::fromUtf8(d.exportName);
            list << t;
        }
        return list;
    }();
    return tabs;
}

SqlPart detailQuery(int tab, qint64 employeeId) {
    SqlPart q;
    if (tab < 0 || tab >= detailTabs().size())
        return q;
    q.sql =
        QStringLiteral("select * from %1 where F_empID = ? order by F_ID").arg(detailTabs().at(tab).table);
    q.binds << employeeId;
    return q;
}

QStringList subRecordTables() {
    return {QStringLiteral("t_gongzuoJL"), QStringLiteral("T_HTrec"),  QStringLiteral("T_PXrec"),
            QStringLiteral("t_KHrec"),     QStringLiteral("T_DDrec"),  QStringLiteral("T_QCrec"),
            QStringLiteral("T_TXrec"),     QStringLiteral("t_ZJZrec"), QStringLiteral("t_JSZrec")};
}

bool deleteEmployee(qint64 id) {
    auto fail = [] {
        ShowMess(QStringLiteral("操作失败，请检查连接..."), 3);
        return false;
    };
    QSqlQuery find(Database::db());
    find.prepare(QStringLiteral("select F_code from t_employee where F_ID = ?"));
    find.addBindValue(id);
    if (!find.exec())
        return fail();
    if (!find.next())
        return false; // already gone
    const QString code = find.value(0).toString();
    find.finish();

    Transaction t(Database::db());
    for (const QString &table : subRecordTables()) {
        QString sql = QStringLiteral("delete from %1 where F_empID = ?").arg(table);
        QVariantList binds{id};
        // the permit tables are linked by code; rows written without the key are found by it
        if (table == QLatin1String("t_ZJZrec") || table == QLatin1String("t_JSZrec")) {
            if (!code.isEmpty()) {
                sql += QStringLiteral(" or (coalesce(F_empID, 0) = 0 and F_code = ?)");
                binds << code;
            }
        }
        if (!TdmData::ExecSqlQuiet(sql, binds))
            return fail();
    }
    if (!TdmData::ExecSqlQuiet(QStringLiteral("delete from t_employee where F_ID = ?"), {id}))
        return fail();
    if (!t.commit())
        return fail();
    return true;
}

bool setEmployeeDept(qint64 id, const QString &dept) {
    QSqlQuery q(Database::db());
    q.prepare(QStringLiteral("update t_employee set F_dept = ? where F_ID = ?"));
    q.addBindValue(dept);
    q.addBindValue(id);
    return q.exec() && q.numRowsAffected() == 1;
}

QString employeeSummary(const QVariantMap &e) {
    auto text = [&e](const char *field) {
        for (auto it = e.cbegin(); it != e.cend(); ++it)
            if (it.key().compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
                return it.value().toString();
        return QString();
    };
    struct Line {
        const char *label, *field;
        bool date;
    };
    const Line lines[] = {
        {"员工编号", "F_code", false},      {"员工名称", "F_name", false},
        {"性    别", "F_sex", false},       {"员工部门", "F_dept", false},
        {"档 案 号", "F_DAcode", false},    {"职    务", "F_duty", false},
        {"学    历", "F_xueli", false},     {"技术职称", "F_jishuZC", false},
        {"毕业学校", "F_xuexiao", false},   {"专    业", "F_zhuanye", false},
        {"籍    贯", "F_jiguan", false},    {"身份证号", "F_SFZcode", false},
        {"现居住地", "F_address", false},   {"生    日", "F_birthDay", true},
        {"录用日期", "F_beginDate", true},  {"录用来源", "F_laiyuan", false},
        {"聘用形式", "F_PYxingshi", false},
    };
    QStringList out{QString()};
    for (const Line &l : lines) {
        QString v = text(l.field);
        if (l.date) {
            v = v.left(10);
            if (v.isEmpty() || v < QLatin1String("1901-08-14"))
                continue;
        }
        out << QStringLiteral("  %1:%2").arg(QString::fromUtf8(l.label), v);
    }
    return out.join(QLatin1Char('\n'));
}

} // namespace hrm
