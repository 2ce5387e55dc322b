#include "codes/codelist.h"
#include "codes/ufrmcodeman.h"
#include "core/datadm.h"
#include "core/dbgrid.h"
#include "core/deptrestriction.h"
#include "core/gridprint.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace {

// Types text into w key by key (also characters beyond ASCII).
void typeText(QWidget *w, const QString &text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// "id name" of every stored row of kind, in entry order.
QStringList storedRows(const QString &kind) {
    QStringList out;
    QSqlQuery q;
    TdmData::OpenSql("select F_ID, F_Name from t_code where F_type = ? order by F_ID", q, {kind});
    while (q.next())
        out << q.value(0).toString() + ' ' + q.value(1).toString();
    return out;
}

QStringList storedNames(const QString &kind) {
    QStringList out;
    for (const QString &row : storedRows(kind))
        out << row.section(' ', 1);
    return out;
}

// What a department choice box of another window offers.
QStringList deptChoices() {
    QComboBox combo;
    fillDeptCombo(&combo);
    QStringList out;
    for (int i = 0; i < combo.count(); ++i)
        out << combo.itemText(i);
    return out;
}

void addCode(const QString &kind, const QString &name) {
    QVERIFY(TdmData::ExecSql("insert into t_code (F_type, F_Name) values (?, ?)", {kind, name}));
}

} // namespace

