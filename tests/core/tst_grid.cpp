#include "core/database.h"
#include "core/datadm.h"
#include "core/dbgrid.h"
#include "core/transaction.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTest>

namespace {

// A small employee-like table: code, name, dept, amount, birthday, memo, left flag.
void makePeople() {
    QVERIFY(TdmData::ExecSql("create table grid_people (F_ID integer primary key autoincrement, F_code text, "
                             "F_name text, F_dept text, F_amount real, F_birthDay text, F_mem1 text, "
                             "F_useFlag integer)"));
    const QList<QVariantList> rows = {{"003", "王五", "车间", 30.5, "1980-01-02", "c", 0},
                                      {"001", "张三", "办公室", 10.25, "1900-08-14", "a", 1},
                                      {"002", "李四", "车间", 20.0, "1990-05-06", "b", 0},
                                      {"004", "赵六", "办公室", 40.0, "1901-08-14", "d", 0}};
    for (const QVariantList &r : rows)
        QVERIFY(
            TdmData::ExecSql("insert into grid_people (F_code, F_name, F_dept, F_amount, F_birthDay, F_mem1, "
                             "F_useFlag) values (?,?,?,?,?,?,?)",
                             r));
}

// n rows: F_n = 1..n, F_name = 'name<n>', F_amount = n / 2.
void makeBig(int n) {
    QVERIFY(TdmData::ExecSql("create table grid_big (F_n integer, F_name text, F_amount real)"));
    QVERIFY(TdmData::ExecSql("insert into grid_big (F_n, F_name, F_amount) with recursive c(x) as "
                             "(select 1 union all select x + 1 from c where x < ?) "
                             "select x, 'name' || x, x * 0.5 from c",
                             {n}));
}

QStringList column(const DBGridEh &grid, const QString &field) {
    QStringList out;
    for (int r = 0; r < grid.rowCount(); ++r)
        out << grid.value(r, field).toString();
    return out;
}

void peopleColumns(DBGridEh &grid) {
    grid.addColumn({"F_code", "员工编号"});
    grid.addColumn({"F_name", "员工名称"});
    grid.addColumn({"F_amount", "金额"});
    grid.addColumn({"F_birthDay", "生日"});
    grid.addColumn({"F_mem1", "备注"});
}

// A window that writes its grid's rows back through one of its own members.
class EditWindow : public QDialog {
    Q_OBJECT
public:
    explicit EditWindow(QList<int> *calls) : m_calls(calls), grid(new DBGridEh(this)) {
        grid->setEditable(true);
        grid->setWriteBack([this](const GridRowChange &ch) {
            m_written << ch.row;
            *m_calls << ch.row;
            return true;
        });
        grid->setRows({"F_x"}, {{1.0}, {2.0}});
    }
    QList<int> *m_calls;
    QList<int> m_written;
    DBGridEh *grid;
};

} // namespace

class TestDBGrid : public QObject {
    Q_OBJECT
private slots:
    // The model keeps the item-model rules through reading blocks, sorting, editing and resets.
    void modelPassesTester() {
        TestDb db;
        QVERIFY(db.ok());
        makeBig(1000);
        QLoggingCategory::setFilterRules("*.debug=false"); // the tester lists every row it sees
        DBGridModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.addColumn({"F_n", "序号"});
        model.addColumn({"F_name", "名称"});
        QVERIFY(model.setQuery("select * from grid_big where F_n <= ? order by F_n", {600}));
        model.fetchMore();
        model.addColumn({"F_amount", "金额"});
        model.setEditable(true);
        QVERIFY(model.setData(model.index(3, 2), "7.5"));
        model.setSortText("F_name DESC,");
        model.moveColumn(0, 2);
        model.removeColumnAt(1);
        model.setSortText(QString());
        QVERIFY(model.refresh());
        model.close();
        QLoggingCategory::setFilterRules(QString());
    }

    // 50,000 rows open without being read; the count, the sums and the end are there anyway.
    void readsLargeResultsLazily() {
        TestDb db;
        QVERIFY(db.ok());
        makeBig(50000);
        DBGridEh grid;
        grid.addColumn({"F_n", "序号"});
        GridColumn amount("F_amount", "金额");
        amount.footerType = FooterKind::Sum;
        amount.displayFormat = "0.##";
        grid.addColumn(amount);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QVERIFY(grid.setQuery("select * from grid_big order by F_n"));
        QVERIFY(grid.rowCount() < 50000);
        QVERIFY(grid.gridModel()->canFetchMore());
        QCOMPARE(grid.totalRowCount(), 50000);
        QCOMPARE(grid.footerText(1), QString("625012500")); // 0.5 * 50000 * 50001 / 2
        QVERIFY(grid.rowCount() < 50000);

        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid.rowCount(), 50000);
        QCOMPARE(grid.currentRow(), 49999);
        QCOMPARE(grid.currentValue("F_n").toInt(), 50000);
        QCOMPARE(grid.footerText(1), QString("625012500"));

