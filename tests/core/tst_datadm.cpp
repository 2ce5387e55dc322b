#include "core/database.h"
#include "core/datadm.h"
#include "core/keltrin.h"
#include "core/session.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTreeWidget>

class TestDataDm : public QObject {
    Q_OBJECT

    static void addNode(const QString &code, const QString &name, const QString &kind = "dept") {
        QVERIFY(TdmData::ExecSqlQuiet("insert into t_treecode(F_code, F_name, F_likecode, F_flag) values (?,?,?,?)",
                                      {code, name, QString(), kind}));
    }

private slots:
    void nextTreeCode_data() {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("next");
        QTest::newRow("first top-level of empty kind") << QStringList{} << "" << 2 << "001";
        QTest::newRow("sibling at top level") << QStringList{"001"} << "001" << 1 << "002";
        QTest::newRow("first child") << QStringList{"001"} << "001" << 2 << "001001";
        QTest::newRow("after 001009") << QStringList{"001", "001009"} << "001" << 2 << "001010";
        QTest::newRow("sibling of 003 when 005 exists")
            << QStringList{"003", "005", "005001"} << "003" << 1 << "006";
        QTest::newRow("sibling of a child") << QStringList{"002", "002001", "002001001"} << "002001" << 1 << "002002";
        QTest::newRow("root child, other kinds ignored") << QStringList{"001"} << "" << 2 << "002";
    }
    void nextTreeCode() {
        QFETCH(QStringList, existing);
        QFETCH(QString, code);
        QFETCH(int, mode);
        QFETCH(QString, next);
        TestDb db;
        for (const QString &c : existing)
            addNode(c, "n" + c);
        addNode("009", "elsewhere", "other");
        QCOMPARE(TdmData::NextTreeCode(code, "dept", mode), next);
        QVERIFY(db.responder.messages.isEmpty());
    }

    void nextTreeCodeRefusesThousandth() {
        TestDb db;
        addNode("001", "a");
        addNode("001999", "b");
        QCOMPARE(TdmData::NextTreeCode("001", "dept", 2), QString());
        QCOMPARE(TdmData::NextTreeCode("001999", "dept", 1), QString());
        QCOMPARE(db.responder.messages.size(), 2);
    }

    void treeFromCodesAndPaths() {
        TestDb db;
        addNode("001", "A");
        addNode("001001", "B");
        addNode("001001001", "C");
        addNode("002", "D'E\\F");
        addNode("002001", "G");
        QTreeWidget tree;
        TdmData::LoadTreeCodes(&tree, "公司", "dept");
        QCOMPARE(tree.topLevelItemCount(), 1);
        QTreeWidgetItem *root = tree.topLevelItem(0);
        QCOMPARE(root->data(0, TdmData::NodeCodeRole).toString(), QString("000"));
        QCOMPARE(root->childCount(), 2);
        QTreeWidgetItem *a = root->child(0), *d = root->child(1);
        QCOMPARE(a->text(0), QString("A"));
        QTreeWidgetItem *b = a->child(0);
        QTreeWidgetItem *c = b->child(0);
        QCOMPARE(c->data(0, TdmData::NodeLevelRole).toInt(), 9);
        QCOMPARE(d->child(0)->text(0), QString("G"));
        QCOMPARE(TdmData::GetTreePath(a, 1), QString("\\\\A"));
        QCOMPARE(TdmData::GetTreePath(b, 1), QString("\\\\A\\B"));
        QCOMPARE(TdmData::GetTreePath(c, 0), QString("\\\\A\\B"));
        QCOMPARE(TdmData::GetTreePath(d->child(0), 1), QString("\\\\D'E\\F\\G"));
    }

    void hasRightFollowsRole() {
        TestDb db;
        session().CurPartCode = "R1";
        QVERIFY(!TdmData::HasRight("201"));
        QVERIFY(TdmData::ExecSqlQuiet("insert into PartLimit(F_PartCode, F_LmtCode) values ('R1', '201')"));
        QVERIFY(TdmData::HasRight("201"));
        QVERIFY(!TdmData::HasRight("202"));
        session().CurPartCode = "R'2";
        QVERIFY(!TdmData::HasRight("201"));
    }

