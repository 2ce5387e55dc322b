#include "pubunit.h"

#include "session.h"

#include <QLocale>
#include <cmath>

namespace {

// Decimal digits of |value| rounded to places decimals: integer part and fraction text.
// mode 0 rounds half away from zero, mode 1 half to even.
void roundDecimal(double value, int places, int mode, QString *intPart, QString *fracPart) {
    QString text = QString::number(std::fabs(value), 'f', QLocale::FloatingPointShortest);
    int dot = text.indexOf(QLatin1Char('.'));
    QString ip = dot < 0 ? text : text.left(dot);
    QString fp = dot < 0 ? QString() : text.mid(dot + 1);
    if (fp.size() > places) {
        const QString rest = fp.mid(places);
        fp.truncate(places);
        bool up = rest.at(0) > QLatin1Char('5');
        if (rest.at(0) == QLatin1Char('5')) {
            bool beyond = false;
            for (int i = 1; i < rest.size(); ++i)
                if (rest.at(i) != QLatin1Char('0'))
                    beyond = true;
            if (mode == 0 || beyond) {
                up = true;
            } else {
                const QChar last = fp.isEmpty() ? (ip.isEmpty() ? QLatin1Char('0') : ip.back()) : fp.back();
                up = (last.digitValue() % 2) == 1;
            }
        }
        if (up) {
            QString digits = ip + fp;
            int i = digits.size() - 1;
            while (i >= 0) {
                if (digits[i] == QLatin1Char('9')) {
                    digits[i] = QLatin1Char('0');
                    --i;
                } else {
                    digits[i] = QChar(digits[i].unicode() + 1);
                    break;
                }
            }
            if (i < 0)
                digits.prepend(QLatin1Char('1'));
            ip = digits.left(digits.size() - fp.size());
            fp = digits.right(fp.size());
        }
    }
    while (fp.size() < places)
        fp += QLatin1Char('0');
    if (ip.isEmpty())
        ip = QStringLiteral("0");
    *intPart = ip;
    *fracPart = fp;
}

double toDouble(bool negative, const QString &ip, const QString &fp) {
    const double v = (ip + QLatin1Char('.') + (fp.isEmpty() ? QStringLiteral("0") : fp)).toDouble();
    return negative && v != 0 ? -v : v;
}

} // namespace

double RoundHalfUp(double value, int places) {
    QString ip, fp;
    roundDecimal(value, places, 0, &ip, &fp);
    return toDouble(value < 0, ip, fp);
}

double RoundMoney(double value) {
    QString ip, fp;
    roundDecimal(value, 4, 1, &ip, &fp);
    return toDouble(value < 0, ip, fp);
}

QString MoneyMinToBig(double amount) {
    static const QString digits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    static const QStringList units = {QStringLiteral("分"), QStringLiteral("角"), QStringLiteral("元"),
                                      QStringLiteral("拾"), QStringLiteral("佰"), QStringLiteral("千"),
                                      QStringLiteral("万"), QStringLiteral("拾"), QStringLiteral("佰"),
                                      QStringLiteral("千"), QStringLiteral("亿"), QStringLiteral("十"),
                                      QStringLiteral("佰"), QStringLiteral("千")};
    if (!std::isfinite(amount))
        return QString();
    QString ip, fp;
    roundDecimal(amount, 2, 0, &ip, &fp);
    const QString text = ip + fp; // digits without the point
    if (ip.size() > 12)
        return QString(); // 10^12 and more cannot be written with these units
    QString result;
    for (int k = 0; k < text.size(); ++k) {
        const QChar ch = text.at(text.size() - 1 - k);
        result.prepend(digits.at(ch.digitValue()) + units.at(k));
    }
    if (fp == QLatin1String("00"))
        result = result.left(result.size() - 4) + QStringLiteral("整");
    return result;
}

int GetPictureType(const QString &fileName) {
    const QString f = fileName.toLower();
    if (f.endsWith(QLatin1String(".bmp")))
        return 1;
    if (f.endsWith(QLatin1String(".jpg")) || f.endsWith(QLatin1String(".jpeg")))
        return 2;
    if (f.endsWith(QLatin1String(".gif")))
        return 3;
    return 0;
}

bool IsValidEmail(const QString &text) {
    for (const QChar c : text) {
        const ushort u = c.unicode();
        const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-' ||
                        u == '.' || u == '_' || u == '@';
        if (!ok)
            return false;
    }
    const int at = text.indexOf(QLatin1Char('@'));
    if (at <= 0 || text.contains(QLatin1String("..")))
        return false;
    const QString domain = text.mid(at + 1);
    if (domain.size() <= 3)
        return false;
    const int dot = domain.indexOf(QLatin1Char('.'));
    return dot >= 0 && domain.size() - dot - 1 >= 3;
}

QString AmountFormat(int places) { return QStringLiteral("0.") + QString(qMax(0, places), QLatin1Char('#')); }

QString PriceFormat(int places) {
    QString f = QStringLiteral(",0.");
    for (int i = 0; i < places; ++i)
        f += i < 2 ? QLatin1Char('0') : QLatin1Char('#');
    return f;
}

void BuildNumberFormats() {
    Session &s = session();
    s.FmtAmount = AmountFormat(s.iAmount);
    s.FmtPrice = PriceFormat(s.iPrice);
    s.FmtTotal = PriceFormat(s.iTotal);
}

QString FormatFloat(const QString &pattern, double value) {
    const int dot = pattern.indexOf(QLatin1Char('.'));
    const QString intPat = dot < 0 ? pattern : pattern.left(dot);
    const QString fracPat = dot < 0 ? QString() : pattern.mid(dot + 1);
    const bool thousands = intPat.contains(QLatin1Char(','));
    const int minInt = intPat.count(QLatin1Char('0'));
    const int minFrac = fracPat.count(QLatin1Char('0'));
    const int maxFrac = minFrac + fracPat.count(QLatin1Char('#'));
    QString ip, fp;
    roundDecimal(value, maxFrac, 0, &ip, &fp);
    while (fp.size() > minFrac && fp.endsWith(QLatin1Char('0')))
        fp.chop(1);
    while (ip.size() > 1 && ip.startsWith(QLatin1Char('0')))
        ip.remove(0, 1);
    if (ip == QLatin1String("0") && minInt == 0)
        ip.clear();
    while (ip.size() < minInt)
        ip.prepend(QLatin1Char('0'));
    if (thousands)
        for (int i = ip.size() - 3; i > 0; i -= 3)
            ip.insert(i, QLatin1Char(','));
    QString out = ip;
    if (!fp.isEmpty())
        out += QLatin1Char('.') + fp;
    const bool zero = (ip.isEmpty() || ip.count(QLatin1Char('0')) + ip.count(QLatin1Char(',')) == ip.size()) &&
                      fp.count(QLatin1Char('0')) == fp.size();
    if (value < 0 && !zero)
        out.prepend(QLatin1Char('-'));
    if (out.isEmpty())
        out = QStringLiteral("0");
    return out;
}

QString PeriodCaption(const std::optional<QDate> &from, const std::optional<QDate> &to, const QString &prefix) {
    const QString p = prefix.trimmed().isEmpty() ? QStringLiteral("统计") : prefix;
    const QString fmt = QStringLiteral("yyyy年MM月dd日");
    return p + QStringLiteral("日期：自 ") + (from ? from->toString(fmt) : QStringLiteral("启用系统")) +
           QStringLiteral(" 至 ") + (to ? to->toString(fmt) : QStringLiteral("记帐最后一天"));
}
