#pragma once
#include <QString>

// Values of the logged-in operator, replaced at every successful login and read everywhere.
struct Session {
    QString CurOperCode;
    QString CurOperName;
    QString CurPartCode;
    int CurDeptFlag = 0;  // 0 all departments, 1 own department, 2 listed departments
    QString CurDeptScope; // own department name, or the quoted list "'a','b'"
    QString CompanyName;
    QString CompanyPhone;
    QString CompanyFax;
    int iAmount = 2;
    int iPrice = 2;
    int iTotal = 2;
    QString FmtAmount = QStringLiteral("0.##");
    QString FmtPrice = QStringLiteral(",0.00");
    QString FmtTotal = QStringLiteral(",0.00");

    bool isSuperUser() const { return CurOperCode.trimmed() == QLatin1String("000"); }
};

Session &session();
