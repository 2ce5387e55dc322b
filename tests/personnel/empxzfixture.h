#pragma once
#include "core/datadm.h"
#include "core/dbgrid.h"
#include "core/deptrestriction.h"

#include <QSqlQuery>
#include <QStringList>
#include <QTest>
#include <QVariantMap>

// A small staff for the selection and query dialogs.
namespace empxzfix {

// Adds an employee with code, name and department and the other columns of more; its F_ID.
inline qint64 addEmp(const QString &code, const QString &name, const QString &dept,
                     const QVariantMap &more = {}) {
    QStringList cols{QStringLiteral("F_code"), QStringLiteral("F_name"), QStringLiteral("F_dept")};
    QVariantList binds{code, name, dept};
    for (auto it = more.cbegin(); it != more.cend(); ++it) {
        cols << it.key();
        binds << it.value();
    }
    QStringList marks;
    for (int i = 0; i < cols.size(); ++i)
        marks << QStringLiteral("?");
    if (!TdmData::ExecSql(QStringLiteral("insert into t_employee (%1) values (%2)")
                              .arg(cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                          binds))
        return -1;
    return TdmData::LookupStr(QStringLiteral("select max(F_ID) from t_employee")).toLongLong();
}

// The staff:
//   001 张三   生产部  男 车工     in service, card 6222-001, born 1990-12-28, hired 2020-03-10
//   002 李四   生产部  女 钳工     in service, card 6222-002, born 1985-01-03, hired 2021-07-01
//   011 王五   销售部  男 车间主任 in service, born 1992-12-20, hired 2019-01-15
//   101 张'明  销售部  女 业务员   in service, address "O'Neil 路 5号", born 1988-08-14
//   102 赵六   生产部  女 车工     left on 2023-05-20 (辞职), hired 2018-02-01
//   A%1 百分   质检部  男          in service (no birth date)
//   AB1 乙一   质检部  男          in service
inline void addStaff() {
    addEmp("001", "张三", "生产部",
           {{"F_sex", "男"},
            {"F_duty", "车工"},
            {"F_gongziCode", "6222-001"},
            {"F_birthDay", "1990-12-28"},
            {"F_beginDate", "2020-03-10"},
            {"F_xueli", "大专"},
            {"F_jiguan", "浙江杭州"}});
    addEmp("002", "李四", "生产部",
           {{"F_sex", "女"},
            {"F_duty", "钳工"},
            {"F_gongziCode", "6222-002"},
            {"F_birthDay", "1985-01-03"},
            {"F_beginDate", "2021-07-01"},
            {"F_xueli", "本科"},
            {"F_jiguan", "江苏南京"}});
    addEmp("011", "王五", "销售部",
           {{"F_sex", "男"},
            {"F_duty", "车间主任"},
            {"F_birthDay", "1992-12-20"},
            {"F_beginDate", "2019-01-15"},
            {"F_xueli", "本科"},
            {"F_jiguan", "浙江宁波"}});
    addEmp("101", "张'明", "销售部",
           {{"F_sex", "女"},
            {"F_duty", "业务员"},
            {"F_address", "O'Neil 路 5号"},
            {"F_birthDay", "1988-08-14"}});
    addEmp("102", "赵六", "生产部",
           {{"F_sex", "女"},
            {"F_duty", "车工"},
            {"F_useFlag", 1},
            {"F_LZdate", "2023-05-20"},
            {"F_LZtype", "辞职"},
            {"F_beginDate", "2018-02-01"}});
    addEmp("A%1", "百分", "质检部", {{"F_sex", "男"}});
    addEmp("AB1", "乙一", "质检部", {{"F_sex", "男"}});
}

// F_code of every row of a statement.
inline QStringList codesOf(const QString &sql, const QVariantList &binds = {}) {
    QStringList out;
    QSqlQuery q;
    if (!TdmData::OpenSql(sql, q, binds))
        return {QStringLiteral("<failed>")};
    while (q.next())
        out << q.value(QStringLiteral("F_code")).toString();
    return out;
}

inline QStringList codesOf(const SqlPart &p) {
    return codesOf(p.sql, p.binds);
}

// F_code of every row a grid lists.
inline QStringList gridCodes(DBGridEh *grid) {
    grid->fetchAll();
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        out << grid->value(r, QStringLiteral("F_code")).toString();
    return out;
}

// Types text into w key by key (characters beyond ASCII too).
inline void typeText(QWidget *w, const QString &text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace empxzfix
