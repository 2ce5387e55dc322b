#include "core/database.h"
#include "core/datadm.h"
#include "core/dbgrid.h"
#include "core/gridlayout.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QAction>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

struct LayoutRow {
    QString key, field, caption;
    int width = 80;
    int visible = 1, readOnly = 0;
    QString format, footerValue;
    int footerType = 0, alignment = 0, order = 0;
};

LayoutRow plain(const QString &key, const QString &field, const QString &caption, int width = 80) {
    LayoutRow r;
    r.key = key;
    r.field = field;
    r.caption = caption;
    r.width = width;
    return r;
}

void store(const LayoutRow &r) {
    QVERIFY(TdmData::ExecSql(
        "insert into cfg_Grid (F_name, F_FieldName, F_Caption, F_Width, F_Visible, F_ReadOnly, "
        "F_DisplayFormat, F_FooterValue, F_FooterType, F_Alignment, F_Order) "
        "values (?,?,?,?,?,?,?,?,?,?,?)",
        {r.key, r.field, r.caption, r.width, r.visible, r.readOnly, r.format, r.footerValue, r.footerType,
         r.alignment, r.order}));
}

// Every cfg_Grid row as text, to see that nothing else changed.
QStringList allLayoutRows() {
    QStringList out;
    QSqlQuery q(Database::db());
    q.exec("select * from cfg_Grid order by F_ID");
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << q.value(i).toString();
        out << cells.join('|');
    }
    return out;
}

void builtIn(DBGridEh &grid) {
    grid.addColumn({"F_code", "员工编号"});
    grid.addColumn({"F_name", "员工名称"});
    grid.addColumn({"F_gongZI", "基本工资"});
}

QStringList fields(const DBGridEh &grid) {
    QStringList out;
    for (const GridColumn &c : grid.columns())
        out << c.field;
    return out;
}

// The stored testgrid layout used by several cases: F_Order not in row order, an empty field name.
void storeTestGrid() {
    store({"TestGrid", "F_name", "姓名", 120, 1, 1, "", "", 1, 1, 1});
    store({"testgrid", "F_gongZI", "工资|基本", 90, 1, 0, ",0.00", "", 2, 2, 2});
    store({"testgrid", "", "无字段", 50, 1, 0, "", "", 0, 0, 0});
    store({"testgrid", "   ", "空白字段", 50, 1, 0, "", "", 0, 0, 0});
    store({"TESTGRID", "F_code", "编号", 60, 0, 0, "", "合计", 1, 0, 0});
    store({"other", "F_dept", "部门", 70, 1, 0, "", "", 0, 0, 0});
}

} // namespace

class TestGridLayout : public QObject {
    Q_OBJECT
private slots:
    // A key without rows leaves the built-in columns; saving it changes no row.
    void keyWithoutRowsKeepsBuiltIns() {
        TestDb db;
        QVERIFY(db.ok());
        store(plain("other", "F_code", "别的", 33));
        DBGridEh grid;
        builtIn(grid);
        const QStringList before = allLayoutRows();
        QVERIFY(LoadGridLayout(&grid, "testgrid"));
        QCOMPARE(fields(grid), QStringList({"F_code", "F_name", "F_gongZI"}));
        QCOMPARE(grid.column(0).caption, QString("员工编号"));
        QVERIFY(ApplyGridLayout(&grid, "testgrid"));
        QCOMPARE(grid.column(0).width, 80);
        QVERIFY(SaveGridLayout(&grid, "testgrid"));
        QCOMPARE(allLayoutRows(), before);
        QVERIFY(db.responder.messages.isEmpty());
    }

