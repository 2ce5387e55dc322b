#include "empcxquery.h"

#include "empxzquery.h"

#include "core/database.h"
#include "core/sqldialect.h"

#include <QSet>

namespace personnel {

namespace {

// The stored empty date and the first date that counts as a real one.
const QString kFirstRealDate = QStringLiteral("1901-08-14");

bool parseDate(const QString &text, QDate *out) {
    const QDate d = QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        return false;
    *out = d;
    return true;
}

} // namespace

const QList<EmpCxQuery::TextField> &EmpCxQuery::textFields() {
    using M = Match;
    const QStringList yesNo{QStringLiteral("是"), QStringLiteral("否")};
    static const QList<TextField> fields{
        {QStringLiteral("员工编号："),
         QStringLiteral("edtCode"),
         QStringLiteral("F_code"),
         M::Prefix,
         {},
         {}},
        {QStringLiteral("员工名称："),
         QStringLiteral("edtName"),
         QStringLiteral("F_name"),
         M::Contains,
         {},
         {}},
        {QStringLiteral("部    门："), QStringLiteral("cbbDept"), QStringLiteral("F_dept"), M::Exact, {}, {}},
        {QStringLiteral("性    别："),
         QStringLiteral("cbbSex"),
         QStringLiteral("F_sex"),
         M::Contains,
         {},
         {QStringLiteral("男"), QStringLiteral("女")}},
        {QStringLiteral("职    务："),
         QStringLiteral("cbbduty"),
         QStringLiteral("F_duty"),
         M::Contains,
         QStringLiteral("duty"),
         {}},
        {QStringLiteral("婚    否："),
         QStringLiteral("cbbIFhun"),
         QStringLiteral("F_IFhun"),
         M::Contains,
         {},
         yesNo},
        {QStringLiteral("民    族："),
         QStringLiteral("cbbMinzu"),
         QStringLiteral("F_minzu"),
         M::Contains,
         QStringLiteral("minZu"),
         {}},
        {QStringLiteral("籍    贯："),
         QStringLiteral("edtJiguan"),
         QStringLiteral("F_jiguan"),
         M::Contains,
         {},
         {}},
        {QStringLiteral("学    历："),
         QStringLiteral("cbbXueLi"),
         QStringLiteral("F_xueli"),
         M::Contains,
         QStringLiteral("xueli"),
         {}},
        {QStringLiteral("学历类别："),
         QStringLiteral("cbbXueliLB"),
         QStringLiteral("F_xueliLB"),
         M::Contains,
         QStringLiteral("xueliLB"),
         {}},
        {QStringLiteral("档 案 号："),
         QStringLiteral("edtDAcode"),
         QStringLiteral("F_DAcode"),
         M::Contains,
         {},
         {}},
        {QStringLiteral("技术职称："),
         QStringLiteral("cbbJishuZC"),
         QStringLiteral("F_jishuZC"),
         M::Contains,
         QStringLiteral("jishuZC"),
         {}},
        {QStringLiteral("学    校："),
         QStringLiteral("edtXueXiao"),
         QStringLiteral("F_xuexiao"),
         M::Contains,
         {},
         {}},
        {QStringLiteral("专    业："),
         QStringLiteral("edtZhuanYe"),
         QStringLiteral("F_zhuanye"),
         M::Contains,
         {},
         {}},
        {QStringLiteral("现居住地："),
         QStringLiteral("edtAddress"),
         QStringLiteral("F_address"),
         M::Contains,
         {},
         {}},
        {QStringLiteral("身份证号："),
         QStringLiteral("edtSFZcode"),
         QStringLiteral("F_SFZcode"),
         M::Contains,
         {},
         {}},
        {QStringLiteral("录用来源："),
         QStringLiteral("cbbLaiyuan"),
         QStringLiteral("F_laiyuan"),
         M::Contains,
         QStringLiteral("laiyuan"),
         {}},
        {QStringLiteral("工资卡号："),
         QStringLiteral("edtGongZIcode"),
         QStringLiteral("F_gongziCode"),
         M::Contains,
         {},
         {}},
        {QStringLiteral("个人简历："),
         QStringLiteral("edtMemo1"),
         QStringLiteral("F_mem1"),
         M::Contains,
         {},
         {}},
        {QStringLiteral("政治面貌："),
         QStringLiteral("cbbZZmianmao"),
         QStringLiteral("F_ZZmianmao"),
         M::Contains,
         QStringLiteral("zzmianmao"),
         {}},
        {QStringLiteral("聘用形式："),
         QStringLiteral("cbbPYxingshi"),
         QStringLiteral("F_PYxingshi"),
         M::Contains,
         QStringLiteral("pyxingshi"),
         {}},
        {QStringLiteral("参 保 否："),
         QStringLiteral("cbbCBflag"),
         QStringLiteral("F_CBflag"),
         M::Contains,
         {},
         yesNo},
    };
    return fields;
}

QString EmpCxQuery::dateLabel(DateKind kind) {
    switch (kind) {
    case Hiring:
        return QStringLiteral("录用日期");
    case Graduation:
        return QStringLiteral("毕业日期");
    case Leaving:
        return QStringLiteral("离职日期");
    default:
        return QString();
    }
}

QString EmpCxQuery::dateColumn(DateKind kind) {
    switch (kind) {
    case Hiring:
        return QStringLiteral("F_beginDate");
    case Graduation:
        return QStringLiteral("F_biyeDate");
    case Leaving:
        return QStringLiteral("F_LZdate");
    default:
        return QString();
    }
}

bool EmpCxQuery::setText(const QString &column, const QString &value) {
    for (const TextField &f : textFields()) {
        if (f.column.compare(column, Qt::CaseInsensitive) == 0) {
            m_texts.insert(f.column.toLower(), value);
            return true;
        }
    }
    return false;
}

QString EmpCxQuery::text(const QString &column) const {
    return m_texts.value(column.toLower());
}

void EmpCxQuery::setBirthdayRange(bool on, const QString &from, const QString &to) {
    m_birthdayOn = on;
    m_birthFrom = from;
    m_birthTo = to;
}

bool EmpCxQuery::validate(QString *error) const {
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    for (int k = 0; k < DateKindCount; ++k) {
        const DateRange &r = m_dates[k];
        if (!r.on)
            continue;
        const QString label = dateLabel(DateKind(k));
        QDate from;
        QDate to;
        if (!r.from.trimmed().isEmpty() && !parseDate(r.from, &from))
            return fail(
                QStringLiteral("%1的起始日期“%2”不是正确的日期，请按yyyy-MM-dd输入！").arg(label, r.from));
        if (!r.to.trimmed().isEmpty() && !parseDate(r.to, &to))
            return fail(
                QStringLiteral("%1的截止日期“%2”不是正确的日期，请按yyyy-MM-dd输入！").arg(label, r.to));
        if (from.isValid() && to.isValid() && from > to)
            return fail(QStringLiteral("%1的起始日期不能晚于截止日期！").arg(label));
    }
    if (m_birthdayOn) {
        QDate from;
        QDate to;
        if (!parseDate(m_birthFrom, &from))
            return fail(
                QStringLiteral("生日的起始日期“%1”不是正确的日期，请按yyyy-MM-dd输入！").arg(m_birthFrom));
        if (!parseDate(m_birthTo, &to))
            return fail(
                QStringLiteral("生日的截止日期“%1”不是正确的日期，请按yyyy-MM-dd输入！").arg(m_birthTo));
    }
    return true;
}

QStringList EmpCxQuery::birthdayDays(const QDate &from, const QDate &to) {
    QStringList days;
    if (!from.isValid() || !to.isValid())
        return days;
    QDate end = to;
    if (end < from)
        end = end.addYears(1);
    QSet<QString> seen;
    for (QDate d = from; d <= end && seen.size() < 366; d = d.addDays(1)) {
        const QString day = d.toString(QStringLiteral("MM-dd"));
        if (seen.contains(day))
            continue;
        seen.insert(day);
        days << day;
        // a range over the end of February of a common year still finds those born on 02-29
        if (day == QLatin1String("02-28") && !QDate::isLeapYear(d.year()) && d.addDays(1) <= end &&
            !seen.contains(QStringLiteral("02-29"))) {
            seen.insert(QStringLiteral("02-29"));
            days << QStringLiteral("02-29");
        }
    }
    return days;
}

SqlPart EmpCxQuery::condition(bool withDeptRestriction) const {
    const QString like = Database::dialect().like();
    QStringList terms;
    QVariantList binds;

    const SqlPart dept = withDeptRestriction ? deptRestriction() : SqlPart();
    if (!dept.isEmpty()) {
        // "and (…) " without its leading "and"
        terms << dept.sql.trimmed().mid(4).trimmed();
        binds += dept.binds;
    }
    for (const TextField &f : textFields()) {
        const QString v = m_texts.value(f.column.toLower()).trimmed();
        if (v.isEmpty())
            continue;
        switch (f.match) {
        case Match::Prefix:
            terms << QStringLiteral("(%1 %2 ? escape '\\')").arg(f.column, like);
            binds << likeEscaped(v) + QLatin1Char('%');
            break;
        case Match::Contains:
            terms << QStringLiteral("(%1 %2 ? escape '\\')").arg(f.column, like);
            binds << QLatin1Char('%') + likeEscaped(v) + QLatin1Char('%');
            break;
        case Match::Exact:
            terms << QStringLiteral("(%1 = ?)").arg(f.column);
            binds << v;
            break;
        }
    }
    if (m_status == Status::InService)
        terms << QStringLiteral("(F_useFlag = false)");
    else if (m_status == Status::Left)
        terms << QStringLiteral("(F_useFlag = true)");
    for (int k = 0; k < DateKindCount; ++k) {
        const DateRange &r = m_dates[k];
        if (!r.on)
            continue;
        const QString col = dateColumn(DateKind(k));
        QDate d;
        if (parseDate(r.from, &d)) {
            terms << QStringLiteral("(%1 >= ?)").arg(col);
            binds << d.toString(QStringLiteral("yyyy-MM-dd"));
        }
        if (parseDate(r.to, &d)) {
            terms << QStringLiteral("(%1 <= ?)").arg(col);
            binds << d.toString(QStringLiteral("yyyy-MM-dd"));
        }
    }
    if (m_birthdayOn) {
        QDate from;
        QDate to;
        if (parseDate(m_birthFrom, &from) && parseDate(m_birthTo, &to)) {
            // an employee without a birth date (the stored empty date) has no birthday
            terms << QStringLiteral("(F_birthDay >= ?)");
            binds << kFirstRealDate;
            QStringList marks;
            for (const QString &day : birthdayDays(from, to)) {
                marks << QStringLiteral("?");
                binds << day;
            }
            terms << QStringLiteral("(substr(F_birthDay, 6, 5) in (%1))").arg(marks.join(QLatin1Char(',')));
        }
    }

    SqlPart part;
    if (!terms.isEmpty()) {
        part.sql = QStringLiteral("and (") + terms.join(QStringLiteral(" and ")) + QStringLiteral(") ");
        part.binds = binds;
    }
    return part;
}

SqlPart EmpCxQuery::statement() const {
    const SqlPart c = condition();
    SqlPart s;
    s.sql =
        QStringLiteral("select * from t_employee where (1=1) ") + c.sql + QStringLiteral("order by F_code ");
    s.binds = c.binds;
    return s;
}

} // namespace personnel
