#pragma once
#include <QString>
#include <QUrl>
#include <optional>

// The company row of SysInfo as the company information window edits it.
struct SysInfoValues {
    QString code;      // F_Code 公司名称
    QString name;      // F_Name 联系地址
    QString manager;   // F_Manager 负责人
    QString phone;     // F_Phone 联系电话
    QString handPhone; // F_HandPhone 手机
    QString homePage;  // F_Homepage 主页
    QString email;     // F_Email 电子邮箱
    QString enroler;   // F_Enroler 注册法人
    QString mem;       // F_Mem 公司简介
};

// Decimal places of quantities, unit prices and money totals.
struct DecimalPlaces {
    int amount = 2;
    int price = 2;
    int total = 2;
};

namespace SysInfo {

// Reads the company row into *values (empty values when the row is missing); false after the
// message "打开操作失败，请检查数据连接... " when it cannot be read.
bool Load(SysInfoValues *values);
// Saves the company row (every value trimmed) and the decimal places to config.ini and the
// session, all or nothing; then refreshes the company values of the session and says
// "当前更改成功！". Failure: the message says why and nothing is changed.
bool Save(const SysInfoValues &values, const DecimalPlaces &places);
// The number of decimal places typed as text: a whole number from 0 to 10 (a typed fraction is
// rounded); nothing when the text is not such a number.
std::optional<int> ParseDecimalPlaces(const QString &text);
// The address a typed web site opens ("http://" in front when it names no scheme); empty when
// the text is blank.
QUrl HomePageUrl(const QString &text);
// The mail address a typed e-mail address opens ("mailto:<address>?subject").
QUrl MailUrl(const QString &address);

} // namespace SysInfo
