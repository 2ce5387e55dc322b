#include "codes/udlgentercaption.h"
#include "codes/ufrmtreecodeman.h"
#include "core/database.h"
#include "core/datadm.h"
#include "core/dbgrid.h"
#include "core/report.h"
#include "core/session.h"
#include "personnel/hrmquery.h"
#include "personnel/udlgempcx.h"
#include "personnel/ufrmempedit.h"
#include "personnel/ufrmhrmman.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <functional>
#include <memory>

namespace {

// Inserts an employee with the given columns; its F_ID.
qint64 addEmp(const QString &code, const QVariantMap &fields = {}) {
    QStringList cols{QStringLiteral("F_code"), QStringLiteral("F_name")};
    QVariantList values{code, fields.value(QStringLiteral("F_name"), QStringLiteral("名") + code)};
    QStringList marks{QStringLiteral("?"), QStringLiteral("?")};
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        if (it.key() == QLatin1String("F_name"))
            continue;
        cols << it.key();
        values << it.value();
        marks << QStringLiteral("?");
    }
    QSqlQuery q(Database::db());
    q.prepare(QStringLiteral("insert into t_employee (%1) values (%2)").arg(cols.join(','), marks.join(',')));
    TdmData::BindAll(q, values);
    if (!q.exec())
        return -1;
    return q.lastInsertId().toLongLong();
}

// The codes a statement returns, in its order.
QStringList codesOf(const SqlPart &q) {
    QSqlQuery query(Database::db());
    if (!TdmData::OpenSql(q.sql, query, q.binds))
        return {QStringLiteral("<failed>")};
    QStringList codes;
    while (query.next())
        codes << query.value(QStringLiteral("F_code")).toString();
    return codes;
}

QStringList firstColumn(const SqlPart &q) {
    QSqlQuery query(Database::db());
    if (!TdmData::OpenSql(q.sql, query, q.binds))
        return {QStringLiteral("<failed>")};
    QStringList out;
    while (query.next())
        out << query.value(0).toString();
    return out;
}

int count(const QString &sql, const QVariantList &binds = {}) {
    return TdmData::LookupInt(sql, binds);
}

QStringList gridCodes(DBGridEh *g) {
    g->fetchAll();
    QStringList codes;
    for (int r = 0; r < g->rowCount(); ++r)
        codes << g->value(r, QStringLiteral("F_code")).toString();
    return codes;
}

// Runs fn on the modal dialog of class Dialog that the next exec() shows; anything else modal is
// closed, and a dialog fn leaves open is rejected, so that a test never hangs.
template <class Dialog> void whenModal(std::function<void(Dialog *)> fn) {
    QTimer::singleShot(0, [fn] {
        auto *dlg = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dlg) {
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
            return;
        }
        fn(dlg);
        QTimer::singleShot(3000, dlg, [dlg] {
            if (dlg->isVisible())
                dlg->reject();
        });
    });
}

QTreeWidgetItem *itemNamed(QTreeWidget *tree, const QString &name) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->text(0) == name)
            return *it;
    return nullptr;
}

QByteArray jpegBytes() {
    QImage img(30, 40, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPG");
    return bytes;
}

} // namespace

