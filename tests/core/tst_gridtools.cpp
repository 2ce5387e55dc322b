#include "core/dbgrid.h"
#include "core/gridlayout.h"
#include "core/gridtools.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

void threeColumns(DBGridEh &grid) {
    grid.addColumn({"F_Code", "编号"});
    grid.addColumn({"F_Name", "姓名"});
    grid.addColumn({"F_Dept", "部门"});
}

// Runs action on the modal dialog of type T once it is shown.
template <typename T> void whenShown(std::function<void(T *)> action) {
    QTimer::singleShot(0, [action] {
        auto *dlg = qobject_cast<T *>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        action(dlg);
    });
}

} // namespace

class TestGridTools : public QObject {
    Q_OBJECT
private slots:
    void sortText_data() {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("directions");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two directions") << QStringList{"编号", "姓名", "部门"}
                                        << QStringList{"升序", "", "降序"} << "f_code ASC,f_dept DESC,";
        QTest::newRow("list order decides")
            << QStringList{"部门", "编号"} << QStringList{"降序", "升序"} << "f_dept DESC,f_code ASC,";
        QTest::newRow("no direction") << QStringList{"编号", "姓名"} << QStringList{"", ""} << "";
        QTest::newRow("duplicate title takes the first column")
            << QStringList{"同名", "同名"} << QStringList{"升序", "降序"} << "f_a ASC,f_a DESC,";
        QTest::newRow("unknown title passed over")
            << QStringList{"无此列", "姓名"} << QStringList{"升序", "降序"} << "f_name DESC,";
    }
    void sortText() {
        QFETCH(QStringList, titles);
        QFETCH(QStringList, directions);
        QFETCH(QString, expected);
        const QList<MyRecord> records = {{"f_code", "编号", ""},
                                         {"f_name", "姓名", ""},
                                         {"f_dept", "部门", ""},
                                         {"f_a", "同名", ""},
                                         {"f_b", "同名", ""}};
        QCOMPARE(BuildSortText(titles, directions, records), expected);
    }

    void directionCycle() {
        QCOMPARE(NextSortDirection(""), QString("升序"));
        QCOMPARE(NextSortDirection("升序"), QString("降序"));
        QCOMPARE(NextSortDirection("降序"), QString());
    }

