#include "operfixtures.h"

#include "core/session.h"
#include "operators/operatorscommands.h"
#include "operators/ufrmlimitgl.h"
#include "operators/ufrmmodpass.h"
#include "operators/ufrmopergl.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <memory>

using namespace operfixtures;

namespace {

QStringList rowTexts(QTreeWidget *list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << list->topLevelItem(i)->text(c);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

QAction *menuAction(TFrmOperGl &w, const QString &text) {
    for (QAction *a : w.popupMenu()->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

} // namespace

// The operator management window: its lists, the super user's protection and deleting.
class TestOperGl : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;

    QStringList texts() const { return db->responder.texts(); }

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
        addRole("R1", "班组长", {"201", "301"});
        addRole("R2", "仓管", {"302"}, true);
        addOperator("001", "张三", "abc", "R1");
        addOperator("002", "李四", "", "R9");
        QVERIFY(TdmData::ExecSql("update OperList set F_Flag = 1, F_Mem = ? where F_Code = '002'",
                                 {QStringLiteral("第一行\n第二行")}));
    }
    void cleanup() { db.reset(); }

    void listsFilled() {
        TFrmOperGl w;
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("操作员管理"));
        QCOMPARE(w.tabs()->currentIndex(), 0);
        QCOMPARE(w.tabs()->tabText(0), QStringLiteral(" 用户列表 "));
        QCOMPARE(w.tabs()->tabText(1), QStringLiteral(" 角色列表 "));
        QCOMPARE(rowTexts(w.operList()), (QStringList{"1|000|系统管理员||系统超级用户", "2|001|张三|班组长|",
                                                      "3|002|李四||第一行 第二行"}));
        QCOMPARE(rowTexts(w.roleList()), (QStringList{"1|R1|班组长|", "2|R2|仓管|"}));
    }

    // Only the super user sees the 删除 button; the Delete key works for everyone.
    void deleteButtonForSuperUserOnly_data() {
        QTest::addColumn<QString>("operCode");
        QTest::addColumn<bool>("shown");
        QTest::newRow("super user") << "000" << true;
        QTest::newRow("other operator") << "001" << false;
    }
    void deleteButtonForSuperUserOnly() {
        QFETCH(QString, operCode);
        QFETCH(bool, shown);
        session().CurOperCode = operCode;
        TFrmOperGl w;
        w.show();
        QCOMPARE(w.deleteButton()->isVisible(), shown);
        QVERIFY(w.selectCode("001"));
        db->responder.answers.enqueue(1);
        w.operList()->setFocus();
        QTest::keyClick(w.operList(), Qt::Key_Delete);
        QCOMPARE(texts(), QStringList{QStringLiteral("真的要删除当前用户张三吗？")});
        QCOMPARE(db->responder.messages.first().kind, 1);
        QCOMPARE(column("select F_Code from OperList order by F_Code"), (QStringList{"000", "002"}));
    }

