#include "core/database.h"
#include "core/datadm.h"
#include "core/deptrestriction.h"
#include "core/session.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QSqlQuery>
#include <QTest>
#include <memory>

// The department restriction appended to an employee query, run against a small archive.
class TestDeptRestriction : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;

    static QStringList visibleCodes() {
        const SqlPart part = deptRestriction();
        QSqlQuery q(Database::db());
        if (!q.prepare(QStringLiteral("select F_code from t_employee where 1=1 ") + part.sql +
                       QStringLiteral("order by F_code")))
            return {QStringLiteral("<prepare failed>")};
        for (const QVariant &v : part.binds)
            q.addBindValue(v);
        if (!q.exec())
            return {QStringLiteral("<exec failed>")};
        QStringList codes;
        while (q.next())
            codes << q.value(0).toString();
        return codes;
    }

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
        const QList<QPair<QString, QString>> staff{{"E01", "一车间"}, {"E02", "二车间"},
                                                   {"E03", "三车间"}, {"E04", "O'Neil车间"},
                                                   {"E05", ""},       {"E06", "一车间 "}};
        for (const auto &[code, dept] : staff)
            QVERIFY(TdmData::ExecSql("insert into t_employee (F_code, F_name, F_dept) values (?, ?, ?)",
                                     {code, code, dept}));
    }
    void cleanup() { db.reset(); }

    void restriction_data() {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("scope");
        QTest::addColumn<QStringList>("visible");
        const QStringList all{"E01", "E02", "E03", "E04", "E05", "E06"};
        QTest::newRow("flag 0: all rows") << 0 << "" << all;
        QTest::newRow("flag 0 ignores a scope") << 0 << "'一车间'" << all;
        QTest::newRow("flag 1: own department") << 1 << "一车间" << QStringList{"E01"};
        QTest::newRow("flag 1: department with apostrophe") << 1 << "O'Neil车间" << QStringList{"E04"};
        QTest::newRow("flag 1: not an employee") << 1 << "" << QStringList{};
        QTest::newRow("flag 2: two departments") << 2 << "'一车间','二车间'" << QStringList{"E01", "E02"};
        QTest::newRow("flag 2: spaces between names")
            << 2 << "'一车间', '二车间' " << QStringList{"E01", "E02"};
        QTest::newRow("flag 2: stored form with apostrophe")
            << 2 << formatDeptList({"O'Neil车间", "三车间"}) << QStringList{"E03", "E04"};
        QTest::newRow("flag 2: empty list") << 2 << "" << QStringList{};
        QTest::newRow("flag 2: blank list") << 2 << "  " << QStringList{};
    }
    void restriction() {
        QFETCH(int, flag);
        QFETCH(QString, scope);
        QFETCH(QStringList, visible);
        session().CurDeptFlag = flag;
        session().CurDeptScope = scope;
        QCOMPARE(visibleCodes(), visible);
        QCOMPARE(db->responder.texts(), QStringList());
    }

    void listFormRoundTrip_data() {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("plain") << QStringList{"一车间", "二车间"};
        QTest::newRow("apostrophes and commas") << QStringList{"O'Neil车间", "a,b", "''"};
        QTest::newRow("one") << QStringList{"一车间"};
    }
    void listFormRoundTrip() {
        QFETCH(QStringList, names);
        QCOMPARE(parseDeptList(formatDeptList(names)), names);
    }
};

REGISTER_TEST(TestDeptRestriction)
#include "tst_deptrestriction.moc"
