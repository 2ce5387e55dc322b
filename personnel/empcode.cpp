#include "empcode.h"

#include "core/datadm.h"

namespace empcode {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

bool endsInThreeDigits(const QString &code) {
    const QString tail = code.right(3);
    if (tail.isEmpty())
        return false;
    for (QChar c : tail)
        if (!isAsciiDigit(c))
            return false;
    return true;
}

QString nextCode(const QString &last) {
    if (last.size() <= 2)
        return QStringLiteral("001");
    if (!endsInThreeDigits(last))
        return QString();
    const int n = 1000 + last.right(3).toInt() + 1;
    return last.left(last.size() - 3) + QString::number(n).right(3);
}

QString latestCode() {
    return TdmData::LookupStr(QStringLiteral("select F_code from t_employee order by F_ID desc limit 1"));
}

QString notCountableMessage(const QString &latest) {
    return QStringLiteral("最近新增的员工编号“%1”最后三位不是数字，无法自动编号，请手工输入员工编号！")
        .arg(latest);
}

QString generate(QString *error) {
    const QString latest = latestCode().trimmed();
    QString code = nextCode(latest);
    if (code.isEmpty()) {
        if (error)
            *error = notCountableMessage(latest);
        return QString();
    }
    // The latest code need not be the highest one: step past codes already taken, at most once
    // round the three-digit range.
    for (int i = 0; i < 1000; ++i) {
        if (TdmData::LookupInt(QStringLiteral("select F_ID from t_employee where F_code = ?"), {code}) <= 0)
            return code;
        code = nextCode(code);
    }
    if (error)
        *error = QStringLiteral("编号“%1”之后已没有可用的员工编号，请手工输入员工编号！").arg(latest);
    return QString();
}

} // namespace empcode