    // Stored rows replace the columns in F_Order, keys match in any case, empty fields are passed.
    void loadReplacesColumns() {
        TestDb db;
        QVERIFY(db.ok());
        storeTestGrid();
        DBGridEh grid;
        builtIn(grid);
        grid.addColumn({"F_extra", "多余"});
        QVERIFY(grid.loadLayout("testGRID"));
        QCOMPARE(grid.layoutKey(), QString("testGRID"));
        QCOMPARE(fields(grid), QStringList({"F_code", "F_name", "F_gongZI"}));
        const GridColumn code = grid.column(0);
        QCOMPARE(code.caption, QString("编号"));
        QCOMPARE(code.width, 60);
        QVERIFY(!code.visible);
        QCOMPARE(code.footerType, FooterKind::StaticText);
        QCOMPARE(code.footerValue, QString("合计"));
        const GridColumn name = grid.column(1);
        QCOMPARE(name.width, 120);
        QVERIFY(name.readOnly);
        QVERIFY(name.titleCentered);
        QCOMPARE(grid.columnAlignment(1), 1);
        const GridColumn pay = grid.column(2);
        QCOMPARE(pay.displayFormat, QString(",0.00"));
        QCOMPARE(pay.footerType, FooterKind::Sum);
        QCOMPARE(pay.groupTitle(), QString("工资"));
        QCOMPARE(grid.columnAlignment(2), 2);
        QCOMPARE(grid.visibleColumns(), QList<int>({1, 2}));
        QCOMPARE(grid.horizontalHeader()->sectionSize(1), 120);
        QVERIFY(grid.horizontalHeader()->isSectionHidden(0));
    }

