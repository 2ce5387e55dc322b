#pragma once
#include <QString>

// The few places where SQLite and PostgreSQL differ; every other statement is written in the
// subset both run.
class SqlDialect {
public:
    enum Engine { SQLite, PostgreSQL };
    explicit SqlDialect(Engine e = SQLite) : m_engine(e) {}
    Engine engine() const { return m_engine; }

    // Length of a text expression in characters.
    QString length(const QString &expr) const;
    // 1-based position of needle in haystack, 0 when absent.
    QString instr(const QString &haystack, const QString &needle) const;
    // Today's date as yyyy-MM-dd text.
    QString today() const;
    // Text expression to the whole number it holds.
    QString toInt(const QString &expr) const;
    // Case-insensitive text comparison operator for "like".
    QString like() const;
    // Column type of a counter key.
    QString autoKey() const;

private:
    Engine m_engine;
};
