#include "empxzfixture.h"

#include "core/session.h"
#include "personnel/empxzquery.h"
#include "personnel/udlgempxz.h"
#include "personnel/ufrmempedit.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTimer>
#include <memory>

using namespace empxzfix;

namespace {

const char *const kMonth = "202403";

void addMonth(const QString &key) {
    TdmData::ExecSql("insert into wg_Month (F_Year, F_Month, F_TableName) values (?, ?, ?)",
                     {key.left(4).toInt(), key.mid(4).toInt(), key});
}

void addWageRow(const QString &month, const QString &code) {
    TdmData::ExecSql("insert into wg_salaryREC (F_Month, F_Code, F_Name) values (?, ?, ?)",
                     {month, code, "x"});
}

// code -> "name|dept|bank" of the wage rows of a month.
QStringList wageRows(const QString &month) {
    QStringList out;
    QSqlQuery q;
    TdmData::OpenSql(
        "select F_Code, F_Name, F_Dept, F_Bank from wg_salaryREC where F_Month = ? order by F_Code", q,
        {month});
    while (q.next())
        out << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                           q.value(3).toString()}
                   .join('|');
    return out;
}

int wageRowCount() {
    return TdmData::LookupInt("select count(*) from wg_salaryREC");
}

// The middle of a row's first cell, once the grid is laid out.
QPoint rowPoint(DBGridEh *grid, int row) {
    QCoreApplication::processEvents();
    const QModelIndex index = grid->model()->index(row, 0);
    grid->scrollTo(index);
    return grid->visualRect(index).center();
}

// A double-click on a row as the mouse makes it: press, release, then the double-click.
void doubleClickRow(DBGridEh *grid, int row) {
    const QPoint at = rowPoint(grid, row);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

int rowOf(DBGridEh *grid, const QString &code) {
    return gridCodes(grid).indexOf(code);
}

// Selects the value-list row showing value.
void clickValue(TDLGempXZ *dlg, const QString &value) {
    for (int r = 0; r < dlg->vleList->rowCount(); ++r) {
        if (dlg->vleList->item(r, 1)->text() == value) {
            const QRect rect = dlg->vleList->visualItemRect(dlg->vleList->item(r, 1));
            QTest::mouseClick(dlg->vleList->viewport(), Qt::LeftButton, {}, rect.center());
            return;
        }
    }
    QFAIL(qPrintable("no value " + value));
}

QStringList valueListTexts(TDLGempXZ *dlg) {
    QStringList out;
    for (int r = 0; r < dlg->vleList->rowCount(); ++r)
        out << dlg->vleList->item(r, 0)->text() + ":" + dlg->vleList->item(r, 1)->text();
    return out;
}

} // namespace

