#include "core/database.h"
#include "listfixtures.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// The enabled state of 修改 删除 首项 前项 后项 末项, as "EDfpnl" letters (a dash when disabled).
QString commandState(const TListWindow &w) {
    const QList<QPair<TListWindow::Command, char>> cmds = {
        {TListWindow::Edit, 'E'},  {TListWindow::Delete, 'D'}, {TListWindow::First, 'f'},
        {TListWindow::Prior, 'p'}, {TListWindow::Next, 'n'},   {TListWindow::Last, 'l'}};
    QString out;
    for (const auto &c : cmds)
        out += w.action(c.first)->isEnabled() ? QChar::fromLatin1(c.second) : QChar('-');
    return out;
}

QString currentName(const CodeListWindow &w) {
    return w.grid()->currentValue("F_Name").toString();
}

// Runs fn on the modal dialog that the next exec() shows.
template <class Dialog> void whenModal(std::function<void(Dialog *)> fn) {
    QTimer::singleShot(0, [fn] {
        auto *dlg = dynamic_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dlg) {
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
            return;
        }
        fn(dlg);
        if (dlg->isVisible()) // a failed check inside fn must not leave exec() waiting
            dlg->reject();
    });
}

} // namespace

class TestListWindow : public QObject {
    Q_OBJECT
private slots:
    void countFollowsFilter_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("count");
        QTest::newRow("all") << "" << 5;
        QTest::newRow("some") << "车间" << 2;
        QTest::newRow("apostrophe") << "O'B" << 1;
        QTest::newRow("none") << "无此" << 0;
    }
    void countFollowsFilter() {
        QFETCH(QString, filter);
        QFETCH(int, count);
        TestDb db;
        QVERIFY(db.ok());
        for (const char *n : {"一车间", "二车间", "办公室", "O'Brien", "仓库"})
            addCode(QString::fromUtf8(n));
        addCode("别的种类", "otherkind");
        CodeListWindow w;
        w.show();
        QCOMPARE(w.countLabel()->text(), QStringLiteral("记录数：5"));
        w.nameFilter->setText(filter); // Chinese text arrives through the input method
        QTest::mouseClick(w.findButton, Qt::LeftButton);
        QCOMPARE(w.countLabel()->text(), QStringLiteral("记录数：%1").arg(count));
        QCOMPARE(w.recordCount(), count);
        QVERIFY(db.responder.messages.isEmpty());
    }

    void countIsTheWholeResult() {
        TestDb db;
        QVERIFY(db.ok());
        QVERIFY(TdmData::ExecSql(
            "insert into t_code (F_type, F_Name) with recursive c(x) as "
            "(select 1 union all select x + 1 from c where x < 600) select ?, 'n' || x from c",
            {kTestKind}));
        CodeListWindow w;
        w.setCountCaption(QStringLiteral("计件记录："));
        w.show();
        QVERIFY(w.grid()->rowCount() < 600); // not all rows are read yet
        QCOMPARE(w.countLabel()->text(), QStringLiteral("计件记录：600"));
        // End reads the rest and reaches the real last row
        QTest::keyClick(w.grid(), Qt::Key_End);
        QCOMPARE(currentName(w), QStringLiteral("n600"));
        QCOMPARE(commandState(w), QStringLiteral("EDfp--"));
    }

    void navigationEnabling_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("states"); // at opening, after 末项, after 前项, after 首项
        QTest::newRow("empty") << 0 << QStringList{"------", "------", "------", "------"};
        QTest::newRow("one row") << 1 << QStringList{"ED----", "ED----", "ED----", "ED----"};
        QTest::newRow("two rows") << 2 << QStringList{"ED--nl", "EDfp--", "ED--nl", "ED--nl"};
        QTest::newRow("three rows") << 3 << QStringList{"ED--nl", "EDfp--", "EDfpnl", "ED--nl"};
    }
    void navigationEnabling() {
        QFETCH(int, rows);
        QFETCH(QStringList, states);
        TestDb db;
        QVERIFY(db.ok());
        for (int i = 0; i < rows; ++i)
            addCode(QStringLiteral("r%1").arg(i));
        CodeListWindow w;
        w.show();
        QCOMPARE(commandState(w), states.at(0));
        w.action(TListWindow::Last)->trigger();
        QCOMPARE(commandState(w), states.at(1));
        w.action(TListWindow::Prior)->trigger();
        QCOMPARE(commandState(w), states.at(2));
        w.action(TListWindow::First)->trigger();
        QCOMPARE(commandState(w), states.at(3));
        // a refresh that empties the list disables everything
        w.nameFilter->setText(QStringLiteral("无此"));
        w.refreshList();
        QCOMPARE(commandState(w), QStringLiteral("------"));
    }

    void keysActBeforeTheControls() {
        TestDb db;
        QVERIFY(db.ok());
        for (const char *n : {"a", "b", "c", "d"})
            addCode(n);
        CodeListWindow w;
        w.show();
        w.nameFilter->setFocus();
        QTest::keyClick(w.nameFilter, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w.adds, 1);
        QCOMPARE(w.nameFilter->text(), QString()); // not typed into, not select-all
        QTest::keyClick(w.nameFilter, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(w.edits, 1);
        QTest::keyClick(w.nameFilter, Qt::Key_End);
        QCOMPARE(currentName(w), QStringLiteral("d"));
        QTest::keyClick(w.nameFilter, Qt::Key_PageUp);
        QCOMPARE(currentName(w), QStringLiteral("c"));
        QTest::keyClick(w.grid(), Qt::Key_Home);
        QCOMPARE(currentName(w), QStringLiteral("a"));
        QTest::keyClick(w.grid(), Qt::Key_PageDown);
        QCOMPARE(currentName(w), QStringLiteral("b"));
        // a hidden command's key does nothing
        w.setCommandVisible(TListWindow::New, false);
        QTest::keyClick(w.grid(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w.adds, 1);
        // Ctrl+E on an empty list: the button is disabled, the key does nothing
        w.nameFilter->setText(QStringLiteral("无此"));
        w.refreshList();
        QTest::keyClick(w.grid(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(w.edits, 1);
        QVERIFY(db.responder.messages.isEmpty());
    }

    void editOnEmptyListSays() {
        TestDb db;
        QVERIFY(db.ok());
        CodeListWindow w;
        w.show();
        w.editCurrent();
        QCOMPARE(w.edits, 0);
        QCOMPARE(db.responder.texts(), QStringList{QStringLiteral("此表为空，没有记录需要修改！")});
        QCOMPARE(db.responder.messages.at(0).kind, 3);
    }

    void deleteAsks_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("current");
        QTest::newRow("yes") << 1 << QStringList{"a", "b", "d"} << "d";
        QTest::newRow("no") << 2 << QStringList{"a", "b", "c", "d"} << "c";
    }
    void deleteAsks() {
        QFETCH(int, answer);
        QFETCH(QStringList, left);
        QFETCH(QString, current);
        TestDb db;
        QVERIFY(db.ok());
        for (const char *n : {"a", "b", "c", "d"})
            addCode(n);
        CodeListWindow w;
        w.show();
        w.grid()->setCurrentRow(2);
        db.responder.answers.enqueue(answer);
        QTest::keyClick(w.grid(), Qt::Key_Delete);
        QCOMPARE(db.responder.texts(), QStringList{QStringLiteral("真的要删除当前记录吗？")});
        QCOMPARE(db.responder.messages.at(0).kind, 1);
        QStringList names;
        QSqlQuery q(QStringLiteral("select F_Name from t_code where F_type = 'tstkind' order by F_ID"),
                    Database::db());
        while (q.next())
            names << q.value(0).toString();
        QCOMPARE(names, left);
        QCOMPARE(currentName(w), current); // the list stays at the same position
        QCOMPARE(w.countLabel()->text(), QStringLiteral("记录数：%1").arg(left.size()));
    }

    void deleteKeyInTextBoxEdits() {
        TestDb db;
        QVERIFY(db.ok());
        addCode("a");
        CodeListWindow w;
        w.show();
        w.nameFilter->setText(QStringLiteral("xy"));
        w.nameFilter->setFocus();
        w.nameFilter->setCursorPosition(0);
        QTest::keyClick(w.nameFilter, Qt::Key_Delete);
        QCOMPARE(w.nameFilter->text(), QStringLiteral("y"));
        QVERIFY(db.responder.messages.isEmpty());
        QCOMPARE(w.deletes, 0);
        QCOMPARE(codeCount(), 1);
    }

    void escapeCloses() {
        TestDb db;
        QVERIFY(db.ok());
        CodeListWindow w;
        w.show();
        w.nameFilter->setFocus();
        QTest::keyClick(w.nameFilter, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }

    void enterMovesOn() {
        TestDb db;
        QVERIFY(db.ok());
        addCode("a");
        addCode("b");
        CodeListWindow w;
        w.show();
        w.nameFilter->setFocus();
        QTest::keyClick(w.nameFilter, Qt::Key_Return);
        QCOMPARE(w.focusWidget(), w.typeFilter);
        QTest::keyClick(w.typeFilter, Qt::Key_Return);
        QCOMPARE(w.focusWidget(), w.findButton);
        // Enter on a button presses it
        QSignalSpy refreshed(&w, &TListWindow::listRefreshed);
        QTest::keyClick(w.findButton, Qt::Key_Return);
        QCOMPARE(refreshed.count(), 1);
        // in the grid Enter moves to the next column, after the last to the next row
        w.grid()->setFocus();
        w.grid()->setCurrentIndex(w.grid()->model()->index(0, 0));
        QTest::keyClick(w.grid(), Qt::Key_Return);
        QCOMPARE(w.grid()->currentIndex().column(), 1);
        QTest::keyClick(w.grid(), Qt::Key_Return);
        QCOMPARE(w.grid()->currentIndex().row(), 1);
        QCOMPARE(w.grid()->currentIndex().column(), 0);
        QCOMPARE(w.focusWidget(), w.grid());
    }

    void exportWritesTheListedRows() {
        TestDb db;
        QVERIFY(db.ok());
        for (const char *n : {"一车间", "二车间", "办公室"})
            addCode(QString::fromUtf8(n));
        CodeListWindow w;
        w.setExportFileName(QStringLiteral("代码列表"));
        w.show();
        w.nameFilter->setText(QStringLiteral("车间"));
        w.refreshList();
        const QString file = QDir(db.dir()).filePath(QStringLiteral("out"));
        db.responder.fileNames.enqueue(file);
        db.responder.filterIndexes.enqueue(5); // comma-separated values
        db.responder.answers.enqueue(2);       // do not open it
        w.action(TListWindow::Export)->trigger();
        QFile f(file + QStringLiteral(".csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY(text.contains(QStringLiteral("一车间")));
        QVERIFY(text.contains(QStringLiteral("二车间")));
        QVERIFY(!text.contains(QStringLiteral("办公室")));
    }

    void refreshReselects() {
        TestDb db;
        QVERIFY(db.ok());
        for (const char *n : {"b", "d", "f"})
            addCode(n);
        CodeListWindow w;
        w.orderByName = true;
        w.show();
        w.grid()->setCurrentRow(2);
        const qint64 id = addCode("c");
        QVERIFY(w.refreshList(id));
        QCOMPARE(w.currentId(), id);
        QCOMPARE(w.grid()->currentRow(), 1);
        // without a key (or with one no longer listed) the position is kept
        w.grid()->setCurrentRow(3);
        QVERIFY(w.refreshList());
        QCOMPARE(w.grid()->currentRow(), 3);
        QVERIFY(w.refreshList(99999));
        QCOMPARE(w.grid()->currentRow(), 3);
    }

    void editDialogReopensListOnSavedRecord() {
        TestDb db;
        QVERIFY(db.ok());
        for (const char *n : {"b", "d", "f"})
            addCode(n);
        CodeListWindow w;
        w.orderByName = true;
        w.useDialog = true;
        w.show();
        // add "e": it lands between d and f
        whenModal<CodeEditDialog>([](CodeEditDialog *dlg) {
            dlg->continuousBox()->setChecked(false);
            dlg->name->setText(QStringLiteral("e"));
            QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
        });
        QTest::keyClick(w.grid(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(currentName(w), QStringLiteral("e"));
        QCOMPARE(w.countLabel()->text(), QStringLiteral("记录数：4"));
        // edit "b" (first row) into "g": the list follows it to the end
        w.goFirst();
        whenModal<CodeEditDialog>([](CodeEditDialog *dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("代码 - 修改"));
            QCOMPARE(dlg->name->text(), QStringLiteral("b"));
            dlg->name->setText(QStringLiteral("g"));
            QTest::keyClick(dlg->name, Qt::Key_S, Qt::ControlModifier);
        });
        QTest::keyClick(w.grid(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(currentName(w), QStringLiteral("g"));
        QCOMPARE(w.grid()->currentRow(), 3);
        // walking the navigator and cancelling leaves the list on the record shown last
        w.goFirst();
        whenModal<CodeEditDialog>([](CodeEditDialog *dlg) {
            QTest::mouseClick(dlg->nextButton(), Qt::LeftButton);
            QTest::mouseClick(dlg->nextButton(), Qt::LeftButton);
            QTest::keyClick(dlg->name, Qt::Key_Escape);
        });
        w.editCurrent();
        QCOMPARE(currentName(w), QStringLiteral("f"));
        QVERIFY(db.responder.messages.isEmpty());
    }
};

REGISTER_TEST(TestListWindow)
#include "tst_listwindow.moc"