// The options window: kind tabs, names kept in memory until 保存 and written in one transaction,
// 取消, the refusal of blank and repeated names, immediate delete, keys.
class TestCodeMan : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<TFrmCodeMan> w;

    void openWindow() {
        w = std::make_unique<TFrmCodeMan>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    DBGridEh *grid() const { return w->DBGridEh1; }
    QToolButton *tab(const QString &key) const { return w->findChild<QToolButton *>("t" + key); }
    void clickTab(const QString &key) {
        QToolButton *b = tab(key);
        QVERIFY2(b, qPrintable(key));
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(w->kind(), key);
    }
    // The names the grid shows, top to bottom.
    QStringList gridNames() const {
        QStringList out;
        for (int r = 0; r < grid()->rowCount(); ++r)
            out << grid()->value(r, "F_Name").toString();
        return out;
    }
    // The editor open in the grid's current cell.
    QLineEdit *cellEditor() const {
        return qobject_cast<QLineEdit *>(grid()->indexWidget(grid()->currentIndex()));
    }
    // Replaces the text of the open cell editor by typing.
    void typeInCell(const QString &text) {
        QLineEdit *e = cellEditor();
        QVERIFY2(e, "no cell editor open");
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        typeText(e, text);
    }
    // Adds names as new rows: 新增 for the first, Down on the last row for the next ones.
    void addNames(const QStringList &names) {
        for (int i = 0; i < names.size(); ++i) {
            if (i == 0)
                QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier);
            else
                QTest::keyClick(cellEditor() ? static_cast<QWidget *>(cellEditor()) : grid(), Qt::Key_Down);
            QVERIFY(w->isEditing());
            QCOMPARE(grid()->currentRow(), grid()->rowCount() - 1);
            typeInCell(names.at(i));
        }
    }
    void pressSave() {
        // Ctrl+S straight from the open cell, as a user who does not leave the cell first
        QWidget *target = cellEditor() ? static_cast<QWidget *>(cellEditor()) : grid();
        QTest::keyClick(target, Qt::Key_S, Qt::ControlModifier);
    }

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
    }
    void cleanup() {
        w.reset();
        db.reset();
    }

    // Every tab shows its own kind under its caption; kinds compare without regard to case.
    void tabsShowTheirKind() {
        addCode("MinZu", "傣族");
        openWindow();
        QCOMPARE(w->kindTabs.size(), 25);
        QCOMPARE(w->kind(), QString("duty"));
        QVERIFY(w->kindTabs.first()->isChecked());
        QCOMPARE(grid()->column(0).caption, QString(" 职    务 "));
        for (const CodeKind &k : codeKinds()) {
            clickTab(k.key);
            QVERIFY(tab(k.key)->isChecked());
            QCOMPARE(grid()->column(0).caption, k.caption);
            QCOMPARE(gridNames(), storedNames(k.key));
        }
        clickTab("minzu");
        QVERIFY(gridNames().contains("傣族"));
        QCOMPARE(w->statusPanels.at(3)->text(), QString("澜禾软件  "));
    }

    // Two departments typed into the grid are written together by 保存 and offered at once by
    // the department choices of other windows; an added row left empty is not stored.
    void addedDepartmentsAreSavedTogether() {
        openWindow();
        clickTab("dept");
        const QStringList before = storedNames("dept");
        addNames({"质检部", "仓储部"});
        QCOMPARE(tab("duty")->isEnabled(), false);
        QCOMPARE(w->actSave->isEnabled(), true);
        QCOMPARE(w->actAdd->isEnabled(), false);
        QCOMPARE(w->actExit->isEnabled(), false);
        QTest::keyClick(cellEditor(), Qt::Key_Down); // a third row, left empty
        QCOMPARE(grid()->rowCount(), before.size() + 3);
        QCOMPARE(storedNames("dept"), before); // nothing written before 保存

        pressSave();
        QVERIFY(!w->isEditing());
        QVERIFY(db->responder.messages.isEmpty());
        QCOMPARE(storedNames("dept"), (before + QStringList{"质检部", "仓储部"}));
        QCOMPARE(gridNames(), storedNames("dept"));
        QVERIFY(tab("duty")->isEnabled());
        QVERIFY(!grid()->isEditable());
        const QStringList choices = deptChoices();
        QVERIFY(choices.contains("质检部"));
        QVERIFY(choices.contains("仓储部"));
    }

    // 取消 drops additions and renames; nothing is written.
    void cancelDropsPendingChanges() {
        openWindow();
        clickTab("dept");
        const QStringList before = storedRows("dept");
        QVERIFY(before.size() >= 1);
        QTest::keyClick(grid(), Qt::Key_E, Qt::ControlModifier); // 修改 on the first row
        QVERIFY(w->isEditing());
        typeInCell("改过的名字");
        QTest::keyClick(cellEditor(), Qt::Key_Return);
        grid()->setCurrentRow(grid()->rowCount() - 1);
        QTest::keyClick(grid(), Qt::Key_Down);
        typeInCell("新部门");
        QTest::keyClick(cellEditor(), Qt::Key_Escape); // closes the cell
        QVERIFY(w->isEditing());
        QTest::keyClick(grid(), Qt::Key_Escape); // 取消
        QVERIFY(!w->isEditing());
        QVERIFY(w->isVisible());
        QCOMPARE(storedRows("dept"), before);
        QCOMPARE(gridNames(), storedNames("dept"));
        QVERIFY(!w->codeList().hasPendingChanges());
        // nothing is left to be written by a later 保存
        w->btnAddClick();
        w->btnSaveClick();
        QCOMPARE(storedRows("dept"), before);
    }

    void badNamesAreRefused_data() {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QString>("renameFirst"); // null: no rename
        QTest::addColumn<QString>("message");
        QTest::newRow("blank") << QStringList{"   "} << QString() << "部门名称不能为空！";
        QTest::newRow("renamed to empty") << QStringList{} << ""
                                          << "部门名称不能为空！";
        QTest::newRow("stored name") << QStringList{"好部门", "生产部"} << QString()
                                     << "部门名称“生产部”已经存在，不能重复！";
        QTest::newRow("case and spaces differ")
            << QStringList{" office "} << QString() << "部门名称“office”已经存在，不能重复！";
        QTest::newRow("two new alike")
            << QStringList{"甲", "甲"} << QString() << "部门名称“甲”已经存在，不能重复！";
        QTest::newRow("rename to another's name") << QStringList{} << "Office"
                                                  << "部门名称“Office”已经存在，不能重复！";
    }
    // A blank or repeated name is refused with a message and nothing is written; the changes stay
    // for the user to correct.
    void badNamesAreRefused() {
        QFETCH(QStringList, added);
        QFETCH(QString, renameFirst);
        QFETCH(QString, message);
        addCode("dept", "生产部");
        addCode("dept", "OFFICE");
        openWindow();
        clickTab("dept");
        const QStringList before = storedRows("dept");
        if (!renameFirst.isNull()) {
            QTest::keyClick(grid(), Qt::Key_E, Qt::ControlModifier);
            QLineEdit *e = cellEditor();
            QVERIFY(e);
            e->clear();
            typeText(e, renameFirst);
        } else {
            addNames(added);
        }
        pressSave();
        QCOMPARE(db->responder.texts(), QStringList{message});
        QCOMPARE(db->responder.messages.first().kind, 0);
        QCOMPARE(storedRows("dept"), before);
        QVERIFY(w->isEditing());
        QVERIFY(w->codeList().hasPendingChanges());
        QVERIFY(cellEditor()); // the refused row is open for correcting
        w->btnCancelClick();
        QCOMPARE(storedRows("dept"), before);
    }

    void deleteAsksAndIsStoredAtOnce_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << 1;
        QTest::newRow("no") << 2;
    }
    void deleteAsksAndIsStoredAtOnce() {
        QFETCH(int, answer);
        addCode("dept", "待删部门");
        openWindow();
        clickTab("dept");
        const QStringList before = storedNames("dept");
        grid()->setCurrentRow(before.indexOf("待删部门"));
        db->responder.answers << answer;
        QTest::keyClick(grid(), Qt::Key_Delete);
        QCOMPARE(db->responder.texts(), QStringList{"真的要删除 \" 部    门 \"待删部门吗？"});
        QCOMPARE(db->responder.messages.first().kind, 1);
        QVERIFY(!w->isEditing());
        QStringList expected = before;
        if (answer == 1)
            expected.removeAll("待删部门");
        QCOMPARE(storedNames("dept"), expected);
        QCOMPARE(gridNames(), expected);
    }

    // An empty kind refuses 修改 and 删除 with their messages.
    void emptyKindRefusesEditAndDelete() {
        QVERIFY(TdmData::ExecSql("delete from t_code where F_type = ?", {"pjemp"}));
        openWindow();
        clickTab("pjemp");
        QTest::keyClick(grid(), Qt::Key_E, Qt::ControlModifier);
        QTest::keyClick(grid(), Qt::Key_Delete);
        QCOMPARE(db->responder.texts(),
                 (QStringList{"此表为空，没有记录需要修改！", "此表是空表，不需要删除！"}));
        QCOMPARE(db->responder.messages.at(0).kind, 3);
        QCOMPARE(db->responder.messages.at(1).kind, 0);
        QVERIFY(!w->isEditing());
    }

    // A database failure during 保存 writes nothing at all and keeps the changes, which a later
    // 保存 writes.
    void failedSaveRollsBackEverything() {
        QVERIFY(
            TdmData::ExecSql("create trigger t_code_refuse before insert on t_code when new.F_Name = '坏' "
                             "begin select raise(abort, 'refused'); end"));
        openWindow();
        clickTab("dept");
        const QStringList before = storedRows("dept");
        const QString firstId = before.first().section(' ', 0, 0);
        QTest::keyClick(grid(), Qt::Key_E, Qt::ControlModifier);
        typeInCell("改名部");
        QTest::keyClick(cellEditor(), Qt::Key_Return);
        grid()->setCurrentRow(grid()->rowCount() - 1);
        QTest::keyClick(grid(), Qt::Key_Down);
        typeInCell("好");
        QTest::keyClick(cellEditor(), Qt::Key_Down);
        typeInCell("坏");
        pressSave();
        QCOMPARE(db->responder.texts(), QStringList{"保存失败，请检测数据库连接！"});
        QCOMPARE(db->responder.messages.first().kind, 3);
        QCOMPARE(storedRows("dept"), before);
        QVERIFY(w->isEditing());

        QVERIFY(TdmData::ExecSql("drop trigger t_code_refuse"));
        db->responder.clear();
        w->btnSaveClick();
        QVERIFY(db->responder.messages.isEmpty());
        const QStringList after = storedRows("dept");
        QCOMPARE(after.size(), before.size() + 2);
        QCOMPARE(after.first(), firstId + " 改名部"); // renamed in place
        QCOMPARE(after.mid(after.size() - 2).join('|').remove(QRegularExpression("\\d+ ")), QString("好|坏"));
    }

    // Apostrophes, quotes, backslashes and SQL-like text are stored and offered as typed.
    void namesAreStoredAsTyped() {
        const QString name = "O'Brien's \"车间\" \\ '; drop table t_code; --";
        openWindow();
        clickTab("dept");
        addNames({name});
        pressSave();
        QVERIFY(db->responder.messages.isEmpty());
        QCOMPARE(storedNames("dept").last(), name);
        QVERIFY(deptChoices().contains(name));
        w->btnRefreshClick();
        QCOMPARE(gridNames().last(), name);
    }

    // Esc closes the window while browsing; 打印 shows the grid's preview only while browsing.
    void escapeClosesAndPrintPreviews() {
        openWindow();
        int previews = 0;
        setGridPreviewRunner([&previews](QPrintPreviewDialog *) { ++previews; });
        w->actPrint->trigger();
        QCOMPARE(previews, 1);
        QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier);
        QVERIFY(!w->actPrint->isEnabled());
        QTest::keyClick(cellEditor(), Qt::Key_Escape);
        QTest::keyClick(grid(), Qt::Key_Escape); // 取消
        QVERIFY(w->isVisible());
        QTest::keyClick(grid(), Qt::Key_Escape); // 退出
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
        setGridPreviewRunner(nullptr);
    }
};

REGISTER_TEST(TestCodeMan)
#include "tst_codeman.moc"
