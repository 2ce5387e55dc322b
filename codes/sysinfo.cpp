#include "sysinfo.h"

#include "core/configini.h"
#include "core/database.h"
#include "core/datadm.h"
#include "core/keltrin.h"
#include "core/session.h"
#include "core/transaction.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSqlQuery>
#include <cmath>

namespace SysInfo {

namespace {

const QString kSaveFailed = QStringLiteral("保存失败，请检测数据库连接！");
const QString kSys = QStringLiteral("sys");
const QString kKeys[3] = {QStringLiteral("iAmount"), QStringLiteral("iPrice"), QStringLiteral("iTotal")};

// The decimal places as config.ini holds them now (empty text for a missing key).
struct ConfigValues {
    QString text[3];
};

ConfigValues readConfig() {
    ConfigValues v;
    for (int i = 0; i < 3; ++i)
        v.text[i] = configIni().readString(kSys, kKeys[i]);
    return v;
}

// Puts back the first count keys as they were (a missing key as its default 2).
void restoreConfig(const ConfigValues &old, int count) {
    for (int i = 0; i < count; ++i)
        configIni().writeString(kSys, kKeys[i], old.text[i].isEmpty() ? QStringLiteral("2") : old.text[i]);
}

// Writes the three decimal places to config.ini; on a failure puts back what was there before.
bool writeConfig(const DecimalPlaces &places, const ConfigValues &old) {
    const int values[3] = {places.amount, places.price, places.total};
    for (int i = 0; i < 3; ++i) {
        if (!configIni().writeInteger(kSys, kKeys[i], values[i])) {
            restoreConfig(old, i);
            return false;
        }
    }
    return true;
}

} // namespace

bool Load(SysInfoValues *values) {
    QSqlQuery q;
    if (!TdmData::OpenSql(
            QStringLiteral("select F_Code, F_Name, F_Manager, F_Phone, F_HandPhone, F_Homepage, "
                           "F_Email, F_Enroler, F_Mem from SysInfo order by F_ID"),
            q))
        return false;
    *values = SysInfoValues();
    if (!q.next())
        return true;
    QString *fields[] = {&values->code,  &values->name,      &values->manager,
                         &values->phone, &values->handPhone, &values->homePage,
                         &values->email, &values->enroler,   &values->mem};
    for (int i = 0; i < 9; ++i)
        *fields[i] = q.value(i).toString();
    return true;
}

bool Save(const SysInfoValues &values, const DecimalPlaces &places) {
    Transaction t(Database::db());
    if (!t.active() ||
        !TdmData::ExecSqlQuiet(
            QStringLiteral("update SysInfo set F_Code = ?, F_Name = ?, F_Manager = ?, F_Phone = ?, "
                           "F_HandPhone = ?, F_Homepage = ?, F_Email = ?, F_Enroler = ?, F_Mem = ?"),
            {values.code.trimmed(), values.name.trimmed(), values.manager.trimmed(), values.phone.trimmed(),
             values.handPhone.trimmed(), values.homePage.trimmed(), values.email.trimmed(),
             values.enroler.trimmed(), values.mem.trimmed()})) {
        ShowMess(kSaveFailed, 3);
        return false;
    }
    const ConfigValues oldConfig = readConfig();
    if (!writeConfig(places, oldConfig)) {
        ShowMess(
            QStringLiteral("小数位数无法写入配置文件“%1”，请检查该文件及其文件夹是否可写！本次更改没有保存。")
                .arg(configIni().fileName()),
            3);
        return false;
    }
    if (!t.commit()) {
        restoreConfig(oldConfig, 3);
        ShowMess(kSaveFailed, 3);
        return false;
    }
    Session &s = session();
    s.iAmount = places.amount;
    s.iPrice = places.price;
    s.iTotal = places.total;
    s.CompanyName = TdmData::LookupStr(QStringLiteral("select F_Code from SysInfo order by F_ID"));
    s.CompanyPhone = TdmData::LookupStr(QStringLiteral("select F_Phone from SysInfo order by F_ID"));
    s.CompanyFax = TdmData::LookupStr(QStringLiteral("select F_HandPhone from SysInfo order by F_ID"));
    ShowMess(QStringLiteral("当前更改成功！"), 0);
    return true;
}

std::optional<int> ParseDecimalPlaces(const QString &text) {
    bool ok = false;
    double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        v = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    const double rounded = std::round(v);
    if (rounded < 0 || rounded > 10)
        return std::nullopt;
    return static_cast<int>(rounded);
}

QUrl HomePageUrl(const QString &text) {
    QString address = text.trimmed();
    if (address.isEmpty())
        return QUrl();
    address.replace(QLatin1Char('\\'), QLatin1Char('/')); // "http:\\x" typed the old way
    static const QRegularExpression scheme(QStringLiteral("^(https?|ftp):/*"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = scheme.match(address);
    if (m.hasMatch())
        address.replace(0, m.capturedLength(), m.captured(1) + QStringLiteral("://"));
    else
        address.prepend(QStringLiteral("http://"));
    return QUrl(address, QUrl::TolerantMode);
}

QUrl MailUrl(const QString &address) {
    return QUrl(QStringLiteral("mailto:") + address + QStringLiteral("?subject"));
}

} // namespace SysInfo
