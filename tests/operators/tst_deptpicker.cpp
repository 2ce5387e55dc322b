#include "operfixtures.h"

#include "core/deptrestriction.h"
#include "operators/checklistbox.h"
#include "operators/udlgselectdeptstr.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QPushButton>
#include <memory>

using namespace operfixtures;

// The department picker: what it ticks from a stored list and what it gives back.
class TestDeptPicker : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
        // beside the delivered departments: one whose name is part of others, one with an apostrophe
        QVERIFY(TdmData::ExecSql("insert into t_code (F_type, F_Name) values ('dept', '车间'), ('dept', ?)",
                                 {QStringLiteral("O'Neil组")}));
    }
    void cleanup() { db.reset(); }

    void roundTrip_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("result");
        QTest::newRow("two departments")
            << "'一车间','二车间'" << QStringList{"一车间", "二车间"} << "'一车间','二车间'";
        QTest::newRow("full-width comma")
            << "'二车间'，'一车间'" << QStringList{"一车间", "二车间"} << "'一车间','二车间'";
        QTest::newRow("name inside other names") << "'车间'" << QStringList{"车间"} << "'车间'";
        QTest::newRow("apostrophe") << formatDeptList({"O'Neil组"}) << QStringList{"O'Neil组"}
                                    << formatDeptList({"O'Neil组"});
        QTest::newRow("department no longer listed") << "'五车间','仓库'" << QStringList{"仓库"} << "'仓库'";
        QTest::newRow("empty") << "" << QStringList{} << "";
    }
    void roundTrip() {
        QFETCH(QString, current);
        QFETCH(QStringList, ticked);
        QFETCH(QString, result);
        TDLGselectDeptSTR dlg;
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("部门选择 "));
        QCOMPARE(dlg.list()->columnCount(), 2);
        QCOMPARE(dlg.list()->names(), (QStringList{"一车间", "二车间", "三车间", "包装车间", "仓库", "办公室",
                                                   "财务部", "车间", "O'Neil组"}));
        dlg.setCurrent(current);
        QCOMPARE(dlg.list()->checkedNames(), ticked);
        QCOMPARE(dlg.result(), result);
    }

    // Through SelectDepartments: 确定 gives the ticked list, 取消 the current one.
    void selectDepartments_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("expected");
        QTest::newRow("确定") << true << "'二车间','仓库'";
        QTest::newRow("取消") << false << "'一车间','二车间'";
    }
    void selectDepartments() {
        QFETCH(bool, ok);
        QFETCH(QString, expected);
        ModalWatch watch([ok](QDialog *d) {
            auto *dlg = qobject_cast<TDLGselectDeptSTR *>(d);
            QVERIFY(dlg);
            QCOMPARE(dlg->list()->checkedNames(), (QStringList{"一车间", "二车间"}));
            // untick 一车间 with the keyboard, tick 仓库 with the mouse on its box
            dlg->list()->setFocus();
            dlg->list()->setCurrentItem(dlg->list()->itemOf(QStringLiteral("一车间")));
            QTest::keyClick(dlg->list(), Qt::Key_Space);
            dlg->list()->setChecked(QStringLiteral("仓库"), true);
            QTest::mouseClick(ok ? dlg->okButton() : dlg->cancelButton(), Qt::LeftButton);
        });
        QCOMPARE(SelectDepartments(QStringLiteral("'一车间','二车间'")), expected);
        QVERIFY(watch.opened());
        QCOMPARE(db->responder.texts(), QStringList());
    }

    void noDepartments() {
        QVERIFY(TdmData::ExecSql("delete from t_code where F_type = 'dept'"));
        ModalWatch watch([](QDialog *) {});
        QCOMPARE(SelectDepartments(QStringLiteral("'一车间'")), QStringLiteral("'一车间'"));
        QTest::qWait(30);
        QVERIFY(!watch.opened());
        QCOMPARE(db->responder.texts(), QStringList{QStringLiteral("没有项目选择！")});
        QCOMPARE(db->responder.messages.first().kind, 0);
    }
};

REGISTER_TEST(TestDeptPicker)
#include "tst_deptpicker.moc"
