#pragma once
#include <QString>

// Employee codes generated from the most recently added employee's code.
namespace empcode {

// The code that follows last: "001" when last is empty or at most two characters long;
// otherwise the prefix kept and the last three digits counted on, wrapping within three
// digits (A012 → A013, 099 → 100, 999 → 000, XY999 → XY000). Empty when last is longer than two
// characters and does not end in three digits 0-9.
QString nextCode(const QString &last);

// True when the last three characters of code (the whole code when shorter) are digits 0-9.
bool endsInThreeDigits(const QString &code);

// The code of the most recently added employee (the highest F_ID); empty when there is none.
QString latestCode();

// A new code after the latest employee's, counted on past codes already in use. Empty, with
// *error a message for the user, when the latest code does not end in three digits or no free
// code is left in its three-digit range.
QString generate(QString *error = nullptr);

// The message shown when the latest code cannot be counted on.
QString notCountableMessage(const QString &latest);

} // namespace empcode