    void fillComboSkipsBlankRows() {
        TestDb db;
        QVERIFY(TdmData::ExecSqlQuiet("delete from t_code where F_type = 'dept'"));
        for (const char *n : {"一车间", "  ", "二车间"})
            QVERIFY(TdmData::ExecSqlQuiet("insert into t_code(F_type, F_name) values ('dept', ?)",
                                          {QString::fromUtf8(n)}));
        QComboBox combo;
        combo.addItem("old");
        QVERIFY(TdmData::FillCombo("select F_name from t_code where F_type = ? order by F_ID", &combo, {"dept"}));
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.itemText(1), QString("二车间"));
    }

    void deleteById() {
        TestDb db;
        QVERIFY(TdmData::ExecSqlQuiet("insert into t_code(F_type, F_name) values ('dept', 'gone')"));
        const int id = TdmData::LookupInt("select F_ID from t_code where F_name = 'gone'");
        QVERIFY(TdmData::DeleteById("t_code", id));
        QCOMPARE(TdmData::LookupInt("select count(*) from t_code where F_name = 'gone'"), 0);
        QVERIFY(!TdmData::DeleteById("no_table", 1));
        QCOMPARE(db.responder.texts(), QStringList{"删除操作失败，请检查数据连接... "});
    }

    void autoBackupOneFilePerDay() {
        TestDb db;
        const QString folder = db.dir() + "/bak/sub";
        QVERIFY(TdmData::ExecSqlQuiet("update SysInfo set f_BakPath = ?", {folder}));
        db.responder.answers.enqueue(1); // create the missing folder
        TdmData::AutoBackup(QDate(2026, 12, 7));
        const QString file = folder + "/dp20261207.back";
        QVERIFY(QFile::exists(file));
        QCOMPARE(db.responder.texts(), QStringList{"当前目录" + folder + " 不存在，是否创建！"});
        const QDateTime stamp = QFileInfo(file).lastModified();
        QTest::qWait(20);
        TdmData::AutoBackup(QDate(2026, 12, 7));
        QCOMPARE(QFileInfo(file).lastModified(), stamp);
        TdmData::AutoBackup(QDate(2026, 12, 8));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
    }

    void autoBackupDeclinedOrUncreatable() {
        TestDb db;
        const QString folder = db.dir() + "/nobak";
        QVERIFY(TdmData::ExecSqlQuiet("update SysInfo set f_BakPath = ?", {folder}));
        db.responder.answers.enqueue(2);
        TdmData::AutoBackup(QDate(2026, 12, 7));
        QVERIFY(!QDir(folder).exists());
        QVERIFY(TdmData::ExecSqlQuiet("update SysInfo set f_BakPath = ?", {"/proc/forbidden/bak"}));
        db.responder.clear();
        TdmData::AutoBackup(QDate(2026, 12, 7));
        QCOMPARE(db.responder.messages.last().text, QString("目录/proc/forbidden/bak 创建失败,请检测路径是否合法!"));
    }

    void passwordsAreHashed() {
        const QString stored = SavePass("s3cret");
        QVERIFY(!stored.contains("s3cret"));
        QVERIFY(stored != SavePass("s3cret")); // salted
        QVERIFY(CheckPass(stored, "s3cret"));
        QVERIFY(CheckPass(stored, " s3cret "));
        QVERIFY(!CheckPass(stored, "S3cret"));
        QVERIFY(!CheckPass(stored, ""));
        QCOMPARE(SavePass(""), QString());
        QVERIFY(CheckPass("", ""));
        QVERIFY(!CheckPass("", "x"));
        QVERIFY(!CheckPass("plaintext", "plaintext"));
    }
};

REGISTER_TEST(TestDataDm)
#include "tst_datadm.moc"
