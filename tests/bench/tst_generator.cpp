#include "bench/generator.h"
#include "core/database.h"
#include "core/pubunit.h"
#include "support/testregistry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kEmpty = QStringLiteral("1900-08-14");

// One number from the program's connection.
qint64 count(const QString &sql) {
    QSqlQuery q(Database::db());
    if (!q.exec(sql) || !q.next()) {
        qWarning() << "query failed:" << sql;
        return -1;
    }
    return q.value(0).toLongLong();
}

// A digest of every row of the table in key order, read from a database file.
QByteArray digest(const QString &path, const QString &table) {
    QCryptographicHash h(QCryptographicHash::Sha1);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("digest"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("select * from ") + table + QStringLiteral(" order by F_ID"));
            while (q.next())
                for (int i = 0; i < q.record().count(); ++i)
                    h.addData(q.value(i).toString().toUtf8() + '\x1f');
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("digest"));
    return h.result();
}

struct Emp {
    QString name, dept;
    QDate begin, left;
};

QMap<QString, Emp> employees() {
    QMap<QString, Emp> out;
    QSqlQuery q(Database::db());
    q.exec(QStringLiteral("select F_code, F_name, F_dept, F_beginDate, F_useFlag, F_LZdate from t_employee"));
    while (q.next()) {
        Emp e{q.value(1).toString(), q.value(2).toString(),
              QDate::fromString(q.value(3).toString(), Qt::ISODate), QDate()};
        if (q.value(4).toInt() != 0)
            e.left = QDate::fromString(q.value(5).toString(), Qt::ISODate);
        out.insert(q.value(0).toString(), e);
    }
    return out;
}

bool worksOn(const Emp &e, const QDate &d) {
    return d >= e.begin && (!e.left.isValid() || d < e.left);
}

} // namespace