    void superUserProtected_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("修改 button") << "edit-button"
                                     << "此用户为系统专用用户，不能被编辑！";
        QTest::newRow("Ctrl+E") << "edit-key"
                                << "此用户为系统专用用户，不能被编辑！";
        QTest::newRow("double-click") << "double-click"
                                      << "此用户为系统专用用户，不能被编辑！";
        QTest::newRow("删除 button") << "delete-button"
                                     << "此用户为系统专用用户，不能被删除！";
        QTest::newRow("Delete key") << "delete-key"
                                    << "此用户为系统专用用户，不能被删除！";
        QTest::newRow("pop-up 删除") << "delete-menu"
                                     << "此用户为系统专用用户，不能被删除！";
    }
    // "000" is neither edited nor deleted, whichever way the command comes.
    void superUserProtected() {
        QFETCH(QString, command);
        QFETCH(QString, message);
        const QStringList before = tableRows("OperList");
        TFrmOperGl w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.selectCode("000"));
        w.operList()->setFocus();
        ModalWatch watch([](QDialog *) {});
        if (command == "edit-button")
            QTest::mouseClick(w.editButton(), Qt::LeftButton);
        else if (command == "edit-key")
            QTest::keyClick(w.operList(), Qt::Key_E, Qt::ControlModifier);
        else if (command == "double-click")
            emit w.operList()->itemDoubleClicked(w.operList()->currentItem(), 1);
        else if (command == "delete-button")
            QTest::mouseClick(w.deleteButton(), Qt::LeftButton);
        else if (command == "delete-key")
            QTest::keyClick(w.operList(), Qt::Key_Delete);
        else
            menuAction(w, QStringLiteral("删除"))->trigger();
        QTest::qWait(30);
        QVERIFY(!watch.opened());
        QCOMPARE(texts(), QStringList{message});
        QCOMPARE(db->responder.messages.first().kind, 2);
        QCOMPARE(tableRows("OperList"), before);
    }

    void deleteAsks_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("yes") << 1 << QStringList{"000", "002"};
        QTest::newRow("no") << 2 << QStringList{"000", "001", "002"};
    }
    void deleteAsks() {
        QFETCH(int, answer);
        QFETCH(QStringList, left);
        TFrmOperGl w;
        w.show();
        QVERIFY(w.selectCode("001"));
        db->responder.answers.enqueue(answer);
        menuAction(w, QStringLiteral("删除"))->trigger();
        QCOMPARE(texts(), QStringList{QStringLiteral("真的要删除当前用户张三吗？")});
        QCOMPARE(column("select F_Code from OperList order by F_Code"), left);
        QCOMPARE(w.operList()->topLevelItemCount(), left.size());
        // the row now at the deleted one's place is selected
        QCOMPARE(w.currentCode(), answer == 1 ? QStringLiteral("002") : QStringLiteral("001"));
    }

    // A deleted role takes its rights with it; its operators keep the code.
    void deleteRole() {
        TFrmOperGl w;
        w.show();
        w.tabs()->setCurrentIndex(1);
        QVERIFY(w.selectCode("R1"));
        db->responder.answers.enqueue(1);
        w.roleList()->setFocus();
        QTest::keyClick(w.roleList(), Qt::Key_Delete);
        QCOMPARE(texts(), QStringList{QStringLiteral("真的要删除当前角色班组长吗？")});
        QCOMPARE(column("select F_Code from PartList"), QStringList{"R2"});
        QCOMPARE(roleRights("R1"), QStringList());
        QCOMPARE(roleRights("R2"), QStringList{"302"});
        QCOMPARE(TdmData::LookupStr("select F_PartCode from OperList where F_Code = '001'"),
                 QStringLiteral("R1"));
        QCOMPARE(rowTexts(w.roleList()), QStringList{"1|R2|仓管|"});
    }

    // 修改 on an operator opens the editor on it and the list shows what was saved.
    void editFromList() {
        TFrmOperGl w;
        w.show();
        QVERIFY(w.selectCode("002"));
        ModalWatch watch([](QDialog *d) {
            auto *editor = qobject_cast<TFrmLimitGl *>(d);
            QVERIFY(editor);
            QCOMPARE(editor->kind(), TFrmLimitGl::Kind::Operator);
            QCOMPARE(child<QLineEdit>(d, "edtCode")->text(), QStringLiteral("002"));
            auto *name = child<QLineEdit>(d, "edtName");
            name->clear();
            typeText(name, QStringLiteral("李四四"));
            auto *role = child<QComboBox>(d, "cbbPart");
            role->setCurrentIndex(role->findText(QStringLiteral("班组长")));
            QTest::mouseClick(child<QPushButton>(d, "btnSave"), Qt::LeftButton);
        });
        QTest::keyClick(w.operList(), Qt::Key_E, Qt::ControlModifier);
        QVERIFY(watch.opened());
        QCOMPARE(texts(), QStringList());
        QCOMPARE(w.currentCode(), QStringLiteral("002"));
        QCOMPARE(rowTexts(w.operList()).at(2), QStringLiteral("3|002|李四四|班组长|第一行 第二行"));
    }

    // The main window reaches the password window with 102 and operator management with 103.
    void commandsOpenTheirWindows() {
        QHash<QString, operators::Opener> openers;
        operators::registerCommands(
            [&](const QString &code, operators::Opener opener) { openers[code] = opener; });
        QCOMPARE(openers.size(), 2);
        QWidget owner;
        for (const QString &code : {QStringLiteral("102"), QStringLiteral("103")}) {
            QString opened;
            ModalWatch watch([&opened, &owner](QDialog *d) {
                opened = QString::fromLatin1(d->metaObject()->className());
                QCOMPARE(d->parentWidget(), &owner);
            });
            QVERIFY(openers.value(code));
            openers.value(code)(&owner);
            QCOMPARE(opened, code == "102" ? QStringLiteral("TfrmModPass") : QStringLiteral("TFrmOperGl"));
        }
    }
};

REGISTER_TEST(TestOperGl)
#include "tst_opergl.moc"