// The employee selection dialog: its searches, the value list, picking by code, and the
// wage-month mode that appends wage rows.
class TestEmpXz : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;

    std::unique_ptr<TDLGempXZ> openDialog() {
        auto dlg = std::make_unique<TDLGempXZ>();
        dlg->show();
        return dlg;
    }

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
        addStaff();
    }
    void cleanup() { db.reset(); }

    // Each keystroke in the code and name boxes re-reads the list; 查询 applies the duty box.
    void searchesFilterTheList_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("duty");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("nothing typed: all in service, by code")
            << ""
            << ""
            << "" << QStringList{"001", "002", "011", "101", "A%1", "AB1"};
        QTest::newRow("code is a prefix") << "01"
                                          << ""
                                          << "" << QStringList{"011"};
        QTest::newRow("code prefix, case and blanks ignored") << " ab"
                                                              << ""
                                                              << "" << QStringList{"AB1"};
        QTest::newRow("percent in a code is found as typed") << "A%"
                                                             << ""
                                                             << "" << QStringList{"A%1"};
        QTest::newRow("name anywhere") << ""
                                       << "三"
                                       << "" << QStringList{"001"};
        QTest::newRow("name with an apostrophe") << ""
                                                 << "'"
                                                 << "" << QStringList{"101"};
        QTest::newRow("code and name together") << "0"
                                                << "张"
                                                << "" << QStringList{"001"};
        QTest::newRow("employee who left never listed") << ""
                                                        << "赵"
                                                        << "" << QStringList{};
        QTest::newRow("duty is a prefix") << ""
                                          << ""
                                          << "车" << QStringList{"001", "011"};
    }
    void searchesFilterTheList() {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, duty);
        QFETCH(QStringList, expected);
        auto dlg = openDialog();
        typeText(dlg->edtCode, code);
        typeText(dlg->edtName, name);
        if (!duty.isEmpty()) {
            dlg->cbbduty->setEditText(duty);
            // the duty box alone does not refresh the list
            QVERIFY(gridCodes(dlg->DBGridEh1).size() >= expected.size());
            QTest::mouseClick(dlg->BitBtn3, Qt::LeftButton);
        }
        QCOMPARE(gridCodes(dlg->DBGridEh1), expected);
        QVERIFY(db->responder.messages.isEmpty());
    }

    // The value list offers the distinct values of the employees in service; a click filters.
    void valueListFilters() {
        auto dlg = openDialog();
        QCOMPARE(dlg->windowTitle(), QString("员工选择"));
        QCOMPARE(dlg->cbbListType->count(), 12);
        QCOMPARE(dlg->cbbListType->itemText(11), QString("合同期限 "));
        QCOMPARE(valueListTexts(dlg.get()), QStringList({"0:全部", "1:女", "2:男"}));
        clickValue(dlg.get(), "女");
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList({"002", "101"}));

        dlg->cbbListType->setCurrentIndex(1); // 部门: refilled, back to 全部
        QCOMPARE(valueListTexts(dlg.get()), QStringList({"0:全部", "1:生产部", "2:质检部", "3:销售部"}));
        QCOMPARE(gridCodes(dlg->DBGridEh1).size(), 6);
        clickValue(dlg.get(), "销售部");
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList({"011", "101"}));
        // a search keeps the chosen value
        typeText(dlg->edtName, "王");
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList({"011"}));
        clickValue(dlg.get(), "全部");
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList({"011"}));
    }

    void departmentRestrictionLimitsTheList() {
        session().CurDeptFlag = 2;
        session().CurDeptScope = formatDeptList({"销售部", "质检部"});
        auto dlg = openDialog();
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList({"011", "101", "A%1", "AB1"}));
        session().CurDeptFlag = 1;
        session().CurDeptScope = "生产部";
        dlg->refreshList();
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList({"001", "002"}));
    }

    // SelectEmployee: the code of the current row on 确定 or a double-click, the caller's own
    // code on 取消 or with an empty list.
    void selectEmployeeByCode_data() {
        QTest::addColumn<QString>("initial");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("expected");
        QTest::newRow("initial code filters, 确定") << "01"
                                                    << ""
                                                    << "ok"
                                                    << "011";
        QTest::newRow("typing replaces the initial code") << "01"
                                                          << "00"
                                                          << "ok"
                                                          << "001";
        QTest::newRow("double-click") << ""
                                      << "AB"
                                      << "double"
                                      << "AB1";
        QTest::newRow("cancel keeps the caller's code") << "01"
                                                        << ""
                                                        << "cancel"
                                                        << "01";
        QTest::newRow("empty list keeps the caller's code") << "zz"
                                                            << ""
                                                            << "ok"
                                                            << "zz";
    }
    void selectEmployeeByCode() {
        QFETCH(QString, initial);
        QFETCH(QString, typed);
        QFETCH(QString, how);
        QFETCH(QString, expected);
        bool closed = false;
        QString shownCode;
        QTimer::singleShot(0, [&] {
            auto *dlg = qobject_cast<TDLGempXZ *>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            shownCode = dlg->edtCode->text();
            if (!typed.isEmpty())
                typeText(dlg->edtCode, typed); // the initial text is selected: typing replaces it
            if (how == "ok")
                QTest::mouseClick(dlg->BitBtn1, Qt::LeftButton);
            else if (how == "cancel")
                QTest::mouseClick(dlg->BitBtn2, Qt::LeftButton);
            else
                doubleClickRow(dlg->DBGridEh1, 0);
            closed = !dlg->isVisible();
            if (!closed)
                dlg->reject(); // never leave the test waiting
        });
        const QString result = SelectEmployee(nullptr, initial);
        QVERIFY(closed);
        QCOMPARE(shownCode, initial);
        QCOMPARE(result, expected);
    }

    // "新增员工" opens the editor for a quick add; the list then shows the new employee as the
    // current row, in wage-month mode too.
    void quickAddMovesToTheNewEmployee() {
        addMonth(kMonth);
        auto dlg = openDialog();
        dlg->setWageMonth(kMonth);
        bool edited = false;
        QTimer::singleShot(0, [&] {
            auto *editor = qobject_cast<TfrmEmpEdit *>(QApplication::activeModalWidget());
            if (!editor)
                return;
            edited = true;
            editor->edtcode->setText("050");
            editor->edtname->setText("新来的");
            QTest::mouseClick(editor->okButton(), Qt::LeftButton);
            if (editor->isVisible())
                editor->reject();
        });
        QTest::mouseClick(dlg->BitBtn4, Qt::LeftButton);
        QVERIFY(edited);
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList({"001", "002", "011", "050", "101", "A%1", "AB1"}));
        QCOMPARE(dlg->currentCode(), QString("050"));
        // the dialog goes on picking: 确定 appends the new employee to the month
        QTest::mouseClick(dlg->BitBtn1, Qt::LeftButton);
        const QString dept = TdmData::LookupStr("select F_dept from t_employee where F_code = '050'");
        QCOMPARE(wageRows(kMonth), QStringList({"050|新来的|" + dept + "|"}));
    }

    // Wage-month mode lists only employees in service without a row in the month, also while
    // searching; a double-click appends the employee's wage row and keeps the dialog open.
    void monthModeAppendsWageRows() {
        addMonth(kMonth);
        addWageRow(kMonth, "001");
        addWageRow("202402", "002"); // another month does not count
        TdmData::ExecSql("update t_employee set F_gongziCode = ? where F_code = ?", {"O'Bank\\9", "002"});
        auto dlg = openDialog();
        dlg->setWageMonth(kMonth);
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList({"002", "011", "101", "A%1", "AB1"}));
        typeText(dlg->edtCode, "0");
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList({"002", "011"}));
        clickValue(dlg.get(), "女");
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList({"002"}));

        doubleClickRow(dlg->DBGridEh1, 0);
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->addedCount(), 1);
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList{});
        QCOMPARE(wageRows(kMonth), QStringList({"001|x||", "002|李四|生产部|O'Bank\\9"}));
        QCOMPARE(wageRows("202402").size(), 1);

        // every numeric item 0, every text item empty
        QSqlQuery q;
        QVERIFY(TdmData::OpenSql("select * from wg_salaryREC where F_Month = ? and F_Code = ?", q,
                                 {kMonth, "002"}));
        QVERIFY(q.next());
        int items = 0;
        for (int i = 0; i < q.record().count(); ++i) {
            const QString f = q.record().fieldName(i).toLower();
            if (f.startsWith("f_gzt")) {
                QCOMPARE(q.value(i).toString(), QString());
                ++items;
            } else if (f.startsWith("f_gz")) {
                QCOMPARE(q.value(i).toDouble(), 0.0);
                ++items;
            }
        }
        QCOMPARE(items, 70);
        QVERIFY(db->responder.messages.isEmpty());
    }

    // 确定 appends every selected employee at once and closes the dialog.
    void monthModeOkAppendsTheSelection() {
        addMonth(kMonth);
        auto dlg = openDialog();
        dlg->setWageMonth(kMonth);
        DBGridEh *grid = dlg->DBGridEh1;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(grid, rowOf(grid, "011")));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          rowPoint(grid, rowOf(grid, "AB1")));
        QTest::mouseClick(dlg->BitBtn1, Qt::LeftButton);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->addedCount(), 2);
        QCOMPARE(wageRows(kMonth), QStringList({"011|王五|销售部|", "AB1|乙一|质检部|"}));
    }

    // A refused pick shows why and writes nothing, not even the other employees of the pick.
    void appendRefusals_data() {
        QTest::addColumn<QString>("month");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("message");
        QTest::newRow("already in the month") << QString(kMonth) << QStringList{"011", "001"}
                                              << "员工张三（001）已有2024年03月的工资记录，不能重复增加！";
        QTest::newRow("left the company")
            << QString(kMonth) << QStringList{"011", "102"} << "员工赵六（102）已离职，不能增加到工资表！";
        QTest::newRow("same code twice")
            << QString(kMonth) << QStringList{"011", "011b"}
            << "所选员工中编号“011”出现了两次，同一编号在一个月只能有一条工资记录！";
        QTest::newRow("month without a wage table")
            << "202404" << QStringList{"011"} << "2024年04月的工资表不存在，请先新建工资表！";
        QTest::newRow("bad month key")
            << "202413" << QStringList{"011"} << "工资月份“202413”不正确，应为六位的年月（如202401）！";
        QTest::newRow("unknown employee") << QString(kMonth) << QStringList{"011", "none"}
                                          << "所选员工不存在或不在您可操作的部门中，请刷新列表后重新选择！";
    }
    void appendRefusals() {
        QFETCH(QString, month);
        QFETCH(QStringList, codes);
        QFETCH(QString, message);
        addMonth(kMonth);
        addWageRow(kMonth, "001");
        const qint64 twin = addEmp("011", "王五二", "销售部"); // a second employee under code 011
        QList<qint64> ids;
        for (const QString &c : codes) {
            if (c == "011b")
                ids << twin;
            else if (c == "none")
                ids << 99999;
            else
                ids << TdmData::LookupStr("select min(F_ID) from t_employee where F_code = ?", {c})
                           .toLongLong();
        }
        const int before = wageRowCount();
        QCOMPARE(personnel::appendWageRows(month, ids), -1);
        QCOMPARE(db->responder.texts(), QStringList{message});
        QCOMPARE(wageRowCount(), before);
    }

    // An operator restricted to departments cannot append employees of other departments.
    void appendOutsideTheRestrictionRefused() {
        addMonth(kMonth);
        session().CurDeptFlag = 1;
        session().CurDeptScope = "生产部";
        const qint64 id = TdmData::LookupStr("select F_ID from t_employee where F_code = '011'").toLongLong();
        QCOMPARE(personnel::appendWageRows(kMonth, {id}), -1);
        QCOMPARE(wageRowCount(), 0);
        auto dlg = openDialog();
        dlg->setWageMonth(kMonth);
        QCOMPARE(gridCodes(dlg->DBGridEh1), QStringList({"001", "002"}));
    }
};

REGISTER_TEST(TestEmpXz)
#include "tst_empxz.moc"