        // scrolling to the bottom over and over reads the rest as well
        QVERIFY(grid.setQuery("select * from grid_big order by F_n desc"));
        int guard = 0;
        while (grid.gridModel()->canFetchMore() && guard++ < 1000) {
            grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
            QCoreApplication::processEvents();
        }
        QCOMPARE(grid.rowCount(), 50000);
        QCOMPARE(grid.value(49999, "F_n").toInt(), 1);
    }

    // A rolled-back schema change aborts unfinished readers; the grid reads on without gaps.
    void readingSurvivesRollback() {
        TestDb db;
        QVERIFY(db.ok());
        makeBig(3000);
        DBGridModel model;
        model.addColumn({"F_n", "序号"});
        QVERIFY(model.setQuery("select * from grid_big")); // a table scan: its cursor is aborted
        const int before = model.rowCount();
        {
            Transaction t(Database::db());
            QVERIFY(t.active());
            QVERIFY(TdmData::ExecSql("create table grid_other (x integer)"));
        } // rolled back
        QCOMPARE(TdmData::LookupInt("select count(*) from sqlite_master where name = 'grid_other'"), 0);
        model.fetchAll();
        QCOMPARE(model.rowCount(), 3000);
        for (int r = before - 2; r < before + 2; ++r)
            QCOMPARE(model.value(r, "F_n").toInt(), r + 1);
        QCOMPARE(model.value(2999, "F_n").toInt(), 3000);
        // the finished reader is released: the schema can change again
        QVERIFY(TdmData::ExecSqlQuiet("drop table grid_big"));
    }

    // An unfinished reader keeps the table from being dropped until the readers are finished.
    void finishingReadersReleasesTables() {
        TestDb db;
        QVERIFY(db.ok());
        makeBig(1000);
        DBGridModel model;
        model.addColumn({"F_n", "序号"});
        QVERIFY(model.setQuery("select * from grid_big"));
        QVERIFY(!TdmData::ExecSqlQuiet("drop table grid_big"));
        DBGridModel::finishOpenReaders();
        QCOMPARE(model.rowCount(), 1000);
        QVERIFY(TdmData::ExecSqlQuiet("drop table grid_big"));
    }

    void footerSums_data() {
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2 places") << QVariantList{1234.5, 0.125, 2.0} << ",0.00"
                                  << "1,236.63";
        QTest::newRow("4 places") << QVariantList{1234.5, 0.125, 2.0} << ",0.00##"
                                  << "1,236.625";
        QTest::newRow("float noise") << QVariantList{0.1, 0.2} << ",0.00"
                                     << "0.30";
        // rounded to four places half to even before the format sees it
        QTest::newRow("half even at 4") << QVariantList{0.12345} << ",0.00##"
                                        << "0.1234";
        QTest::newRow("negative") << QVariantList{-1000.0, -0.5} << ",0.00"
                                  << "-1,000.50";
        QTest::newRow("no format") << QVariantList{1.5, 2.25} << ""
                                   << "3.75";
        QTest::newRow("no rows") << QVariantList{} << ",0.00"
                                 << "0.00";
    }
    void footerSums() {
        QFETCH(QVariantList, values);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        TestDb db;
        QVERIFY(db.ok());
        QVERIFY(TdmData::ExecSql("create table grid_sum (F_x real)"));
        for (const QVariant &v : values)
            QVERIFY(TdmData::ExecSql("insert into grid_sum values (?)", {v}));
        // zeros enough that the first block does not hold every row: the database adds up first
        QVERIFY(TdmData::ExecSql("insert into grid_sum with recursive c(x) as "
                                 "(select 1 union all select x + 1 from c where x < 300) select 0 from c"));
        DBGridModel model;
        GridColumn c("F_x", "金额");
        c.displayFormat = format;
        c.footerType = FooterKind::Sum;
        model.addColumn(c);
        GridColumn label("F_x", "合计");
        label.footerType = FooterKind::StaticText;
        label.footerValue = "合 计";
        model.addColumn(label);
        QVERIFY(model.setQuery("select F_x from grid_sum"));
        QVERIFY(!model.allFetched());
        QCOMPARE(model.footerText(0), expected);
        QCOMPARE(model.footerText(1), QString("合 计"));
        model.fetchAll();
        QCOMPARE(model.footerText(0), expected);
    }

    // Sums of a result not read to its end come from the database and follow posted edits.
    void footerFollowsEdits() {
        TestDb db;
        QVERIFY(db.ok());
        makeBig(1000);
        DBGridModel model;
        GridColumn c("F_amount", "金额");
        c.footerType = FooterKind::Sum;
        c.displayFormat = ",0.00";
        model.addColumn(c);
        model.setEditable(true);
        model.setWriteBack([](const GridRowChange &ch) {
            return TdmData::ExecSql("update grid_big set F_amount = ? where F_n = ?",
                                    {ch.newValues.value("F_amount"), ch.row + 1});
        });
        QVERIFY(model.setQuery("select * from grid_big order by F_n"));
        QVERIFY(!model.allFetched());
        QCOMPARE(model.footerText(0), QString("250,250.00"));
        QVERIFY(model.setData(model.index(0, 0), "100.5")); // was 0.5
        QVERIFY(model.post());
        QCOMPARE(model.footerText(0), QString("250,350.00"));
        model.fetchAll();
        QCOMPARE(model.footerText(0), QString("250,350.00"));
        QVERIFY(model.setData(model.index(999, 0), "0"));
        QVERIFY(model.post());
        QCOMPARE(model.footerText(0), QString("249,850.00"));
    }

    void cellText_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("amount") << QVariant(1234.5) << "0.##"
                                << "1234.5";
        QTest::newRow("price") << QVariant(1234.5) << ",0.00"
                               << "1,234.50";
        QTest::newRow("price 4") << QVariant(0.12345) << ",0.00##"
                                 << "0.1235";
        QTest::newRow("integer") << QVariant(12) << ",0.00"
                                 << "12.00";
        QTest::newRow("plain double") << QVariant(0.1 + 0.2) << ""
                                      << "0.3";
        QTest::newRow("text ignores number format") << QVariant("001") << ",0.00"
                                                    << "001";
        QTest::newRow("null") << QVariant() << ",0.00"
                              << "";
        QTest::newRow("date pattern") << QVariant("2024-03-05") << "yyyy年mm月dd日"
                                      << "2024年03月05日";
        QTest::newRow("timestamp") << QVariant("2024-03-05 14:07:09") << "yyyy-mm-dd hh:nn"
                                   << "2024-03-05 14:07";
    }
    void cellText() {
        QFETCH(QVariant, value);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(DBGridModel::formatValue(value, format), expected);
    }

    // The chosen date columns show the empty date (and anything before 1901-08-14) as blank.
    void blanksEmptyDates() {
        TestDb db;
        QVERIFY(db.ok());
        DBGridEh grid;
        grid.addColumn({"F_birthDay", "生日"});
        grid.addColumn({"F_other", "其他"});
        grid.setEmptyDateFields({"f_birthday"});
        grid.setRows({"F_birthDay", "F_other"}, {{"1900-08-14", "1900-08-14"},
                                                 {"1901-08-13", "1901-08-13"},
                                                 {"1901-08-14", "1901-08-14"},
                                                 {"2020-02-29", "2020-02-29"}});
        QCOMPARE(grid.cellText(0, 0), QString());
        QCOMPARE(grid.cellText(1, 0), QString());
        QCOMPARE(grid.cellText(2, 0), QString("1901-08-14"));
        QCOMPARE(grid.cellText(3, 0), QString("2020-02-29"));
        QCOMPARE(grid.cellText(0, 1), QString("1900-08-14"));
        QCOMPARE(grid.cellValue(0, 0).toString(), QString("1900-08-14"));
    }

    void titleClickSorting_data() {
        QTest::addColumn<bool>("upAscending");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("marker");
        QTest::addColumn<QStringList>("codes");
        const QStringList asc{"001", "002", "003", "004"};
        const QStringList desc{"004", "003", "002", "001"};
        const QStringList query{"003", "001", "002", "004"};
        QTest::newRow("up ascending, 1 click") << true << "F_code" << 1 << int(SortMarker::Up) << asc;
        QTest::newRow("up ascending, 2 clicks") << true << "F_code" << 2 << int(SortMarker::Down) << desc;
        QTest::newRow("up ascending, 3 clicks") << true << "F_code" << 3 << int(SortMarker::Up) << asc;
        QTest::newRow("up descending, 1 click") << false << "F_code" << 1 << int(SortMarker::Up) << desc;
        QTest::newRow("up descending, 2 clicks") << false << "F_code" << 2 << int(SortMarker::Down) << asc;
        QTest::newRow("memo only marks") << true << "F_mem1" << 1 << int(SortMarker::Up) << query;
        QTest::newRow("memo only marks twice") << true << "F_mem1" << 2 << int(SortMarker::Down) << query;
    }
    void titleClickSorting() {
        QFETCH(bool, upAscending);
        QFETCH(QString, field);
        QFETCH(int, clicks);
        QFETCH(int, marker);
        QFETCH(QStringList, codes);
        TestDb db;
        QVERIFY(db.ok());
        makePeople();
        DBGridEh grid;
        peopleColumns(grid);
        grid.setUpMarkerAscending(upAscending);
        QVERIFY(grid.setQuery("select * from grid_people order by F_ID"));
        const int col = grid.columnOf(field);
        for (int i = 0; i < clicks; ++i)
            grid.clickTitle(col);
        QCOMPARE(int(grid.sortMarker(col)), marker);
        QCOMPARE(column(grid, "F_code"), codes);
        for (int c = 0; c < grid.gridColumnCount(); ++c)
            if (c != col)
                QCOMPARE(grid.sortMarker(c), SortMarker::None);
    }

    // A real click on a title sorts; a memo title click after it keeps the rows and moves the
    // marker; a new query clears the markers; a closed grid ignores clicks.
    void titleClickThroughHeader() {
        TestDb db;
        QVERIFY(db.ok());
        makePeople();
        DBGridEh grid;
        peopleColumns(grid);
        grid.resize(600, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.clickTitle(0);
        QCOMPARE(grid.sortMarker(0), SortMarker::None);
        QVERIFY(grid.setQuery("select * from grid_people order by F_ID"));
        QHeaderView *h = grid.horizontalHeader();
        const QPoint nameTitle(h->sectionViewportPosition(1) + 10, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, nameTitle);
        QCOMPARE(grid.sortMarker(1), SortMarker::Up);
        const QStringList byName = column(grid, "F_name");
        const QPoint memoTitle(h->sectionViewportPosition(4) + 10, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, memoTitle);
        QCOMPARE(grid.sortMarker(4), SortMarker::Up);
        QCOMPARE(grid.sortMarker(1), SortMarker::None);
        QCOMPARE(column(grid, "F_name"), byName);
        QVERIFY(grid.refresh());
        QCOMPARE(grid.sortMarker(4), SortMarker::None);
    }

    // The sort text sorts by several fields; empty text brings back the query order.
    void sortText() {
        TestDb db;
        QVERIFY(db.ok());
        makePeople();
        DBGridEh grid;
        peopleColumns(grid);
        QVERIFY(grid.setQuery("select * from grid_people order by F_ID"));
        grid.setSortText("f_dept ASC,f_amount DESC,");
        QCOMPARE(column(grid, "F_code"), QStringList({"004", "001", "003", "002"}));
        grid.setSortText("F_nosuchfield DESC,F_code DESC,");
        QCOMPARE(column(grid, "F_code"), QStringList({"004", "003", "002", "001"}));
        grid.setSortText(QString());
        QCOMPARE(column(grid, "F_code"), QStringList({"003", "001", "002", "004"}));
    }

    // Enter goes to the next visible column and from the last one to the next row's first.
    void enterMovesToNextColumn() {
        TestDb db;
        QVERIFY(db.ok());
        makePeople();
        DBGridEh grid;
        peopleColumns(grid);
        grid.setColumnVisible(2, false);
        QVERIFY(grid.setQuery("select * from grid_people order by F_ID"));
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setCurrentIndex(grid.model()->index(0, 1));
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(grid.currentIndex().column(), 3); // hidden column 2 passed over
        QTest::keyClick(&grid, Qt::Key_Enter);
        QCOMPARE(grid.currentIndex().column(), 4);
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(grid.currentIndex(), grid.model()->index(1, 0));
        grid.setCurrentIndex(grid.model()->index(3, 4));
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(grid.currentIndex(), grid.model()->index(3, 0)); // the last row keeps its row
    }

    // An edit reaches the window's write-back once, when the row is left; a refused write-back
    // undoes the row; a bad number changes nothing.
    void editWritesBackWhenRowIsLeft() {
        TestDb db;
        QVERIFY(db.ok());
        makePeople();
        DBGridEh grid;
        peopleColumns(grid);
        GridColumn ro = grid.column(0);
        ro.readOnly = true;
        grid.setColumn(0, ro);
        grid.setEditable(true);
        QList<GridRowChange> calls;
        bool accept = true;
        grid.setWriteBack([&](const GridRowChange &ch) {
            calls << ch;
            if (!accept)
                return false;
            return TdmData::ExecSql(
                "update grid_people set F_name = ?, F_amount = ? where F_ID = ?",
                {grid.value(ch.row, "F_name"), grid.value(ch.row, "F_amount"), grid.value(ch.row, "F_ID")});
        });
        QVERIFY(grid.setQuery("select * from grid_people order by F_ID"));
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setFocus();

        // read-only column: not editable and painted aqua
        QVERIFY(!(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsEditable));
        QCOMPARE(grid.model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(0, 255, 255));

        grid.setCurrentIndex(grid.model()->index(0, 2));
        QTest::keyClick(&grid, Qt::Key_1);
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit *>(editor));
        QTest::keyClicks(editor, "2.5");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(grid.currentIndex(), grid.model()->index(0, 3)); // Enter ended the edit and moved on
        QCOMPARE(grid.value(0, "F_amount").toDouble(), 12.5);
        QVERIFY(calls.isEmpty()); // still on the row

        grid.setCurrentIndex(grid.model()->index(0, 1));
        QVERIFY(grid.setValue(0, "F_name", "王五'改"));
        QVERIFY(calls.isEmpty());
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.at(0).row, 0);
        QCOMPARE(calls.at(0).fields.size(), 2);
        QCOMPARE(calls.at(0).oldValues.value("F_amount").toDouble(), 30.5);
        QCOMPARE(calls.at(0).newValues.value("F_amount").toDouble(), 12.5);
        QCOMPARE(TdmData::LookupStr("select F_name from grid_people where F_code = '003'"),
                 QString("王五'改"));
        QCOMPARE(TdmData::LookupFloat("select F_amount from grid_people where F_code = '003'"), 12.5);

        // leaving a row without changes calls nothing
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(calls.size(), 1);

        // a refused row comes back as it was
        accept = false;
        QVERIFY(grid.setValue(2, "F_amount", "99"));
        QVERIFY(!grid.post());
        QCOMPARE(calls.size(), 2);
        QCOMPARE(grid.value(2, "F_amount").toDouble(), 20.0);

        // a bad number: a message, nothing changes, nothing to write back
        db.responder.clear();
        QVERIFY(!grid.setValue(2, "F_amount", "12x"));
        QCOMPARE(db.responder.messages.size(), 1);
        QCOMPARE(db.responder.messages.at(0).kind, 2);
        QCOMPARE(grid.value(2, "F_amount").toDouble(), 20.0);
        QVERIFY(grid.post());
        QCOMPARE(calls.size(), 2);

        // a date column takes dates only; an empty text is the empty date
        QVERIFY(!grid.setValue(1, "F_birthDay", "2024-02-30"));
        QVERIFY(grid.setValue(1, "F_birthDay", ""));
        QCOMPARE(grid.value(1, "F_birthDay").toString(), QString("1900-08-14"));
        grid.gridModel()->cancel();
    }

    // Closing the window hands the pending row over; destroying it drops the row instead of
    // calling into a window that is half gone.
    void pendingRowWhenWindowGoes() {
        QList<int> calls;
        auto *w = new EditWindow(&calls);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(w->grid->setValue(1, "F_x", "5"));
        w->reject();
        QCOMPARE(calls, QList<int>({1}));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(w->grid->setValue(0, "F_x", "7"));
        delete w;
        QCOMPARE(calls, QList<int>({1}));
    }

    // Left employees' rows come in the window's colours; whole-row multi-selection lists rows.
    void rowStyleAndSelection() {
        TestDb db;
        QVERIFY(db.ok());
        makePeople();
        DBGridEh grid;
        peopleColumns(grid);
        grid.setRowStyle([&grid](int row) {
            GridRowStyle s;
            if (grid.value(row, "F_useFlag").toBool()) {
                s.text = Qt::red;
                s.background = grid.palette().color(QPalette::Button);
            }
            return s;
        });
        grid.setRowSelect(true);
        grid.setMultiSelect(true);
        QVERIFY(grid.setQuery("select * from grid_people order by F_ID"));
        QCOMPARE(grid.model()->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!grid.model()->index(0, 0).data(Qt::ForegroundRole).isValid());
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QRect r0 = grid.visualRect(grid.model()->index(0, 1));
        const QRect r2 = grid.visualRect(grid.model()->index(2, 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, r2.center());
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, r0.center());
        QCOMPARE(grid.selectedRows(), QList<int>({0, 2}));
        QCOMPARE(grid.selectionModel()->selectedIndexes().size(), 2 * grid.gridColumnCount());
    }

    // Grouped captions take a second title line; the footer sits under the cells at their width.
    void groupedTitlesAndFooterGeometry() {
        TestDb db;
        QVERIFY(db.ok());
        DBGridEh grid;
        grid.addColumn({"F_code", "员工编码"});
        grid.addColumn({"F_gz200", "应发|基本工资"});
        grid.addColumn({"F_gz205", "应发|计件工资"});
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const int line = grid.gridHeader()->lineHeight();
        QCOMPARE(grid.gridHeader()->sizeHint().height(), 2 * line);
        QCOMPARE(grid.column(1).groupTitle(), QString("应发"));
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QString("基本工资"));
        QVERIFY(!grid.footerWidget()->isVisible());

        grid.setColumnFooter(0, FooterKind::StaticText, "合 计");
        grid.setColumnFooter(1, FooterKind::Sum);
        grid.setRows({"F_code", "F_gz200", "F_gz205"}, {{"001", 1.5, 2.0}, {"002", 2.0, 3.0}});
        QCoreApplication::processEvents();
        QVERIFY(grid.footerWidget()->isVisible());
        const QRect vp = grid.viewport()->geometry();
        const QRect fg = grid.footerWidget()->geometry();
        QCOMPARE(fg.left(), vp.left());
        QCOMPARE(fg.width(), vp.width());
        QCOMPARE(fg.top(), vp.bottom() + 1);
        QCOMPARE(grid.footerText(1), QString("3.5"));
        QVERIFY(!grid.footerWidget()->grab().isNull());
        QVERIFY(!grid.gridHeader()->grab().isNull());

        grid.setColumnVisible(1, false);
        grid.setColumnVisible(2, false);
        QCOMPARE(grid.gridHeader()->sizeHint().height(), line);
        QCOMPARE(grid.visibleColumns(), QList<int>({0}));
    }

    // A grid without columns shows every field of its result.
    void columnsFromResult() {
        TestDb db;
        QVERIFY(db.ok());
        makePeople();
        DBGridEh grid;
        QVERIFY(grid.setQuery("select F_code, F_name from grid_people order by F_code"));
        QCOMPARE(grid.gridColumnCount(), 2);
        QCOMPARE(grid.column(1).field, QString("F_name"));
        QCOMPARE(grid.cellText(0, 1), QString("张三"));
        db.responder.clear();
        QVERIFY(!grid.setQuery("select * from no_such_table"));
        QVERIFY(db.responder.saw("打开操作失败，请检查数据连接... "));
        QCOMPARE(grid.rowCount(), 0);
        QVERIFY(!grid.isOpen());
    }

    // A column dragged to a new place in the title row takes that place in the grid.
    void movedTitleMovesColumn() {
        TestDb db;
        QVERIFY(db.ok());
        makePeople();
        DBGridEh grid;
        peopleColumns(grid);
        QVERIFY(grid.setQuery("select * from grid_people order by F_ID"));
        grid.horizontalHeader()->resizeSection(0, 150);
        grid.horizontalHeader()->moveSection(0, 2);
        QCoreApplication::processEvents();
        QCOMPARE(grid.column(2).field, QString("F_code"));
        QCOMPARE(grid.column(2).width, 150);
        QCOMPARE(grid.horizontalHeader()->sectionSize(2), 150);
        QCOMPARE(grid.horizontalHeader()->sectionSize(0), 80);
        QCOMPARE(grid.column(0).field, QString("F_name"));
        QCOMPARE(grid.horizontalHeader()->visualIndex(2), 2);
        QCOMPARE(grid.cellText(0, 2), QString("003"));
    }
};

REGISTER_TEST(TestDBGrid)
#include "tst_grid.moc"
