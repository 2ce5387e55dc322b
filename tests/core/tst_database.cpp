#include "core/database.h"
#include "core/datadm.h"
#include "core/dbgrid.h"
#include "core/keltrin.h"
#include "core/transaction.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray readAll(const QString &path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
void writeFile(const QString &path, const QByteArray &data) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(data);
}
} // namespace

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void newDatabaseHasSchemaAndContent() {
        TestDb db;
        QVERIFY(db.ok());
        QCOMPARE(TdmData::LookupInt("PRAGMA user_version"), Database::schemaVersion());
        QCOMPARE(TdmData::LookupInt("select count(*) from Limits"), 51);
        QCOMPARE(TdmData::LookupInt("select count(*) from Sys_wgcols where F_tblName = 'sys'"), 70);
        QCOMPARE(TdmData::LookupInt("select count(*) from SysInfo"), 1);
        QCOMPARE(TdmData::LookupStr("select F_PassWord from OperList where F_Code = '000'"), QString());
        QVERIFY(TdmData::LookupInt("select count(*) from t_code where F_type = 'dept'") >= 2);
        // scratch tables belong to the connection
        QVERIFY(TdmData::ExecSqlQuiet("insert into tempWageItem(F_code) values (?)", {"f_gz100"}));
        QVERIFY(db.responder.messages.isEmpty());
    }

    void scratchTablesAreRecreatedOnReopen() {
        TestDb db;
        QVERIFY(TdmData::ExecSqlQuiet("insert into tempWageItem(F_code) values ('x')"));
        Database::close();
        QVERIFY(Database::open(db.path()).ok());
        QCOMPARE(TdmData::LookupInt("select count(*) from tempWageItem"), 0);
    }

    void apostrophesAndBackslashesRoundTrip() {
        TestDb db;
        const QString name = QString("O'Brien \\ 车间 \"A\"; drop table t_code;--");
        QVERIFY(TdmData::ExecSql("insert into t_code(F_type, F_name) values (?, ?)", {"dept", name}));
        QCOMPARE(
            TdmData::LookupStr("select F_name from t_code where F_type = ? and F_name = ?", {"dept", name}),
            name);
        QVERIFY(TdmData::LookupInt("select count(*) from t_code") > 1);
        // text compares without regard to case
        QCOMPARE(TdmData::LookupStr("select F_name from t_code where F_name = ?", {name.toUpper()}), name);
        QVERIFY(db.responder.messages.isEmpty());
    }

    void failingStatementReportsAndReturnsFalse() {
        TestDb db;
        QVERIFY(!TdmData::ExecSql("insert into no_such_table values (1)"));
        QCOMPARE(db.responder.messages.size(), 2);
        QCOMPARE(db.responder.messages[0].text, QString("操作失败，请检查数据连接... "));
        QCOMPARE(db.responder.messages[0].kind, 3);
        QCOMPARE(TdmData::LookupStr("select nothing from nowhere"), QString());
        QCOMPARE(TdmData::LookupInt("select F_ID from OperList where F_Code = ?", {"none"}), 0);
    }

    void transactionRollsBackUnlessCommitted() {
        TestDb db;
        const int before = TdmData::LookupInt("select count(*) from t_code");
        {
            Transaction t(Database::db());
            QVERIFY(t.active());
            QVERIFY(TdmData::ExecSqlQuiet("insert into t_code(F_type, F_name) values ('dept', 'X')"));
        }
        QCOMPARE(TdmData::LookupInt("select count(*) from t_code"), before);
        {
            Transaction t(Database::db());
            QVERIFY(TdmData::ExecSqlQuiet("insert into t_code(F_type, F_name) values ('dept', 'X')"));
            QVERIFY(t.commit());
        }
        QCOMPARE(TdmData::LookupInt("select count(*) from t_code"), before + 1);
    }

    void refusedFilesAreLeftUntouched_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("result");
        QByteArray jet(2048, '\0');
        jet.replace(4, 15, "Standard Jet DB");
        QByteArray ace(2048, '\0');
        ace.replace(4, 15, "Standard ACE DB");
        QByteArray damaged("SQLite format 3", 16);
        damaged += QByteArray(4000, '\x5a');
        QTest::newRow("access jet") << jet << int(Database::OpenResult::AccessFile);
        QTest::newRow("access ace") << ace << int(Database::OpenResult::AccessFile);
        QTest::newRow("text file") << QByteArray("just some text\n")
                                   << int(Database::OpenResult::NotDatabase);
        QTest::newRow("empty file") << QByteArray() << int(Database::OpenResult::NotDatabase);
        QTest::newRow("damaged") << damaged << int(Database::OpenResult::NotDatabase);
    }
    void refusedFilesAreLeftUntouched() {
        QFETCH(QByteArray, content);
        QFETCH(int, result);
        QTemporaryDir dir;
        const QString path = dir.filePath("DodEdazod.mdb");
        writeFile(path, content);
        const Database::OpenStatus st = Database::open(path);
        QCOMPARE(int(st.result), result);
        QVERIFY(!st.message.isEmpty());
        QVERIFY(!Database::isOpen());
        QCOMPARE(readAll(path), content);
    }

    void foreignSqliteDatabaseIsRefused() {
        QTemporaryDir dir;
        const QString path = dir.filePath("other.db");
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery(other).exec("create table notes(x text)");
            other.close();
        }
        QSqlDatabase::removeDatabase("other");
        const QByteArray before = readAll(path);
        QCOMPARE(int(Database::open(path).result), int(Database::OpenResult::NotDatabase));
        QCOMPARE(readAll(path), before);
    }

    void newerSchemaIsRefused() {
        TestDb db;
        QVERIFY(
            TdmData::ExecSqlQuiet(QString("PRAGMA user_version = %1").arg(Database::schemaVersion() + 1)));
        Database::close();
        QCOMPARE(int(Database::open(db.path()).result), int(Database::OpenResult::TooNew));
    }

    void lockedFileIsReported() {
        TestDb db;
        Database::close();
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "locker");
        other.setDatabaseName(db.path());
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec("PRAGMA locking_mode = EXCLUSIVE"));
        QVERIFY(q.exec("BEGIN EXCLUSIVE"));
        const Database::OpenStatus st = Database::open(db.path());
        QCOMPARE(int(st.result), int(Database::OpenResult::Locked));
        q.exec("ROLLBACK");
        q.finish();
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase("locker");
        QVERIFY(Database::open(db.path()).ok());
    }

    void backupIsAConsistentDatabase() {
        TestDb db;
        QVERIFY(TdmData::ExecSqlQuiet("insert into t_code(F_type, F_name) values ('dept', '备份车间')"));
        const QString target = db.dir() + "/copy.back";
        QString error;
        QVERIFY2(Database::backupTo(target, &error), qPrintable(error));
        QVERIFY(!QFile::exists(target + ".part"));
        Database::close();
        QVERIFY(Database::open(target).ok());
        QCOMPARE(TdmData::LookupInt("select count(*) from t_code where F_name = ?", {"备份车间"}), 1);
    }

    void backupWhileAGridIsStillReading() {
        TestDb db;
        for (int i = 0; i < 600; ++i)
            QVERIFY(TdmData::ExecSqlQuiet("insert into t_code(F_type, F_name) values ('dept', ?)",
                                          {QString::number(i)}));
        DBGridEh grid;
        QVERIFY(grid.setQuery("select F_ID, F_name from t_code order by F_ID"));
        QVERIFY(grid.rowCount() < grid.totalRowCount()); // rows still to read
        QString error;
        QVERIFY2(Database::backupTo(db.dir() + "/busy.back", &error), qPrintable(error));
        grid.fetchAll();
        QCOMPARE(grid.rowCount(), grid.totalRowCount());
    }

    void backupToUnwritableFolderFails() {
        TestDb db;
        QString error;
        QVERIFY(!Database::backupTo("/proc/no-such-dir/x.back", &error));
        QVERIFY(!error.isEmpty());
    }

    void compactDatabase() {
        TestDb db;
        const QString path = db.path();
        Database::close();
        QString error;
        QVERIFY2(CompactDatabase(path, &error), qPrintable(error));
        QVERIFY(!CompactDatabase(db.dir() + "/missing.mdb", &error));
        QVERIFY(Database::open(path).ok());
    }

    void splitStatements() {
        const QStringList s =
            Database::splitStatements("-- title; with semicolon\ncreate table a(x text default ';');\n"
                                      "insert into a values ('it''s; fine');\n\n");
        QCOMPARE(s.size(), 2);
        QCOMPARE(s[1], QString("insert into a values ('it''s; fine')"));
    }
};

REGISTER_TEST(TestDatabase)
#include "tst_database.moc"
