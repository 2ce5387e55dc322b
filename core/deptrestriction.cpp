#include "deptrestriction.h"

#include "datadm.h"
#include "session.h"

#include <QComboBox>

QStringList parseDeptList(const QString &quotedList) {
    QStringList names;
    QString cur;
    bool inQuote = false;
    bool seenQuote = false;
    const QString s = quotedList;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (inQuote) {
            if (c == QLatin1Char('\'')) {
                if (i + 1 < s.size() && s.at(i + 1) == QLatin1Char('\'')) {
                    cur += c;
                    ++i;
                } else {
                    inQuote = false;
                }
            } else {
                cur += c;
            }
        } else if (c == QLatin1Char('\'')) {
            // blanks before an opening quote ("'a', 'b'") are not part of the name
            if (!seenQuote && cur.trimmed().isEmpty())
                cur.clear();
            inQuote = true;
            seenQuote = true;
        } else if (c == QLatin1Char(',')) {
            if (seenQuote || !cur.trimmed().isEmpty())
                names << (seenQuote ? cur : cur.trimmed());
            cur.clear();
            seenQuote = false;
        } else if (!c.isSpace() || !seenQuote) {
            cur += c;
        }
    }
    if (seenQuote || !cur.trimmed().isEmpty())
        names << (seenQuote ? cur : cur.trimmed());
    return names;
}

QString formatDeptList(const QStringList &names) {
    QStringList quoted;
    for (QString n : names)
        quoted << QLatin1Char('\'') + n.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
    return quoted.join(QLatin1Char(','));
}

SqlPart deptRestriction(const QString &column) {
    const Session &s = session();
    SqlPart part;
    if (s.CurDeptFlag == 1) {
        // an operator who is no employee has no own department and sees nothing
        if (s.CurDeptScope.trimmed().isEmpty()) {
            part.sql = QStringLiteral("and (1 = 0) ");
            return part;
        }
        part.sql = QStringLiteral("and (%1 = ?) ").arg(column);
        part.binds << s.CurDeptScope;
    } else if (s.CurDeptFlag == 2) {
        const QStringList names = parseDeptList(s.CurDeptScope);
        if (names.isEmpty()) {
            part.sql = QStringLiteral("and (1 = 0) ");
        } else {
            QStringList marks;
            for (const QString &n : names) {
                marks << QStringLiteral("?");
                part.binds << n;
            }
            part.sql = QStringLiteral("and (%1 in (%2)) ").arg(column, marks.join(QLatin1Char(',')));
        }
    }
    return part;
}

void fillDeptCombo(QComboBox *combo) {
    const Session &s = session();
    if (s.CurDeptFlag == 1) {
        combo->clear();
        combo->addItem(s.CurDeptScope);
        combo->setCurrentIndex(0);
        combo->setEnabled(false);
        combo->setFocusPolicy(Qt::NoFocus);
        combo->setStyleSheet(QStringLiteral("QComboBox { background-color: aqua; }"));
        return;
    }
    const SqlPart r = deptRestriction(QStringLiteral("F_name"));
    TdmData::FillCombo(QStringLiteral("select distinct F_name from t_code where (F_name <> '') and (F_type = 'dept') ") +
                           r.sql,
                       combo, r.binds);
}
