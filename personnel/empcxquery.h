#pragma once
#include "core/deptrestriction.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace personnel {

// The advanced employee query (员工查询): about thirty conditions on t_employee combined into one
// statement whose values are all bound. Column names come only from the fixed list below.
class EmpCxQuery {
public:
    // How a text condition compares: the typed text as a prefix, anywhere inside, or whole.
    enum class Match { Prefix, Contains, Exact };
    // One text condition of the form: its label, the control's name, the column, how it
    // compares, and where a choice box takes its list from (a code kind, or fixed items).
    struct TextField {
        QString label;
        QString control;
        QString column;
        Match match;
        QString codeKind;  // code kind of a choice box filled from t_code; empty otherwise
        QStringList items; // fixed items of a choice box
        bool isCombo() const { return control.startsWith(QLatin1String("cbb")); }
    };
    // The text conditions in the order of the form.
    static const QList<TextField> &textFields();

    enum class Status { All, InService, Left };
    // The three date ranges of the form.
    enum DateKind { Hiring, Graduation, Leaving, DateKindCount };
    // A date range: applied only when on; an empty from or to text leaves that end open.
    struct DateRange {
        bool on = false;
        QString from; // yyyy-MM-dd
        QString to;   // yyyy-MM-dd
    };
    static QString dateLabel(DateKind kind);
    static QString dateColumn(DateKind kind);

    // Sets the text of the condition on column (compared without regard to case). False, and
    // nothing set, when column is not one of the form's columns.
    bool setText(const QString &column, const QString &value);
    QString text(const QString &column) const;
    void setStatus(Status s) { m_status = s; }
    Status status() const { return m_status; }
    void setDateRange(DateKind kind, const DateRange &range) { m_dates[kind] = range; }
    DateRange dateRange(DateKind kind) const { return m_dates[kind]; }
    // The birthday range (month and day count; the year only orders the two ends).
    void setBirthdayRange(bool on, const QString &from, const QString &to);

    // Checks the dates; on a fault *error says which one and false is returned.
    bool validate(QString *error) const;
    // The conditions as one piece "and (… and …) " (empty when nothing is asked), with or
    // without the operator's department restriction. Only meaningful after validate().
    SqlPart condition(bool withDeptRestriction = true) const;
    // The whole statement: every employee matching condition(), ordered by code.
    SqlPart statement() const;

    // The days "MM-dd" from from to to inclusive; when to is before from it is taken a year
    // later. Each day once; 02-29 is added to a range that runs from 02-28 over 03-01.
    static QStringList birthdayDays(const QDate &from, const QDate &to);

private:
    QMap<QString, QString> m_texts; // lower-case column -> typed text
    Status m_status = Status::InService;
    DateRange m_dates[DateKindCount];
    bool m_birthdayOn = false;
    QString m_birthFrom;
    QString m_birthTo;
};

} // namespace personnel