class TestGenerator : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Database::close(); }

    void companyIsConsistent_data() {
        QTest::addColumn<int>("perDay");
        QTest::newRow("one record a day") << 1;
        QTest::newRow("three records a day") << 3;
    }

    void companyIsConsistent() {
        QFETCH(int, perDay);
        QTemporaryDir dir;
        GenOptions o;
        o.dbPath = dir.filePath(QStringLiteral("DodEdazod.mdb"));
        o.employees = 50;
        o.months = 1;
        o.recordsPerDay = perDay;
        o.seed = 7;
        o.start = QDate(2026, 1, 1);
        o.rowsPerCommit = 97; // many commits, one not at a table's end
        GenStats s;
        QString error;
        QVERIFY2(generateCompany(o, &error, &s), qPrintable(error));

        // employees: unique codes and names, departments from the tree and the dictionary
        QCOMPARE(count("select count(*) from t_employee"), 50);
        QCOMPARE(count("select count(distinct F_code) from t_employee"), 50);
        QCOMPARE(count("select count(distinct F_name) from t_employee"), 50);
        QCOMPARE(count("select count(*) from t_employee e left join t_treecode t on t.F_ID = e.F_deptID "
                       "where t.F_ID is null or t.F_flag <> 'dept' or t.F_name <> e.F_dept"),
                 0);
        QCOMPARE(count("select count(*) from t_employee where F_dept not in "
                       "(select F_Name from t_code where F_type = 'dept')"),
                 0);
        // has left exactly when a leaving date and way are set; other empty dates stay the empty date
        QCOMPARE(count("select count(*) from t_employee where (F_useFlag = 1) <> (F_LZdate <> '1900-08-14') "
                       "or (F_useFlag = 1) <> (F_LZtype <> '') or F_biyeDate <> '1900-08-14' "
                       "or F_beginDate <= F_birthDay"),
                 0);

        // tree paths: two backslashes, then the names from the top down joined by one backslash
        QMap<QString, QString> paths;
        QSqlQuery q(Database::db());
        QVERIFY(q.exec(
            "select F_code, F_name, F_likecode from t_treecode where F_flag = 'dept' order by F_code"));
        while (q.next()) {
            const QString code = q.value(0).toString(), name = q.value(1).toString(),
                          path = q.value(2).toString();
            QVERIFY(code.size() % 3 == 0);
            const QString expected = code.size() == 3 ? QStringLiteral("\\\\") + name
                                                      : paths.value(code.left(code.size() - 3)) + '\\' + name;
            QCOMPARE(path, expected);
            paths.insert(code, path);
        }
        QVERIFY(paths.contains("001") && paths.contains("001001"));

        // piece-rate records copy the employee and the process; amount = RoundMoney(quantity x price)
        QCOMPARE(count("select count(*) from wg_ShengChanRec"), s.pieceRecords);
        QCOMPARE(
            count("select count(*) from wg_ShengChanRec r left join t_employee e on e.F_code = r.F_EmpCode "
                  "where e.F_ID is null or e.F_name <> r.F_EmpName or e.F_dept <> r.F_Dept"),
            0);
        QCOMPARE(
            count("select count(*) from wg_ShengChanRec r left join wg_WorkingProduct p on p.F_ID = r.F_gxID "
                  "where p.F_ID is null or p.F_Price <> r.F_Price or p.F_gxCode <> r.F_gxCode "
                  "or p.F_Name <> r.F_Name or p.F_GoodName <> r.F_goodName or p.F_unit <> r.F_unit "
                  "or p.F_UseFlag <> 0"),
            0);
        QCOMPARE(count("select count(*) from wg_WorkingProduct where F_Code <> F_GoodName || F_gxCode"), 0);
        QVERIFY(q.exec("select F_Amount, F_Price, F_TotalPrice from wg_ShengChanRec"));
        while (q.next())
            QCOMPARE(q.value(2).toDouble(), RoundMoney(q.value(0).toDouble() * q.value(1).toDouble()));

        // perDay records on each working day an employee is employed, none on other days
        const QMap<QString, Emp> emps = employees();
        QMap<QString, QMap<QDate, int>> perDate;
        QVERIFY(q.exec("select F_EmpCode, F_DateTime from wg_ShengChanRec"));
        while (q.next())
            ++perDate[q.value(0).toString()][QDate::fromString(q.value(1).toString(), Qt::ISODate)];
        for (auto it = emps.cbegin(); it != emps.cend(); ++it)
            for (QDate d(2026, 1, 1); d < QDate(2026, 2, 1); d = d.addDays(1)) {
                const int expected = d.dayOfWeek() <= 5 && worksOn(it.value(), d) ? perDay : 0;
                if (perDate.value(it.key()).value(d) != expected)
                    QFAIL(qPrintable(QStringLiteral("%1 on %2: %3 records, expected %4")
                                         .arg(it.key(), d.toString(Qt::ISODate))
                                         .arg(perDate.value(it.key()).value(d))
                                         .arg(expected)));
            }
        QVERIFY(s.leavers > 0); // the fixture covers people who left
        QCOMPARE(count("select count(*) from t_employee where F_useFlag = 1"), s.leavers);

        // time-rate records copy the employee and the work type
        QVERIFY(count("select count(*) from wg_ShengChanJSrec") > 0);
        QCOMPARE(
            count("select count(*) from wg_ShengChanJSrec r left join t_employee e on e.F_code = r.F_EmpCode "
                  "left join T_GZtype t on t.F_name = r.F_GZtype where e.F_ID is null or t.F_ID is null "
                  "or e.F_name <> r.F_empName or e.F_dept <> r.F_Dept or t.F_price <> r.F_JSprice "
                  "or t.F_unit <> r.F_JSunit"),
            0);
        QVERIFY(
            q.exec("select F_amount, F_JSprice, F_totalprice, F_EmpCode, F_SCdate from wg_ShengChanJSrec"));
        while (q.next()) {
            QCOMPARE(q.value(2).toDouble(), RoundMoney(q.value(0).toDouble() * q.value(1).toDouble()));
            QVERIFY(worksOn(emps.value(q.value(3).toString()),
                            QDate::fromString(q.value(4).toString(), Qt::ISODate)));
        }

        // deductions are booked to in-use deduction items, allowances to in-use payable items
        QVERIFY(count("select count(*) from wg_EnterOut where F_OperFlag = -1") > 0);
        QVERIFY(count("select count(*) from wg_EnterOut where F_OperFlag = 1") > 0);
        QCOMPARE(
            count("select count(*) from wg_EnterOut o left join Sys_wgcols c on c.F_tblName = 'sys' "
                  "and c.F_code = o.F_Itemcode left join t_employee e on e.F_code = o.F_Code "
                  "where c.F_ID is null or c.F_flag <> 1 or c.F_name <> o.F_ItemName or e.F_name <> o.F_Name "
                  "or c.F_i <> (case when o.F_OperFlag = -1 then 3 else 2 end) or o.F_Price = 0 "
                  "or o.F_OperFlag not in (-1, 1) or o.F_Itemcode <> lower(o.F_Itemcode) "
                  "or o.F_MakeDate < '2026-01-01' or o.F_MakeDate > '2026-01-31'"),
            0);
        QCOMPARE(count("select count(*) from wg_EnterOut where F_Itemcode in "
                       "('f_gz200', 'f_gz205', 'f_gz206', 'f_gz207', 'f_gz208')"),
                 0);
        QVERIFY(q.exec("select F_Code, F_MakeDate from wg_EnterOut"));
        while (q.next())
            QVERIFY(worksOn(emps.value(q.value(0).toString()),
                            QDate::fromString(q.value(1).toString(), Qt::ISODate)));
    }

    void sameSeedSameCompany() {
        QTemporaryDir dir;
        QMap<QString, QByteArray> employeeTables, pieceTables;
        for (const QString &run : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("other")}) {
            GenOptions o;
            o.dbPath = dir.filePath(run + QStringLiteral(".mdb"));
            o.employees = 50;
            o.months = 1;
            o.seed = run == QLatin1String("other") ? 6 : 5;
            QString error;
            QVERIFY2(generateCompany(o, &error), qPrintable(error));
            Database::close();
            employeeTables.insert(run, digest(o.dbPath, QStringLiteral("t_employee")));
            pieceTables.insert(run, digest(o.dbPath, QStringLiteral("wg_ShengChanRec")));
        }
        QCOMPARE(employeeTables["a"], employeeTables["b"]);
        QCOMPARE(pieceTables["a"], pieceTables["b"]);
        QVERIFY(employeeTables["a"] != employeeTables["other"]);
    }

    void badOptionsChangeNothing_data() {
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<int>("employees");
        QTest::addColumn<int>("months");
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QString>("message");
        QTest::newRow("existing file without --append") << true << 50 << 1 << QDate(2026, 1, 1) << "--append";
        QTest::newRow("no employees") << false << 0 << 1 << QDate(2026, 1, 1) << "employees";
        QTest::newRow("no months") << false << 50 << 0 << QDate(2026, 1, 1) << "months";
        QTest::newRow("start inside a month") << false << 50 << 1 << QDate(2026, 1, 15) << "first month";
    }

    void badOptionsChangeNothing() {
        QFETCH(bool, fileExists);
        QFETCH(int, employees);
        QFETCH(int, months);
        QFETCH(QDate, start);
        QFETCH(QString, message);
        QTemporaryDir dir;
        GenOptions o;
        o.dbPath = dir.filePath(QStringLiteral("DodEdazod.mdb"));
        o.employees = employees;
        o.months = months;
        o.start = start;
        const QByteArray content("not to be touched");
        if (fileExists) {
            QFile f(o.dbPath);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        QString error;
        QVERIFY(!generateCompany(o, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(QFile::exists(o.dbPath), fileExists);
        if (fileExists) {
            QFile f(o.dbPath);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), content);
        }
    }

    void appendAddsMonthsToTheSameCompany() {
        QTemporaryDir dir;
        GenOptions o;
        o.dbPath = dir.filePath(QStringLiteral("DodEdazod.mdb"));
        o.employees = 20;
        o.months = 1;
        QString error;
        QVERIFY2(generateCompany(o, &error), qPrintable(error));
        const qint64 nodes = count("select count(*) from t_treecode");
        const qint64 processes = count("select count(*) from wg_WorkingProduct");
        const qint64 january = count("select count(*) from wg_ShengChanRec");
        const QByteArray people = digest(o.dbPath, QStringLiteral("t_employee"));
        Database::close();

        o.append = true;
        o.employees = 999; // a company already there is reused as it is
        o.start = QDate(2026, 2, 1);
        GenStats s;
        QVERIFY2(generateCompany(o, &error, &s), qPrintable(error));
        QVERIFY(s.reusedCompany);
        QCOMPARE(count("select count(*) from t_employee"), 20);
        QCOMPARE(count("select count(*) from t_treecode"), nodes);
        QCOMPARE(count("select count(*) from wg_WorkingProduct"), processes);
        QCOMPARE(count("select count(*) from wg_ShengChanRec where F_DateTime < '2026-02-01'"), january);
        QCOMPARE(count("select count(*) from wg_ShengChanRec where F_DateTime >= '2026-02-01'"),
                 s.pieceRecords);
        QVERIFY(s.pieceRecords > 0);
        QCOMPARE(
            count("select count(*) from wg_ShengChanRec r left join t_employee e on e.F_code = r.F_EmpCode "
                  "left join wg_WorkingProduct p on p.F_ID = r.F_gxID where e.F_ID is null or p.F_ID is null "
                  "or e.F_dept <> r.F_Dept or p.F_Price <> r.F_Price"),
            0);
        Database::close();
        QCOMPARE(digest(o.dbPath, QStringLiteral("t_employee")), people);
    }
};

REGISTER_TEST(TestGenerator)
#include "tst_generator.moc"