class TestHrmMan : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
    }
    void cleanup() {
        TfrmHRMman::setTabEditor({});
        db.reset();
    }

    // Every quick search kind looks in its own column: the decoy holds the text in every other
    // searchable column and is not found.
    void searchKindFindsItsColumn_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("column");
        const QStringList kinds = hrm::searchKinds();
        QCOMPARE(kinds.size(), 14);
        for (int k = 1; k < kinds.size(); ++k)
            QTest::newRow(qPrintable(kinds.at(k))) << k << hrm::searchColumn(k);
    }
    void searchKindFindsItsColumn() {
        QFETCH(int, kind);
        QFETCH(QString, column);
        const QString needle = QStringLiteral("O'关键%_");
        QVariantMap target{{column, QStringLiteral("前") + needle + QStringLiteral("后")}};
        QVariantMap decoy;
        for (int k = 1; k < 14; ++k)
            if (k != kind)
                decoy.insert(hrm::searchColumn(k), needle);
        if (column != QLatin1String("F_code"))
            QVERIFY(addEmp(QStringLiteral("T1"), target) > 0);
        else
            QVERIFY(addEmp(QStringLiteral("前") + needle, {}) > 0);
        QVERIFY(addEmp(QStringLiteral("D1"), decoy) > 0);
        // the typed % and _ match only themselves
        QVERIFY(addEmp(QStringLiteral("D2"),
                       {{column == QLatin1String("F_code") ? QStringLiteral("F_mem2") : column,
                         QStringLiteral("O'关键xy")}}) > 0);
        hrm::ListFilter f;
        f.searchKind = kind;
        f.searchText = QStringLiteral("  ") + needle + QStringLiteral(" ");
        const QStringList found = codesOf(hrm::listQuery(f));
        QCOMPARE(found.size(), 1);
        QVERIFY(found.first() == QLatin1String("T1") || found.first().startsWith(QStringLiteral("前")));
        QVERIFY(db->responder.messages.isEmpty());
    }

    // Kind 0 adds nothing; an empty text still applies the chosen kind's condition.
    void searchWithoutKindOrText() {
        addEmp("A1", {{"F_mem2", "x"}});
        addEmp("A2");
        hrm::ListFilter f;
        QCOMPARE(codesOf(hrm::listQuery(f)), QStringList({"A1", "A2"}));
        f.searchKind = 13;
        QCOMPARE(hrm::searchCondition(13, QString()).binds, QVariantList{"%%"});
        QCOMPARE(codesOf(hrm::listQuery(f)), QStringList({"A1", "A2"}));
        f.searchText = "x";
        QCOMPARE(codesOf(hrm::listQuery(f)), QStringList({"A1"}));
        QVERIFY(hrm::searchCondition(0, "x").isEmpty());
        QVERIFY(hrm::searchCondition(14, "x").isEmpty());
    }

    // The value list offers the values of employees in service in every department; the list
    // follows the operator's restriction.
    void valueListAndDeptRestriction_data() {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("scope");
        QTest::addColumn<QStringList>("all");   // list without a value
        QTest::addColumn<QStringList>("women"); // list with 性别 = 女
        QTest::newRow("all departments")
            << 0 << "" << QStringList{"E1", "E2", "E3", "E4"} << QStringList{"E2", "E4"};
        QTest::newRow("own department") << 1 << "生产部" << QStringList{"E1", "E2"} << QStringList{"E2"};
        QTest::newRow("listed departments")
            << 2 << "'O''Neil部','财务部'" << QStringList{"E3", "E4"} << QStringList{"E4"};
        QTest::newRow("empty list") << 2 << "" << QStringList{} << QStringList{};
    }
    void valueListAndDeptRestriction() {
        QFETCH(int, flag);
        QFETCH(QString, scope);
        QFETCH(QStringList, all);
        QFETCH(QStringList, women);
        addEmp("E1", {{"F_dept", "生产部"}, {"F_sex", "男"}});
        addEmp("E2", {{"F_dept", "生产部"}, {"F_sex", "女"}});
        addEmp("E3", {{"F_dept", "O'Neil部"}, {"F_sex", "男"}});
        addEmp("E4", {{"F_dept", "财务部"}, {"F_sex", "女"}});
        addEmp("L1", {{"F_dept", "离职部"}, {"F_sex", "不详"}, {"F_useFlag", 1}});
        addEmp("N1", {{"F_dept", ""}, {"F_sex", "男"}});
        session().CurDeptFlag = flag;
        session().CurDeptScope = scope;

        // the offer: distinct, in service only, no empty value, whatever the restriction
        QCOMPARE(firstColumn(hrm::distinctValues(0)), QStringList({"女", "男"}));
        QCOMPARE(firstColumn(hrm::distinctValues(1)), QStringList({"O'Neil部", "生产部", "财务部"}));
        QCOMPARE(hrm::valueAttributes().size(), 12);
        for (int a = 0; a < 12; ++a)
            QVERIFY2(firstColumn(hrm::distinctValues(a)) != QStringList{"<failed>"},
                     qPrintable(hrm::valueColumn(a)));

        hrm::ListFilter f;
        QCOMPARE(codesOf(hrm::listQuery(f)), flag == 0 ? all + QStringList{"N1"} : all);
        f.hasValue = true;
        f.value = "女";
        QCOMPARE(codesOf(hrm::listQuery(f)), women);
        // a department value with an apostrophe
        f.valueAttribute = 1;
        f.value = "O'Neil部";
        QCOMPARE(codesOf(hrm::listQuery(f)), flag == 1       ? QStringList()
                                             : all.isEmpty() ? QStringList()
                                                             : QStringList{"E3"});
        QVERIFY(db->responder.messages.isEmpty());
    }

    // The window: the value list is filled at opening, a click filters, "包含已离职" adds the
    // leavers, drawn red.
    void windowFiltersAndLeaversShowRed() {
        addEmp("E1", {{"F_sex", "男"}});
        addEmp("E2", {{"F_sex", "女"}});
        addEmp("L1", {{"F_sex", "女"}, {"F_useFlag", 1}, {"F_gongZI", 1234.5}, {"F_birthDay", "1900-08-14"}});
        TfrmHRMman w;
        w.show();
        QCOMPARE(w.countLabel()->text(), QString("记录数：2"));
        QCOMPARE(w.vleList->rowCount(), 3);
        QCOMPARE(w.vleList->item(0, 1)->text(), QString("全部"));
        QCOMPARE(w.vleList->item(2, 0)->text(), QString("2"));
        QCOMPARE(w.vleList->horizontalHeaderItem(1)->text(), QString("性    别"));
        QTest::mouseClick(w.vleList->viewport(), Qt::LeftButton, {},
                          w.vleList->visualItemRect(w.vleList->item(1, 1)).center());
        QCOMPARE(gridCodes(w.grid()), QStringList{"E2"});

        QTest::mouseClick(w.CheckBox2, Qt::LeftButton);
        QCOMPARE(gridCodes(w.grid()), QStringList({"E2", "L1"}));
        DBGridModel *m = w.grid()->gridModel();
        const QModelIndex left = m->index(1, 0);
        QCOMPARE(m->data(left, Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!m->data(m->index(0, 0), Qt::ForegroundRole).isValid() ||
                m->data(m->index(0, 0), Qt::ForegroundRole).value<QColor>() != QColor(Qt::red));
        // money and empty-date display
        QCOMPARE(w.grid()->cellText(1, w.grid()->columnOf("F_gongZI")), QString("1,234.50"));
        QCOMPARE(w.grid()->cellText(1, w.grid()->columnOf("F_birthDay")), QString());

        QTest::mouseClick(w.CheckBox2, Qt::LeftButton);
        QCOMPARE(gridCodes(w.grid()), QStringList{"E2"});
        // another attribute refills the list and shows everyone again
        w.cbbListType->setCurrentIndex(1);
        QCOMPARE(gridCodes(w.grid()), QStringList({"E1", "E2"}));
        QCOMPARE(w.vleList->horizontalHeaderItem(1)->text(), QString("部    门"));
        // typing searches; changing the kind clears the box
        w.ComboBox1->setCurrentIndex(1);
        w.Edit1->setText("2");
        QCOMPARE(gridCodes(w.grid()), QStringList{"E2"});
        w.ComboBox1->setCurrentIndex(2);
        QVERIFY(w.Edit1->text().isEmpty());
        QCOMPARE(gridCodes(w.grid()), QStringList({"E1", "E2"}));
        QVERIFY(db->responder.messages.isEmpty());
    }

    // Deleting an employee removes the rows of all nine sub-record tables and keeps payroll rows;
    // Delete acts even from the search box; No keeps everything.
    void deleteRemovesSubRecordsAndKeepsPayroll() {
        const qint64 a = addEmp("A1", {{"F_name", "张三"}});
        const qint64 b = addEmp("B1");
        for (const QString &t : hrm::subRecordTables())
            for (qint64 id : {a, b})
                QVERIFY(TdmData::ExecSql(QStringLiteral("insert into %1 (F_empID) values (?)").arg(t), {id}));
        // permit rows written without the employee's key are found by code
        QVERIFY(TdmData::ExecSql("insert into t_ZJZrec (F_code) values ('A1')"));
        QVERIFY(TdmData::ExecSql("insert into t_JSZrec (F_code) values ('A1')"));
        QVERIFY(TdmData::ExecSql(
            "insert into wg_salaryREC (F_Month, F_Code, F_Name) values ('202601', 'A1', '张三')"));

        TfrmHRMman w;
        w.show();
        QCOMPARE(w.grid()->currentValue("F_code").toString(), QString("A1"));
        w.Edit1->setFocus();
        db->responder.answers.enqueue(2);
        QTest::keyClick(w.Edit1, Qt::Key_Delete);
        QCOMPARE(db->responder.texts(),
                 QStringList{"删除当前员工，将删除当前员工所有相关资料，\n真的要删除当前员工张三吗？"});
        QCOMPARE(count("select count(*) from t_employee"), 2);

        db->responder.answers.enqueue(1);
        QTest::keyClick(w.Edit1, Qt::Key_Delete);
        QCOMPARE(count("select count(*) from t_employee where F_ID = ?", {a}), 0);
        for (const QString &t : hrm::subRecordTables()) {
            QCOMPARE(count(QStringLiteral("select count(*) from %1 where F_empID = ?").arg(t), {a}), 0);
            QCOMPARE(count(QStringLiteral("select count(*) from %1 where F_empID = ?").arg(t), {b}), 1);
        }
        QCOMPARE(count("select count(*) from t_ZJZrec where F_code = 'A1'"), 0);
        QCOMPARE(count("select count(*) from t_JSZrec where F_code = 'A1'"), 0);
        QCOMPARE(count("select count(*) from wg_salaryREC where F_Code = 'A1'"), 1);
        QCOMPARE(gridCodes(w.grid()), QStringList{"B1"});
        QCOMPARE(w.countLabel()->text(), QString("记录数：1"));
    }

    // A failure inside the deletion rolls every statement back and says so.
    void deleteFailureRollsBack() {
        const qint64 a = addEmp("A1");
        QVERIFY(TdmData::ExecSql("insert into t_gongzuoJL (F_empID) values (?)", {a}));
        // a trigger makes the last statement fail
        QVERIFY(TdmData::ExecSql("create temp trigger no_del before delete on t_employee "
                                 "begin select raise(abort, 'refused'); end"));
        QVERIFY(!hrm::deleteEmployee(a));
        QCOMPARE(db->responder.texts(), QStringList{"操作失败，请检查连接..."});
        QCOMPARE(db->responder.messages.first().kind, 3);
        QCOMPARE(count("select count(*) from t_gongzuoJL where F_empID = ?", {a}), 1);
        QCOMPARE(count("select count(*) from t_employee"), 1);
    }

    // Three selected rows get the department picked in the tree; rows and order stay.
    void deptChangeOfSelectedRowsThroughTheTree() {
        QVERIFY(TdmData::ExecSql("insert into t_treecode (F_code, F_name, F_likecode, F_flag) values "
                                 "('001', '生产部', '\\\\生产部', 'dept'), "
                                 "('001001', '一车间', '\\\\生产部\\一车间', 'dept')"));
        for (const char *c : {"E1", "E2", "E3", "E4"})
            addEmp(c, {{"F_dept", "旧部门"}});
        TfrmHRMman w;
        w.show();
        QItemSelectionModel *sel = w.grid()->selectionModel();
        sel->clearSelection();
        for (int r : {0, 2, 3})
            sel->select(w.grid()->gridModel()->index(r, 0),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);

        QString title;
        whenModal<TDLGenterCaption>([&title](TDLGenterCaption *d) {
            title = d->windowTitle();
            whenModal<TFrmTreeCodeMan>([](TFrmTreeCodeMan *t) {
                t->tvCodes->setCurrentItem(itemNamed(t->tvCodes, "一车间"));
                QTest::mouseClick(t->btnOk, Qt::LeftButton);
            });
            QTest::mouseClick(d->sbtype, Qt::LeftButton);
            QTest::mouseClick(d->btnOk, Qt::LeftButton);
        });
        w.N5->trigger();
        QCOMPARE(title, QString("部门结构名称"));
        QCOMPARE(db->responder.texts(), QStringList{"真的要改变当前所选人员的部门吗？"});
        const QString path = "\\\\生产部\\一车间";
        QCOMPARE(firstColumn({"select F_dept from t_employee order by F_code", {}}),
                 QStringList({path, "旧部门", path, path}));
        QCOMPARE(gridCodes(w.grid()), QStringList({"E1", "E2", "E3", "E4"}));
        QCOMPARE(w.grid()->value(2, "F_dept").toString(), path);

        // No: nothing happens, no dialog
        db->responder.clear();
        db->responder.answers.enqueue(2);
        w.N5->trigger();
        QCOMPARE(db->responder.messages.size(), 1);
        // an over-long name is refused before anything is written
        db->responder.clear();
        whenModal<TDLGenterCaption>([](TDLGenterCaption *d) {
            d->edtCurValue->setText(QString(51, QChar(u'部')));
            QTest::mouseClick(d->btnOk, Qt::LeftButton);
        });
        w.N5->trigger();
        QVERIFY(db->responder.saw("部门名称不能超过50个字符！"));
        QCOMPARE(count("select count(*) from t_employee where F_dept = ?", {path}), 3);
    }

    // Tab commands: rows of the current employee, empty-tab messages, deleting the current row.
    void tabsFollowTheCurrentEmployee() {
        const qint64 a = addEmp("A1");
        const qint64 b = addEmp("B1");
        QVERIFY(TdmData::ExecSql(
            "insert into T_QCrec (F_empID, F_QCitem) values (?, '嘉奖'), (?, '警告'), (?, '记过')",
            {a, a, b}));
        TfrmHRMman w;
        w.show();
        w.rpcList->setCurrentIndex(6);
        DBGridEh *g = w.detailGrid(6);
        QCOMPARE(g->rowCount(), 2);
        w.grid()->setCurrentRow(1);
        QCOMPARE(g->rowCount(), 1);
        QCOMPARE(g->currentValue("F_QCitem").toString(), QString("记过"));
        db->responder.answers.enqueue(1);
        w.tbdDel->trigger();
        QCOMPARE(db->responder.texts(), QStringList{"真的要删除当前的奖惩记录吗？"});
        QCOMPARE(g->rowCount(), 0);
        QCOMPARE(count("select count(*) from T_QCrec"), 2);
        db->responder.clear();
        w.tbdEdit->trigger();
        QCOMPARE(db->responder.texts(), QStringList{"此表为空，没有员工奖惩记录需要修改！"});
        QCOMPARE(db->responder.messages.first().kind, 3);

        // the editors plug in; the tab is reread after a save
        int calls = 0;
        TfrmHRMman::setTabEditor([&](QWidget *, int tab, bool add, qint64 emp, qint64 row) {
            ++calls;
            if (tab != 6 || !add || emp != b || row != -1)
                return false;
            return TdmData::ExecSql("insert into T_QCrec (F_empID, F_QCitem) values (?, '表扬')", {emp});
        });
        w.tbdNew->trigger();
        QCOMPARE(calls, 1);
        QCOMPARE(g->rowCount(), 1);
        QCOMPARE(g->currentValue("F_QCitem").toString(), QString("表扬"));
    }

    // The archive's grid layouts ship with the database; every stored field exists.
    void seedLayoutsExist() {
        QStringList keys{"hrmman"};
        QStringList tables{"t_employee"};
        for (const hrm::DetailTab &t : hrm::detailTabs()) {
            keys << t.layoutKey;
            tables << t.table;
        }
        for (int i = 0; i < keys.size(); ++i) {
            const QStringList fields = firstColumn(
                {"select F_FieldName from cfg_Grid where F_name = ? order by F_Order", {keys.at(i)}});
            QVERIFY2(fields.size() >= 6, qPrintable(keys.at(i)));
            QSqlQuery q(Database::db());
            QVERIFY2(
                q.exec(QStringLiteral("select %1 from %2 where 1 = 0").arg(fields.join(','), tables.at(i))),
                qPrintable(keys.at(i)));
        }
        QCOMPARE(count("select count(*) from cfg_Grid where F_name = 'hrmman'"), 33);
        TfrmHRMman w;
        w.show();
        QCOMPARE(w.grid()->gridColumnCount(), 33);
        QCOMPARE(w.grid()->column(0).caption, QString("员工编号"));
        QCOMPARE(w.detailGrid(4)->column(6).field, QString("F_YFamount"));
    }

    // A picture field is offered to templates as a data URI beside the field.
    void pictureFieldsBecomeImageUris() {
        const QByteArray jpeg = jpegBytes();
        QVERIFY(reportImageUri(jpeg).startsWith("data:image/jpeg;base64,"));
        QVERIFY(reportImageUri(QByteArray("not a picture")).isEmpty());
        QVERIFY(reportImageUri(QByteArray()).isEmpty());
        ReportDataSet set("frxDM", {"F_name", "F_EmpImage"}, {{"甲", jpeg}, {"乙", QByteArray()}});
        QString error;
        const QString html = renderReportText("{{#frxDM}}[{{F_name}}{{F_EmpImage}}{{#F_EmpImage_image}}<img "
                                              "src=\"{{F_EmpImage_image}}\">{{/F_EmpImage_image}}]{{/frxDM}}",
                                              set, {}, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(html.startsWith("[甲<img src=\"data:image/jpeg;base64,"));
        QVERIFY(html.endsWith("[乙]"));
        // the laid-out page holds the picture
        QTextDocument withImage, without;
        setReportDocument(&withImage, html);
        setReportDocument(&without, "[甲][乙]");
        QVERIFY(withImage.size().height() > without.size().height() + 20);
    }

    // The three shipped templates render over a small archive with its tab rows.
    void templatesRender_data() {
        QTest::addColumn<int>("n");
        QTest::newRow("frHrmMan") << 1;
        QTest::newRow("frHrmMan1") << 2;
        QTest::newRow("frHrmMan2") << 3;
    }
    void templatesRender() {
        QFETCH(int, n);
        setReportFolder(QDir(QCoreApplication::applicationDirPath()).filePath("Qr"));
        const qint64 a = addEmp("A1", {{"F_name", "张<三>"},
                                       {"F_gongZI", 3000.5},
                                       {"F_EmpImage", jpegBytes()},
                                       {"F_mem1", "第一行\n第二行"}});
        addEmp("B1", {{"F_name", "李四"}, {"F_gongZI", 2000}});
        QVERIFY(TdmData::ExecSql("insert into t_gongzuoJL (F_empID, F_name) values (?, '旧公司')", {a}));
        TfrmHRMman w;
        w.show();
        const ReportData data = w.reportData();
        QCOMPARE(data.find("frxMain")->rowCount(), 2);
        QCOMPARE(data.find("frxDetail1")->rowCount(), 1);
        QVERIFY(data.find("frxDetail7"));
        const QString path = reportTemplatePath(TfrmHRMman::reportTemplateName(n));
        QVERIFY2(QFileInfo::exists(path), qPrintable(path));
        QString error;
        const QString html = renderReport(path, data, {}, &error);
        setReportFolder(QString());
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(html.contains("张&lt;三&gt;"));
        QVERIFY(html.contains("李四"));
        if (n == 1) {
            QCOMPARE(html.count("data:image/jpeg;base64,"), 1);
            QVERIFY(html.contains("第一行<br/>第二行"));
            QCOMPARE(html.count("page-break-after"), 1);
        } else {
            QVERIFY(html.contains("5,000.50"));
        }
        // printing an empty list shows nothing
        QVERIFY(TdmData::ExecSql("delete from t_employee"));
        w.Edit1->setText("x");
        w.Edit1->clear();
        bool shown = false;
        setReportDialogRunner([&shown](QDialog *) { shown = true; });
        w.printReport(n);
        setReportDialogRunner({});
        QVERIFY(!shown);
    }

    // The advanced query replaces the list (within the operator's department) until the next
    // filter refresh; 关闭 releases the button.
    void advancedQueryUntilTheNextRefresh() {
        addEmp("E1", {{"F_name", "张一"}, {"F_dept", "生产部"}});
        addEmp("E2", {{"F_name", "张二"}, {"F_dept", "财务部"}});
        addEmp("E3", {{"F_name", "李三"}, {"F_dept", "生产部"}});
        addEmp("L1", {{"F_name", "张离"}, {"F_dept", "生产部"}, {"F_useFlag", 1}});
        session().CurDeptFlag = 1;
        session().CurDeptScope = "生产部";
        TfrmHRMman w;
        w.show();
        QCOMPARE(gridCodes(w.grid()), QStringList({"E1", "E3"}));
        whenModal<TDlgEmpCX>([](TDlgEmpCX *d) {
            d->rbAll->setChecked(true);
            d->setConditionText("F_name", "张");
            QTest::mouseClick(d->Button1, Qt::LeftButton);
        });
        QTest::mouseClick(w.sbGJfind, Qt::LeftButton);
        QVERIFY(w.sbGJfind->isChecked());
        QCOMPARE(gridCodes(w.grid()), QStringList({"E1", "L1"}));
        QCOMPARE(w.countLabel()->text(), QString("员工总数：2"));
        // one typed character goes back to the normal list; the button stays down
        w.ComboBox1->setCurrentIndex(2);
        w.Edit1->setText("张");
        QCOMPARE(gridCodes(w.grid()), QStringList{"E1"});
        QCOMPARE(w.countLabel()->text(), QString("记录数：1"));
        QVERIFY(w.sbGJfind->isChecked());
        // released by a click: the normal list
        QTest::mouseClick(w.sbGJfind, Qt::LeftButton);
        QVERIFY(!w.sbGJfind->isChecked());
        // closed with 关闭: the button comes back up, the list stays
        whenModal<TDlgEmpCX>([](TDlgEmpCX *d) { QTest::mouseClick(d->Button2, Qt::LeftButton); });
        QTest::mouseClick(w.sbGJfind, Qt::LeftButton);
        QVERIFY(!w.sbGJfind->isChecked());
        QCOMPARE(gridCodes(w.grid()), QStringList{"E1"});
        QVERIFY(db->responder.messages.isEmpty());
    }

    // Ctrl+E opens the editor on the current employee; a save there reopens the list on it.
    void editorOpensOnTheCurrentEmployee() {
        addEmp("E1", {{"F_name", "张一"}});
        addEmp("E2", {{"F_name", "张二"}});
        TfrmHRMman w;
        w.show();
        w.grid()->setCurrentRow(1);
        QString shownCode;
        whenModal<TfrmEmpEdit>([&shownCode](TfrmEmpEdit *d) {
            shownCode = d->edtcode->text();
            d->reject();
        });
        w.grid()->setFocus();
        QTest::keyClick(w.grid(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(shownCode, QString("E2"));
        QCOMPARE(w.grid()->currentValue("F_code").toString(), QString("E2"));
    }

    // The summary for the tab editors: labelled lines, empty dates left out.
    void summaryOfTheCurrentEmployee() {
        addEmp("E1", {{"F_name", "张一"},
                      {"F_dept", "生产部"},
                      {"F_birthDay", "1900-08-14"},
                      {"F_beginDate", "2020-03-01"},
                      {"F_PYxingshi", "合同工"}});
        TfrmHRMman w;
        w.show();
        const QStringList lines = w.currentSummary().split('\n');
        QCOMPARE(lines.size(), 17);
        QCOMPARE(lines.at(0), QString());
        QCOMPARE(lines.at(1), QString("  员工编号:E1"));
        QCOMPARE(lines.at(4), QString("  员工部门:生产部"));
        QCOMPARE(lines.at(14), QString("  录用日期:2020-03-01"));
        QCOMPARE(lines.at(16), QString("  聘用形式:合同工"));
    }

    // An empty list: edit says so; the tab's add asks for an employee first.
    void emptyListMessages() {
        TfrmHRMman w;
        w.show();
        w.action(TListWindow::Edit)->setEnabled(true);
        w.editCurrent();
        QCOMPARE(db->responder.texts(), QStringList{"此表为空，没有记录需要修改！"});
        db->responder.clear();
        w.rpcList->setCurrentIndex(2);
        w.tbdNew->trigger();
        QCOMPARE(db->responder.texts(), QStringList{"请先选择要增加“调动记录”的员工！"});
    }
};

REGISTER_TEST(TestHrmMan)
#include "tst_hrmman.moc"