    // The sort dialog: double clicks cycle the direction, 上移/下移 swap and follow, edges stay.
    void sortDialog() {
        TestDb db;
        QVERIFY(db.ok());
        DBGridEh grid;
        threeColumns(grid);
        TfrmRowArrangeGl dlg(&grid);
        QCOMPARE(dlg.windowTitle(), QString("排序对话框"));
        QCOMPARE(SortRecordsOf(&grid).at(0).fieldName, QString("f_code"));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTreeWidget *list = dlg.list();
        // a double click as the system delivers it: press, release, double click, release
        auto doubleClick = [list](int row) {
            const QPoint p = list->visualRect(list->model()->index(row, 0)).center();
            QTest::mousePress(list->viewport(), Qt::LeftButton, {}, p);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, p);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, p);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, p);
        };
        doubleClick(2);
        QCOMPARE(dlg.directions().at(2), QString("升序"));
        doubleClick(2);
        QCOMPARE(dlg.directions().at(2), QString("降序"));
        QCOMPARE(dlg.sortText(), QString("f_dept DESC,"));

        list->setCurrentItem(list->topLevelItem(0));
        QTest::mouseClick(dlg.upButton(), Qt::LeftButton);
        QCOMPARE(dlg.titles(), QStringList({"编号", "姓名", "部门"}));
        list->setCurrentItem(list->topLevelItem(2));
        QTest::mouseClick(dlg.upButton(), Qt::LeftButton);
        QCOMPARE(dlg.titles(), QStringList({"编号", "部门", "姓名"}));
        QCOMPARE(dlg.directions(), QStringList({"", "降序", ""}));
        QCOMPARE(list->indexOfTopLevelItem(list->currentItem()), 1);
        QTest::mouseClick(dlg.upButton(), Qt::LeftButton);
        QCOMPARE(dlg.titles(), QStringList({"部门", "编号", "姓名"}));
        dlg.setDirection(1, "升序");
        QCOMPARE(dlg.sortText(), QString("f_dept DESC,f_code ASC,"));
        list->setCurrentItem(list->topLevelItem(2));
        QTest::mouseClick(dlg.downButton(), Qt::LeftButton);
        QCOMPARE(dlg.titles(), QStringList({"部门", "编号", "姓名"}));
        doubleClick(1);
        doubleClick(1);
        QCOMPARE(dlg.directions().at(1), QString());
        QCOMPARE(dlg.sortText(), QString("f_dept DESC,"));
    }

    // ChooseSortOrder gives the text on 确定 and nothing on 取消.
    void chooseSortOrder() {
        TestDb db;
        QVERIFY(db.ok());
        DBGridEh grid;
        threeColumns(grid);
        whenShown<TfrmRowArrangeGl>([](TfrmRowArrangeGl *dlg) {
            dlg->setDirection(1, "降序");
            QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
        });
        QCOMPARE(TfrmRowArrangeGl::ChooseSortOrder(&grid), QString("f_name DESC,"));
        whenShown<TfrmRowArrangeGl>([](TfrmRowArrangeGl *dlg) {
            dlg->setDirection(1, "降序");
            QTest::mouseClick(dlg->cancelButton(), Qt::LeftButton);
        });
        QCOMPARE(TfrmRowArrangeGl::ChooseSortOrder(&grid), QString());
    }

    // The field list ticks the visible columns; unticking all hides all; 取消 changes nothing.
    void fieldList() {
        TestDb db;
        QVERIFY(db.ok());
        DBGridEh grid;
        threeColumns(grid);
        grid.setColumnVisible(1, false);
        {
            TFrmDispFieldXZ dlg(&grid);
            QCOMPARE(dlg.windowTitle(), QString("字段列表"));
            QCOMPARE(dlg.size(), QSize(314, 418));
            QVERIFY(!(dlg.windowFlags() & Qt::WindowCloseButtonHint));
            QCOMPARE(dlg.list()->count(), 3);
            QCOMPARE(dlg.list()->item(1)->text(), QString("姓名"));
            QCOMPARE(dlg.list()->item(0)->checkState(), Qt::Checked);
            QCOMPARE(dlg.list()->item(1)->checkState(), Qt::Unchecked);
        }
        whenShown<TFrmDispFieldXZ>([](TFrmDispFieldXZ *dlg) {
            for (int i = 0; i < dlg->list()->count(); ++i)
                dlg->list()->item(i)->setCheckState(Qt::Unchecked);
            QTest::mouseClick(dlg->cancelButton(), Qt::LeftButton);
        });
        QVERIFY(!SelectGridColumns(&grid));
        QCOMPARE(grid.visibleColumns(), QList<int>({0, 2}));

        whenShown<TFrmDispFieldXZ>([](TFrmDispFieldXZ *dlg) {
            dlg->list()->item(1)->setCheckState(Qt::Checked);
            QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
        });
        grid.fieldListAction()->trigger(); // the pop-up menu's "显示字段列表"
        QCOMPARE(grid.visibleColumns(), QList<int>({0, 1, 2}));
        QCOMPARE(grid.fieldListAction()->text(), QString("显示字段列表"));

        whenShown<TFrmDispFieldXZ>([](TFrmDispFieldXZ *dlg) {
            for (int i = 0; i < dlg->list()->count(); ++i)
                dlg->list()->item(i)->setCheckState(Qt::Unchecked);
            QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
        });
        QVERIFY(SelectGridColumns(&grid));
        QVERIFY(grid.visibleColumns().isEmpty());
        for (int c = 0; c < 3; ++c)
            QVERIFY(grid.horizontalHeader()->isSectionHidden(c));
    }

    void askColumnValue() {
        whenShown<TDLGeditCurList>([](TDLGeditCurList *dlg) {
            QCOMPARE(dlg->windowTitle(), QString("批量修改当前列"));
            QTest::keyClicks(dlg->edit(), "A'1");
            dlg->edit()->insert("车间");
            QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
        });
        QCOMPARE(TDLGeditCurList::AskColumnValue(), QString("A'1车间"));
        whenShown<TDLGeditCurList>([](TDLGeditCurList *dlg) {
            QTest::keyClicks(dlg->edit(), "x");
            QTest::mouseClick(dlg->cancelButton(), Qt::LeftButton);
        });
        QCOMPARE(TDLGeditCurList::AskColumnValue(), QString());
    }
};

REGISTER_TEST(TestGridTools)
#include "tst_gridtools.moc"
