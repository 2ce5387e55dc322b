#pragma once
#include <QDate>
#include <QString>
#include <optional>

// Shared helpers of every window.

// The amount in Chinese capital numerals (壹千贰佰叁拾肆元伍角陆分). Amounts of 10^12 or more
// cannot be written and give an empty text.
QString MoneyMinToBig(double amount);
// 1 for .bmp, 2 for .jpg/.jpeg, 3 for .gif, 0 otherwise (extension compared in lower case).
int GetPictureType(const QString &fileName);
// True when text is a plausible e-mail address by the program's own rule.
bool IsValidEmail(const QString &text);
// Builds the session's FmtAmount, FmtPrice and FmtTotal from its decimal places.
void BuildNumberFormats();
// The display format for quantities ("0.##") / prices and totals (",0.00##") of places decimals.
QString AmountFormat(int places);
QString PriceFormat(int places);
// Formats value by a number pattern such as "0.##", ",0.00" or ",0.00##": "," anywhere asks for
// thousands separators, each "0" after the point is a digit always shown, each "#" one shown
// when not zero; rounding is half away from zero on the decimal value.
QString FormatFloat(const QString &pattern, double value);
// Rounds value to places decimals, half away from zero, on its shortest decimal text.
double RoundHalfUp(double value, int places);
// Rounds a money value to four places, half to even, as every stored amount is.
double RoundMoney(double value);
// "<prefix>日期：自 <from> 至 <to>"; an absent date reads 启用系统 / 记帐最后一天.
QString PeriodCaption(const std::optional<QDate> &from, const std::optional<QDate> &to,
                      const QString &prefix = QString());
