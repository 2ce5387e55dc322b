#include "empxzfixture.h"

#include "core/session.h"
#include "personnel/empcxquery.h"
#include "personnel/udlgempcx.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <memory>

using namespace empxzfix;
using personnel::EmpCxQuery;

Q_DECLARE_METATYPE(EmpCxQuery::Status)

namespace {

// The employees a condition piece finds, as the archive appends it to its own statement.
QStringList codesWith(const SqlPart &condition) {
    return codesOf("select * from t_employee where (1=1) " + condition.sql + "order by F_code",
                   condition.binds);
}

} // namespace

// The advanced employee query: its conditions combined into one bound statement, the date
// checks, and the dialog that collects them.
class TestEmpCx : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
        addStaff();
    }
    void cleanup() { db.reset(); }

    void conditionsCombine_data() {
        QTest::addColumn<QStringList>("texts"); // column=value pairs
        QTest::addColumn<EmpCxQuery::Status>("status");
        QTest::addColumn<QStringList>(
            "ranges"); // kind:from:to (kind 0 hiring, 1 graduation, 2 leaving, 3 birthday)
        QTest::addColumn<QStringList>("expected");
        using S = EmpCxQuery::Status;
        QTest::newRow("nothing asked: those in service")
            << QStringList{} << S::InService << QStringList{}
            << QStringList{"001", "002", "011", "101", "A%1", "AB1"};
        QTest::newRow("all, left included")
            << QStringList{"F_sex=女"} << S::All << QStringList{} << QStringList{"002", "101", "102"};
        QTest::newRow("left only") << QStringList{} << S::Left << QStringList{} << QStringList{"102"};
        QTest::newRow("code prefix and exact department")
            << QStringList{"F_code=0", "F_dept=生产部"} << S::InService << QStringList{}
            << QStringList{"001", "002"};
        QTest::newRow("department is exact, not a part")
            << QStringList{"F_dept=生产"} << S::All << QStringList{} << QStringList{};
        QTest::newRow("apostrophe in the name")
            << QStringList{"F_name='明"} << S::InService << QStringList{} << QStringList{"101"};
        QTest::newRow("apostrophe in the address")
            << QStringList{"F_address=O'Neil"} << S::InService << QStringList{} << QStringList{"101"};
        QTest::newRow("percent found as typed")
            << QStringList{"F_code=a%"} << S::InService << QStringList{} << QStringList{"A%1"};
        QTest::newRow("three conditions and") << QStringList{"F_xueli=本科", "F_jiguan=浙江", "F_duty=主任"}
                                              << S::InService << QStringList{} << QStringList{"011"};
        QTest::newRow("blank texts ask nothing")
            << QStringList{"F_name=  ", "F_sex="} << S::Left << QStringList{} << QStringList{"102"};
        QTest::newRow("hiring range, both ends")
            << QStringList{} << S::All << QStringList{"0:2019-01-15:2020-12-31"} << QStringList{"001", "011"};
        QTest::newRow("hiring range, open start") << QStringList{} << S::All << QStringList{"0::2019-01-14"}
                                                  << QStringList{"101", "102", "A%1", "AB1"};
        QTest::newRow("left within a leaving range")
            << QStringList{} << S::Left << QStringList{"2:2023-05-01:2023-05-31"} << QStringList{"102"};
        QTest::newRow("left outside the leaving range")
            << QStringList{} << S::Left << QStringList{"2:2023-06-01:2023-06-30"} << QStringList{};
        QTest::newRow("birthday over the new year")
            << QStringList{} << S::All << QStringList{"3:2026-12-25:2026-01-05"} << QStringList{"001", "002"};
        QTest::newRow("birthday range, the empty date is no birthday")
            << QStringList{} << S::All << QStringList{"3:2026-08-10:2026-08-20"} << QStringList{"101"};
        QTest::newRow("birthday and sex")
            << QStringList{"F_sex=男"} << S::All << QStringList{"3:2026-12-01:2026-12-31"}
            << QStringList{"001", "011"};
    }
    void conditionsCombine() {
        QFETCH(QStringList, texts);
        QFETCH(EmpCxQuery::Status, status);
        QFETCH(QStringList, ranges);
        QFETCH(QStringList, expected);
        EmpCxQuery q;
        for (const QString &t : texts)
            QVERIFY(q.setText(t.section('=', 0, 0), t.section('=', 1)));
        q.setStatus(status);
        for (const QString &r : ranges) {
            const int kind = r.section(':', 0, 0).toInt();
            if (kind == 3) {
                q.setBirthdayRange(true, r.section(':', 1, 1), r.section(':', 2, 2));
            } else {
                EmpCxQuery::DateRange range;
                range.on = true;
                range.from = r.section(':', 1, 1);
                range.to = r.section(':', 2, 2);
                q.setDateRange(EmpCxQuery::DateKind(kind), range);
            }
        }
        QString error;
        QVERIFY2(q.validate(&error), qPrintable(error));
        const SqlPart c = q.condition();
        QVERIFY(!c.sql.contains("'明") && !c.sql.contains("O'Neil") && !c.sql.contains("本科"));
        QCOMPARE(c.sql.count('?'), c.binds.size());
        QCOMPARE(codesWith(c), expected);
        QCOMPARE(codesOf(q.statement()), expected);
        QVERIFY(db->responder.messages.isEmpty());
    }

    void onlyTheFormsColumnsAreAccepted() {
        EmpCxQuery q;
        QVERIFY(q.setText("f_gongzicode", "6222"));
        QVERIFY(!q.setText("F_ID) or (1=1", "x"));
        QVERIFY(!q.setText("F_gongZI", "1"));
        QCOMPARE(codesWith(q.condition()), QStringList({"001", "002"}));
    }

    void birthdayDays_data() {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("days");
        QTest::newRow("over the new year")
            << QDate(2026, 12, 30) << QDate(2026, 1, 2) << QStringList{"12-30", "12-31", "01-01", "01-02"};
        QTest::newRow("one day") << QDate(2026, 5, 1) << QDate(2026, 5, 1) << QStringList{"05-01"};
        QTest::newRow("end of february of a common year")
            << QDate(2026, 2, 27) << QDate(2026, 3, 1) << QStringList{"02-27", "02-28", "02-29", "03-01"};
        QTest::newRow("leap year") << QDate(2028, 2, 28) << QDate(2028, 3, 1)
                                   << QStringList{"02-28", "02-29", "03-01"};
    }
    void birthdayDays() {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QStringList, days);
        QCOMPARE(EmpCxQuery::birthdayDays(from, to), days);
    }

    void badDatesRefused_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such day") << 0 << "2024-02-30"
                                     << ""
                                     << "录用日期的起始日期“2024-02-30”不是正确的日期，请按yyyy-MM-dd输入！";
        QTest::newRow("not a date") << 2 << "2024-01-01"
                                    << "x'y"
                                    << "离职日期的截止日期“x'y”不是正确的日期，请按yyyy-MM-dd输入！";
        QTest::newRow("reversed") << 1 << "2024-05-01"
                                  << "2024-03-01"
                                  << "毕业日期的起始日期不能晚于截止日期！";
        QTest::newRow("birthday") << 3 << "13-01"
                                  << "2024-01-01"
                                  << "生日的起始日期“13-01”不是正确的日期，请按yyyy-MM-dd输入！";
    }
    void badDatesRefused() {
        QFETCH(int, kind);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, message);
        EmpCxQuery q;
        if (kind == 3)
            q.setBirthdayRange(true, from, to);
        else
            q.setDateRange(EmpCxQuery::DateKind(kind), {true, from, to});
        QString error;
        QVERIFY(!q.validate(&error));
        QCOMPARE(error, message);
        // the same range switched off asks nothing and is not checked
        if (kind == 3)
            q.setBirthdayRange(false, from, to);
        else
            q.setDateRange(EmpCxQuery::DateKind(kind), {false, from, to});
        QVERIFY(q.validate(&error));
    }

    // The dialog as the archive uses it: typed conditions, status and a hiring range.
    void dialogBuildsTheCondition() {
        SqlPart condition;
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto *dlg = qobject_cast<TDlgEmpCX *>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            driven = true;
            QCOMPARE(dlg->windowTitle(), QString("员工查询对话框"));
            QVERIFY(dlg->rbNormal->isChecked());
            QVERIFY(!dlg->fromDate[0]->isEnabled());
            typeText(dlg->control("F_jiguan"), "浙江");
            QTest::mouseClick(dlg->rbAll, Qt::LeftButton);
            QTest::mouseClick(dlg->rangeBox[0], Qt::LeftButton);
            QVERIFY(dlg->fromDate[0]->isEnabled());
            dlg->fromDate[0]->setDate(QDate(2019, 1, 1));
            dlg->toDate[0]->setDate(QDate(2019, 12, 31));
            QTest::mouseClick(dlg->Button1, Qt::LeftButton);
        });
        QVERIFY(RunEmpQuery(nullptr, &condition));
        QVERIFY(driven);
        QCOMPARE(codesWith(condition), QStringList{"011"});
    }

    void dialogRefusesAReversedRange() {
        TDlgEmpCX dlg;
        dlg.show();
        dlg.setConditionText("F_name", "张'");
        QTest::mouseClick(dlg.rangeBox[2], Qt::LeftButton);
        dlg.fromDate[2]->setDate(QDate(2024, 6, 1));
        dlg.toDate[2]->setDate(QDate(2024, 1, 1));
        QTest::mouseClick(dlg.Button1, Qt::LeftButton);
        QCOMPARE(db->responder.texts(), QStringList{"离职日期的起始日期不能晚于截止日期！"});
        QCOMPARE(db->responder.messages.first().kind, 2);
        QVERIFY(dlg.isVisible());
        // an unticked end leaves the range open and is accepted
        dlg.toTick[2]->setChecked(false);
        QTest::mouseClick(dlg.Button1, Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(codesOf(dlg.query().statement()), QStringList{});
    }

    void keysPressTheButtons_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("result");
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << int(Qt::ControlModifier) << int(QDialog::Accepted);
        QTest::newRow("Esc") << int(Qt::Key_Escape) << int(Qt::NoModifier) << int(QDialog::Rejected);
    }
    void keysPressTheButtons() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, result);
        TDlgEmpCX dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QWidget *name = dlg.control("F_name");
        name->setFocus();
        QTest::keyClick(name, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(dlg.result(), result);
        QVERIFY(!dlg.isVisible());
    }

    // With the own-department restriction the department box shows that department, disabled,
    // and the whole statement keeps to it.
    void ownDepartmentRestriction() {
        session().CurDeptFlag = 1;
        session().CurDeptScope = "销售部";
        TDlgEmpCX dlg;
        auto *dept = qobject_cast<QComboBox *>(dlg.control("F_dept"));
        QVERIFY(dept);
        QVERIFY(!dept->isEnabled());
        QCOMPARE(dept->currentText(), QString("销售部"));
        QCOMPARE(codesOf(dlg.query().statement()), QStringList({"011", "101"}));
        // the archive adds the restriction to its own statement; the condition keeps to the form
        session().CurDeptFlag = 2;
        session().CurDeptScope = formatDeptList({"生产部", "质检部"});
        EmpCxQuery q;
        QCOMPARE(codesOf(q.statement()), QStringList({"001", "002", "A%1", "AB1"}));
    }
};

REGISTER_TEST(TestEmpCx)
#include "tst_empcx.moc"
