#include "sqldialect.h"

QString SqlDialect::length(const QString &expr) const {
    return (m_engine == PostgreSQL ? QStringLiteral("char_length(%1)") : QStringLiteral("length(%1)")).arg(expr);
}

QString SqlDialect::instr(const QString &haystack, const QString &needle) const {
    return m_engine == PostgreSQL ? QStringLiteral("strpos(%1, %2)").arg(haystack, needle)
                                  : QStringLiteral("instr(%1, %2)").arg(haystack, needle);
}

QString SqlDialect::today() const {
    return m_engine == PostgreSQL ? QStringLiteral("to_char(current_date, 'YYYY-MM-DD')")
                                  : QStringLiteral("date('now', 'localtime')");
}

QString SqlDialect::toInt(const QString &expr) const {
    return m_engine == PostgreSQL ? QStringLiteral("cast(%1 as integer)").arg(expr)
                                  : QStringLiteral("cast(%1 as integer)").arg(expr);
}

QString SqlDialect::like() const { return m_engine == PostgreSQL ? QStringLiteral("ilike") : QStringLiteral("like"); }

QString SqlDialect::autoKey() const {
    return m_engine == PostgreSQL ? QStringLiteral("serial primary key")
                                  : QStringLiteral("integer primary key autoincrement");
}