    void alignmentOutsideRangeKeepsDefault_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("textColumn");
        QTest::addColumn<int>("numberColumn");
        QTest::newRow("left") << 0 << 0 << 0;
        QTest::newRow("centre") << 1 << 1 << 1;
        QTest::newRow("right") << 2 << 2 << 2;
        QTest::newRow("3") << 3 << 0 << 2;
        QTest::newRow("-1") << -1 << 0 << 2;
        QTest::newRow("99") << 99 << 0 << 2;
    }
    void alignmentOutsideRangeKeepsDefault() {
        QFETCH(int, stored);
        QFETCH(int, textColumn);
        QFETCH(int, numberColumn);
        TestDb db;
        QVERIFY(db.ok());
        LayoutRow text = plain("k", "F_name", "姓名");
        text.alignment = stored;
        store(text);
        LayoutRow number = plain("k", "F_gongZI", "工资");
        number.alignment = stored;
        number.order = 1;
        store(number);
        DBGridEh grid;
        QVERIFY(LoadGridLayout(&grid, "k"));
        grid.setRows({"F_name", "F_gongZI"}, {{"张三", 1200.0}});
        QCOMPARE(grid.columnAlignment(0), textColumn);
        QCOMPARE(grid.columnAlignment(1), numberColumn);
        const auto a = grid.model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        QCOMPARE(bool(a & Qt::AlignRight), numberColumn == 2);
    }

    // Saving writes the grid as it stands into existing rows only; loading it back gives the
    // same grid. Captions with quotes are stored as typed.
    void saveRoundTrip() {
        TestDb db;
        QVERIFY(db.ok());
        storeTestGrid();
        const int rowsBefore = TdmData::LookupInt("select count(*) from cfg_Grid");
        DBGridEh grid;
        QVERIFY(grid.loadLayout("testgrid"));
        grid.addColumn({"F_dept", "部门"}); // no row under testgrid (only under "other")
        grid.moveGridColumn(2, 0);          // F_gongZI first
        GridColumn name = grid.column(2);
        QCOMPARE(name.field, QString("F_name"));
        name.caption = "姓名's";
        name.readOnly = false;
        name.alignment = AlignRight;
        name.footerType = FooterKind::None;
        grid.setColumn(2, name);
        grid.horizontalHeader()->resizeSection(2, 140); // as the user drags it
        grid.setColumnVisible(1, true);                 // F_code shown
        db.responder.answers.enqueue(1);
        grid.saveLayoutAction()->trigger();
        QVERIFY(db.responder.saw("真的要保存当前网格设置吗？"));
        QCOMPARE(db.responder.messages.at(0).kind, 1);
        QCOMPARE(TdmData::LookupInt("select count(*) from cfg_Grid"), rowsBefore);

        QCOMPARE(TdmData::LookupStr(
                     "select F_Caption from cfg_Grid where F_name = 'testgrid' and F_FieldName = 'F_name'"),
                 QString("姓名's"));
        QCOMPARE(TdmData::LookupInt(
                     "select F_Width from cfg_Grid where F_name = 'testgrid' and F_FieldName = 'F_name'"),
                 140);
        QCOMPARE(TdmData::LookupInt(
                     "select F_Order from cfg_Grid where F_name = 'testgrid' and F_FieldName = 'F_gongZI'"),
                 0);
        QCOMPARE(TdmData::LookupInt(
                     "select F_Order from cfg_Grid where F_name = 'testgrid' and F_FieldName = 'F_code'"),
                 1);
        QCOMPARE(TdmData::LookupInt(
                     "select F_Visible from cfg_Grid where F_name = 'testgrid' and F_FieldName = 'F_code'"),
                 1);
        QCOMPARE(TdmData::LookupInt(
                     "select F_Alignment from cfg_Grid where F_name = 'testgrid' and F_FieldName = 'F_name'"),
                 2);
        QCOMPARE(
            TdmData::LookupInt(
                "select F_FooterType from cfg_Grid where F_name = 'testgrid' and F_FieldName = 'F_name'"),
            0);
        QCOMPARE(TdmData::LookupStr("select F_Caption from cfg_Grid where F_name = 'other'"),
                 QString("部门"));
        QCOMPARE(TdmData::LookupInt("select F_Width from cfg_Grid where F_name = 'other'"), 70);

        DBGridEh again;
        QVERIFY(LoadGridLayout(&again, "TESTGRID"));
        QCOMPARE(fields(again), QStringList({"F_gongZI", "F_code", "F_name"}));
        QCOMPARE(again.column(2).caption, QString("姓名's"));
        QCOMPARE(again.column(2).width, 140);
        QCOMPARE(again.columnAlignment(2), 2);
        QVERIFY(again.column(1).visible);
        QCOMPARE(again.column(0).footerType, FooterKind::Sum);
    }

    // Answering no to the question saves nothing.
    void saveQuestionDeclined() {
        TestDb db;
        QVERIFY(db.ok());
        storeTestGrid();
        DBGridEh grid;
        QVERIFY(grid.loadLayout("testgrid"));
        grid.horizontalHeader()->resizeSection(1, 200);
        const QStringList before = allLayoutRows();
        db.responder.answers.enqueue(2);
        grid.saveLayoutAction()->trigger();
        QCOMPARE(allLayoutRows(), before);
    }

    // Apply keeps the grid's own columns, order and captions and takes the stored look.
    void applyKeepsOwnColumns() {
        TestDb db;
        QVERIFY(db.ok());
        storeTestGrid();
        store({"testgrid", "F_gongZI", "later row", 10, 0, 0, "0.##", "", 0, 0, 9});
        DBGridEh grid;
        builtIn(grid);
        grid.addColumn({"F_dept", "部门"});
        QVERIFY(grid.applyLayout("TestGrid"));
        QCOMPARE(fields(grid), QStringList({"F_code", "F_name", "F_gongZI", "F_dept"}));
        QCOMPARE(grid.column(0).caption, QString("员工编号"));
        QVERIFY(!grid.column(0).visible);
        QCOMPARE(grid.column(1).width, 120);
        QVERIFY(grid.column(1).readOnly);
        QCOMPARE(grid.column(2).caption, QString("基本工资"));
        QCOMPARE(grid.column(2).width, 90); // the first row in F_Order wins
        QCOMPARE(grid.column(2).displayFormat, QString(",0.00"));
        QCOMPARE(grid.column(2).footerType, FooterKind::Sum);
        QCOMPARE(grid.column(3).width, 80); // no row under this key
    }

    // A database failure is reported and leaves the grid as it was.
    void failureLeavesGrid() {
        TestDb db;
        QVERIFY(db.ok());
        QVERIFY(TdmData::ExecSql("drop table cfg_Grid"));
        DBGridEh grid;
        builtIn(grid);
        QVERIFY(!LoadGridLayout(&grid, "testgrid"));
        QVERIFY(db.responder.saw("操作失败，请检查数据连接... "));
        QCOMPARE(fields(grid), QStringList({"F_code", "F_name", "F_gongZI"}));
        db.responder.clear();
        QVERIFY(!SaveGridLayout(&grid, "testgrid"));
        QVERIFY(db.responder.saw("操作失败，请检查数据连接... "));
    }

    void columnCaption() {
        TestDb db;
        QVERIFY(db.ok());
        DBGridEh grid;
        builtIn(grid);
        grid.addColumn({"F_CODE", "第二个编号"});
        QCOMPARE(GetColumnCaption(&grid, "f_code"), QString("员工编号"));
        QCOMPARE(GetColumnCaption(&grid, "F_GONGZI"), QString("基本工资"));
        QCOMPARE(GetColumnCaption(&grid, "F_none"), QString());
    }
};

REGISTER_TEST(TestGridLayout)
#include "tst_gridlayout.moc"
