#include "operfixtures.h"

#include "core/session.h"
#include "operators/actions.h"
#include "operators/checklistbox.h"
#include "operators/sessionload.h"
#include "operators/ufrmlimitgl.h"
#include "operators/ufrmopergl.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <memory>

using namespace operfixtures;

// Roles and their rights, edited through the operator management window and the editor.
class TestRoleEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;

    QStringList texts() const { return db->responder.texts(); }

    // Ticks a right the way a user does: moves to its cell and presses Space.
    static void tickByKey(CheckListBox *list, const QString &name) {
        QTableWidgetItem *item = list->itemOf(name);
        QVERIFY(item);
        list->setFocus();
        list->setCurrentItem(item);
        QTest::keyClick(list, Qt::Key_Space);
    }

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
    }
    void cleanup() { db.reset(); }

    // Each save replaces all of the role's rights with exactly the ticked ones.
    void rightsRewrittenOnEachSave() {
        TFrmOperGl w;
        w.show();
        w.tabs()->setCurrentIndex(1);

        ModalWatch watch1([](QDialog *d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("角色权限"));
            auto *tabs = child<QTabWidget>(d, "tabs");
            QVERIFY(!tabs->isTabVisible(0));
            QVERIFY(tabs->isTabVisible(1) && tabs->isTabVisible(2));
            QCOMPARE(child<QCheckBox>(d, "chkFlag")->text(), QStringLiteral("角色禁用"));
            typeText(child<QLineEdit>(d, "edtPartCode"), QStringLiteral("R1"));
            typeText(child<QLineEdit>(d, "edtPartName"), QStringLiteral("班组长"));
            tabs->setCurrentIndex(2);
            auto *list = child<CheckListBox>(d, "lstLimits");
            QCOMPARE(list->names().size(), 51);
            QCOMPARE(list->columnCount(), 3);
            tickByKey(list, QStringLiteral("员工档案"));
            tickByKey(list, QStringLiteral("用户密码"));
            tickByKey(list, QStringLiteral("生产计件"));
            QTest::mouseClick(child<QPushButton>(d, "btnSave"), Qt::LeftButton);
            // a new role's form is emptied for the next one
            QVERIFY(d->isVisible());
            QCOMPARE(child<QLineEdit>(d, "edtPartCode")->text(), QString());
            QCOMPARE(list->checkedNames(), QStringList());
            QTest::mouseClick(child<QPushButton>(d, "btnExit"), Qt::LeftButton);
        });
        QTest::mouseClick(w.addButton(), Qt::LeftButton);
        QVERIFY(watch1.opened());
        QCOMPARE(texts(), QStringList());
        QCOMPARE(roleRights("R1"), (QStringList{"102", "201", "301"}));
        QCOMPARE(w.currentCode(), QStringLiteral("R1"));
        QCOMPARE(w.roleList()->currentItem()->text(2), QStringLiteral("班组长"));

        // a stale right and one of a switched-off catalogue entry go with the next save
        QVERIFY(TdmData::ExecSql("update Limits set F_Flag = 0 where F_Code = '507'"));
        QVERIFY(TdmData::ExecSql(
            "insert into PartLimit (F_PartCode, F_LmtCode) values ('R1', '507'), ('R1', '999')"));

        ModalWatch watch2([](QDialog *d) {
            QVERIFY(!child<QLineEdit>(d, "edtPartCode")->isEnabled());
            auto *list = child<CheckListBox>(d, "lstLimits");
            QCOMPARE(list->names().size(), 50);
            QCOMPARE(list->checkedNames(), (QStringList{"用户密码", "员工档案", "生产计件"}));
            tickByKey(list, QStringLiteral("用户密码"));
            list->setChecked(QStringLiteral("生产计件"), false);
            list->setChecked(QStringLiteral("生产计件明细统计"), true);
            QTest::mouseClick(child<QPushButton>(d, "btnSave"), Qt::LeftButton);
            QCOMPARE(d->result(), int(QDialog::Accepted));
            QVERIFY(!d->isVisible());
        });
        QTest::mouseClick(w.editButton(), Qt::LeftButton);
        QVERIFY(watch2.opened());
        QCOMPARE(texts(), QStringList());
        QCOMPARE(roleRights("R1"), (QStringList{"201", "401"}));
        QCOMPARE(column("select F_Name from PartList"), QStringList{"班组长"});
    }

    // 全选 and 清除; a role without rights is kept, and its operator sees nothing at the next
    // login while the running session stays as it was.
    void allThenNoRights() {
        addRole("R1", "班组长", {"201"});
        addOperator("001", "张三", "", "R1");
        QVERIFY(loadSession("001", "张三"));
        QCOMPARE(permittedActions(session().CurOperCode, session().CurPartCode), QSet<QString>{"201"});

        for (const char *button : {"btnAll", "btnClear"}) {
            TFrmLimitGl d(TFrmLimitGl::Kind::Role, "R1", true);
            d.show();
            child<QTabWidget>(&d, "tabs")->setCurrentIndex(2);
            QTest::mouseClick(child<QPushButton>(&d, button), Qt::LeftButton);
            QVERIFY(d.save());
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QCOMPARE(roleRights("R1").size(), QByteArray(button) == "btnAll" ? 51 : 0);
        }
        QCOMPARE(column("select F_Code from PartList"), QStringList{"R1"});
        QCOMPARE(session().CurPartCode, QStringLiteral("R1"));
        QVERIFY(loadSession("001", "张三"));
        QVERIFY(permittedActions(session().CurOperCode, session().CurPartCode).isEmpty());
        QVERIFY(visibleMenus({}).isEmpty());
    }

    void refusals_data() {
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("blank code") << false << "  "
                                    << "新角色"
                                    << "角色编号不能为空！"
                                    << "edtPartCode";
        QTest::newRow("existing code") << false << "R1"
                                       << "新角色"
                                       << "角色编号重复!"
                                       << "edtPartCode";
        QTest::newRow("existing code, other case and blanks") << false << " r1 "
                                                              << "新角色"
                                                              << "角色编号重复!"
                                                              << "edtPartCode";
        QTest::newRow("blank name") << false << "R3"
                                    << " "
                                    << "角色名称不能为空！"
                                    << "edtPartName";
        QTest::newRow("name of another role") << false << "R3"
                                              << "仓管"
                                              << "角色名称重复!"
                                              << "edtPartName";
        QTest::newRow("edit: name of another role") << true << "R1"
                                                    << "仓管"
                                                    << "角色名称重复!"
                                                    << "edtPartName";
    }
    // A refused role writes nothing and stays open on the faulty field.
    void refusals() {
        QFETCH(bool, editing);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        addRole("R1", "班组长", {"201"});
        addRole("R2", "仓管", {"301"});
        const QStringList roles = tableRows("PartList");
        const QStringList rights = tableRows("PartLimit");

        TFrmLimitGl d(TFrmLimitGl::Kind::Role, editing ? code : QString(), editing);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        auto *edtName = child<QLineEdit>(&d, "edtPartName");
        if (!editing)
            typeText(child<QLineEdit>(&d, "edtPartCode"), code);
        edtName->clear();
        typeText(edtName, name);
        auto *tabs = child<QTabWidget>(&d, "tabs");
        tabs->setCurrentIndex(2);
        QTest::mouseClick(child<QPushButton>(&d, "btnAll"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(&d, "btnSave"), Qt::LeftButton);

        QCOMPARE(texts(), QStringList{message});
        QCOMPARE(db->responder.messages.first().kind, 0);
        QCOMPARE(tableRows("PartList"), roles);
        QCOMPARE(tableRows("PartLimit"), rights);
        QVERIFY(d.isVisible());
        QCOMPARE(tabs->currentIndex(), 1);
        QVERIFY(d.focusWidget());
        QCOMPARE(d.focusWidget()->objectName(), focus);
    }

    // A database failure half way through the save leaves the role and its rights as they were.
    void failedSaveRollsBack() {
        addRole("R1", "班组长", {"201"});
        QVERIFY(
            TdmData::ExecSql("create trigger t_block before insert on PartLimit when new.F_LmtCode = '301' "
                             "begin select raise(abort, 'blocked'); end"));
        TFrmLimitGl d(TFrmLimitGl::Kind::Role, "R1", true);
        d.show();
        auto *name = child<QLineEdit>(&d, "edtPartName");
        name->clear();
        typeText(name, QStringLiteral("组长"));
        auto *list = child<CheckListBox>(&d, "lstLimits");
        list->setCheckedNames({QStringLiteral("员工合同"), QStringLiteral("生产计件")});
        QVERIFY(!d.save());
        QCOMPARE(texts(), QStringList{QStringLiteral("保存失败，请检测数据库连接！")});
        QCOMPARE(db->responder.messages.first().kind, 3);
        QCOMPARE(column("select F_Name from PartList"), QStringList{"班组长"});
        QCOMPARE(roleRights("R1"), QStringList{"201"});
        QVERIFY(d.isVisible());
        // the connection is usable again
        QVERIFY(TdmData::ExecSql("drop trigger t_block"));
        QVERIFY(d.save());
        QCOMPARE(roleRights("R1"), (QStringList{"202", "301"}));
    }

    // Enter walks the rights list column by column, then on to the next line.
    void enterMovesToNextColumn() {
        TFrmLimitGl d(TFrmLimitGl::Kind::Role, QString(), false);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        child<QTabWidget>(&d, "tabs")->setCurrentIndex(2);
        auto *list = child<CheckListBox>(&d, "lstLimits");
        list->setFocus();
        list->setCurrentCell(0, 0);
        QList<QPoint> visited;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(list, Qt::Key_Return);
            visited << QPoint(list->currentColumn(), list->currentRow());
        }
        QCOMPARE(visited, (QList<QPoint>{{1, 0}, {2, 0}, {0, 1}, {1, 1}}));
        QCOMPARE(list->checkedNames(), QStringList());
        // 51 rights in three columns of 17, filled column by column
        QCOMPARE(list->rowCount(), 17);
        QCOMPARE(list->item(0, 1)->text(), list->names().at(17));
    }
};

REGISTER_TEST(TestRoleEditor)
#include "tst_roleeditor.moc"
