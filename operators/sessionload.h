#pragma once
#include <QString>

// What the login's check of a code and password found.
enum class LoginVerdict {
    Ok,              // the password fits and the operator may log in
    NoCode,          // the trimmed code is empty
    UnknownOperator, // no operator has that code (or it could not be read)
    WrongPassword,   // the password does not fit
    Disabled         // the password fits but the operator is marked "用户禁用"
};

// The name of the operator with the trimmed code; empty when there is none.
QString operatorName(const QString &code);
// Checks the typed password against the stored hash of the operator with the trimmed code.
LoginVerdict checkLogin(const QString &code, const QString &password);
// The decimal places kept under key of section "sys" in config.ini: 2 when missing or outside 0..10.
int configDecimalPlaces(const QString &key);
// Makes the operator with the trimmed code and the shown name the logged-in operator: fills the
// session (role, department restriction, company values, decimal places and number formats) and
// remembers the code in config.ini. On a database failure it shows the message, leaves the
// session exactly as it was and returns false.
bool loadSession(const QString &code, const QString &name);
