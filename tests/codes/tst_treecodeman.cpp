#include "codes/treecodes.h"
#include "codes/udlgentercaption.h"
#include "codes/ufrmtreecodeman.h"
#include "core/datadm.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <functional>
#include <memory>

namespace {

// Types text into w key by key (also characters beyond ASCII).
void typeText(QWidget *w, const QString &text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Runs fn on the modal dialog of class Dialog that the next exec() shows; *seen tells whether it
// came. Anything else that is modal is closed so that a test never hangs.
template <class Dialog> void whenModal(std::function<void(Dialog *)> fn, bool *seen = nullptr) {
    QTimer::singleShot(0, [fn, seen] {
        auto *dlg = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (seen)
            *seen = dlg != nullptr;
        if (!dlg) {
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
            return;
        }
        fn(dlg);
        // a dialog the test failed to close is closed later, so that the test fails instead of hanging
        QTimer::singleShot(3000, dlg, [dlg] {
            if (dlg->isVisible())
                dlg->reject();
        });
    });
}

// Answers the next name dialog with text through 确定; *caption receives its title.
void answerName(const QString &text, QString *caption = nullptr, QString *prefilled = nullptr) {
    whenModal<TDLGenterCaption>([=](TDLGenterCaption *d) {
        if (caption)
            *caption = d->windowTitle();
        if (prefilled)
            *prefilled = d->edtCurValue->text();
        d->edtCurValue->clear();
        typeText(d->edtCurValue, text);
        QTest::mouseClick(d->btnOk, Qt::LeftButton);
        if (d->isVisible()) // refused: leave it
            QTest::mouseClick(d->btnCancel, Qt::LeftButton);
    });
}

void addNode(const QString &code, const QString &name, const QString &path, const QString &kind = "dept") {
    QVERIFY(
        TdmData::ExecSql("insert into t_treecode (F_code, F_name, F_likecode, F_flag) values (?, ?, ?, ?)",
                         {code, name, path, kind}));
}

void addEmployee(const QString &code, const QString &dept) {
    QVERIFY(TdmData::ExecSql("insert into t_employee (F_code, F_name, F_dept) values (?, ?, ?)",
                             {code, code, dept}));
}

// "code name path" of every stored node of kind, in code order.
QStringList storedNodes(const QString &kind = "dept") {
    QStringList out;
    QSqlQuery q;
    TdmData::OpenSql("select F_code, F_name, F_likecode from t_treecode where F_flag = ? order by F_code", q,
                     {kind});
    while (q.next())
        out << q.value(0).toString() + ' ' + q.value(1).toString() + ' ' + q.value(2).toString();
    return out;
}

QString deptOf(const QString &employee) {
    return TdmData::LookupStr("select F_dept from t_employee where F_code = ?", {employee});
}

QTreeWidgetItem *itemByCode(QTreeWidget *tree, const QString &code) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, TdmData::NodeCodeRole).toString() == code)
            return *it;
    return nullptr;
}

QString pathOfItem(QTreeWidgetItem *item) {
    return item->data(0, TdmData::NodeLikeCodeRole).toString();
}

} // namespace

// The department tree: codes and paths of new nodes, renaming with the employees' departments,
// deleting subtrees, picking a path.
class TestTreeCodeMan : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    std::unique_ptr<TFrmTreeCodeMan> w;

    void openWindow() {
        w = std::make_unique<TFrmTreeCodeMan>();
        w->ShowTreeCodes(1);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void select(const QString &code) {
        QTreeWidgetItem *item = code == "000" ? w->tvCodes->topLevelItem(0) : itemByCode(w->tvCodes, code);
        QVERIFY2(item, qPrintable(code));
        w->tvCodes->setCurrentItem(item);
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

    void newNodesTakeTheNextCodeAndTheirPath() {
        openWindow();
        QTreeWidgetItem *root = w->tvCodes->topLevelItem(0);
        QCOMPARE(root->text(0), QString("员工部门资料"));
        QCOMPARE(w->windowTitle(), QString("员工部门资料"));

        // the root has no siblings
        QTest::mouseClick(w->btnAddSibling, Qt::LeftButton);
        QCOMPARE(db->responder.texts(), QStringList{"不能增加根节点的同类节点，该节点只能增加子节点！"});
        QVERIFY(storedNodes().isEmpty());

        QString caption;
        answerName("生产部", &caption);
        QTest::mouseClick(w->btnAddChild, Qt::LeftButton);
        QCOMPARE(caption, QString("添加 000 员工部门资料 子类"));
        select("001");
        answerName("  行政部 ", &caption);
        QTest::mouseClick(w->btnAddSibling, Qt::LeftButton);
        QCOMPARE(caption, QString("添加 001 生产部 同类"));
        select("002");
        answerName("一车间", &caption);
        QTest::mouseClick(w->btnAddChild, Qt::LeftButton);
        QCOMPARE(caption, QString("添加 002 行政部 子类"));
        select("002001");
        answerName("二车间");
        QTest::mouseClick(w->btnAddSibling, Qt::LeftButton);
        select("000");
        answerName("财务部");
        QTest::mouseClick(w->btnAddChild, Qt::LeftButton);

        QCOMPARE(storedNodes(), QStringList({"001 生产部 \\\\生产部", "002 行政部 \\\\行政部",
                                             "002001 一车间 \\\\行政部\\一车间",
                                             "002002 二车间 \\\\行政部\\二车间", "003 财务部 \\\\财务部"}));
        // the window shows what was stored, children in code order under their parent
        QTreeWidgetItem *admin = itemByCode(w->tvCodes, "002");
        QCOMPARE(admin->parent(), root);
        QCOMPARE(admin->childCount(), 2);
        QCOMPARE(admin->child(1)->text(0), QString("二车间"));
        QCOMPARE(pathOfItem(admin->child(1)), QString("\\\\行政部\\二车间"));
        QCOMPARE(root->child(2)->text(0), QString("财务部"));
        QCOMPARE(w->tvCodes->currentItem(), root->child(2));
        QCOMPARE(db->responder.messages.size(), 1);
        // a top-level node with children shows the open folder, a leaf the closed one
        QCOMPARE(TFrmTreeCodeMan::nodeImage(admin, false), 1);
        QCOMPARE(TFrmTreeCodeMan::nodeImage(admin->child(0), false), 2);
        QCOMPARE(TFrmTreeCodeMan::nodeImage(admin->child(0), true), 3);
    }

    // Bad names get a message and nothing is stored.
    void badNamesAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("blank") << "   " << QStringList{"部门名称不能为空！"};
        QTest::newRow("backslash") << "A\\B"
                                   << QStringList{"部门名称不能包含反斜杠“\\”，它是部门路径的分隔符！"};
        QTest::newRow("sibling of the same name")
            << "财务部" << QStringList{"同一级中已有名为“财务部”的部门，请换一个名称！"};
        QTest::newRow("same name in another case")
            << "abc" << QStringList{"同一级中已有名为“abc”的部门，请换一个名称！"};
    }
    void badNamesAreRefused() {
        QFETCH(QString, name);
        QFETCH(QStringList, messages);
        addNode("001", "财务部", "\\\\财务部");
        addNode("002", "ABC", "\\\\ABC");
        openWindow();
        bool seen = false;
        whenModal<TDLGenterCaption>(
            [name](TDLGenterCaption *d) {
                typeText(d->edtCurValue, name);
                QTest::mouseClick(d->btnOk, Qt::LeftButton);
                if (d->isVisible()) // the dialog itself refused: the user gives up
                    QTest::mouseClick(d->btnCancel, Qt::LeftButton);
            },
            &seen);
        QTest::mouseClick(w->btnAddChild, Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(db->responder.texts(), messages);
        QCOMPARE(storedNodes(), QStringList({"001 财务部 \\\\财务部", "002 ABC \\\\ABC"}));
        QCOMPARE(w->tvCodes->topLevelItem(0)->childCount(), 2);
    }

    void apostropheNamesAreStoredAsTyped() {
        addEmployee("E1", "\\\\O'Neil's 部");
        openWindow();
        answerName("O'Neil's 部");
        QTest::mouseClick(w->btnAddChild, Qt::LeftButton);
        QCOMPARE(storedNodes(), QStringList{"001 O'Neil's 部 \\\\O'Neil's 部"});
        answerName("it's");
        QTest::mouseClick(w->btnAddChild, Qt::LeftButton);
        select("001");
        answerName("Mc'Don 部");
        QTest::keyClick(w->tvCodes, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(storedNodes(),
                 QStringList({"001 Mc'Don 部 \\\\Mc'Don 部", "001001 it's \\\\Mc'Don 部\\it's"}));
        QCOMPARE(deptOf("E1"), QString("\\\\Mc'Don 部"));
        QVERIFY(db->responder.messages.isEmpty());
    }

    // Renaming moves the departments of the node and everything below it, and only those: a
    // node whose name merely starts with the old name keeps its path, whatever characters the
    // names hold.
    void renameRewritesTheWholeSubtree_data() {
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QString>("otherName");
        QTest::newRow("plain") << "A"
                               << "A1"
                               << "AB";
        QTest::newRow("underscore") << "A_"
                                    << "Z"
                                    << "AB";
        QTest::newRow("percent") << "A%"
                                 << "Z"
                                 << "A%B";
        QTest::newRow("apostrophe") << "市场'部"
                                    << "市场'一部"
                                    << "市场'部二";
        QTest::newRow("case only") << "abc"
                                   << "ABC"
                                   << "abcd";
    }
    void renameRewritesTheWholeSubtree() {
        QFETCH(QString, oldName);
        QFETCH(QString, newName);
        QFETCH(QString, otherName);
        const QString old = "\\\\" + oldName;
        const QString other = "\\\\" + otherName;
        const QString renamed = "\\\\" + newName;
        addNode("001", oldName, old);
        addNode("001001", "B", old + "\\B");
        addNode("001001001", "C", old + "\\B\\C");
        addNode("002", otherName, other);
        addNode("002001", "B", other + "\\B");
        addNode("001", oldName, old, "other kind");
        addEmployee("E1", old);
        addEmployee("E2", old + "\\B");
        addEmployee("E3", old + "\\B\\C");
        addEmployee("E4", other);
        addEmployee("E5", other + "\\B");
        addEmployee("E6", "生产部");
        addEmployee("E7", oldName);
        openWindow();
        select("001");
        QString caption;
        QString prefilled;
        answerName(newName, &caption, &prefilled);
        QTest::mouseClick(w->btnEdit, Qt::LeftButton);
        QCOMPARE(caption, "修改类别 001 " + oldName + " 子类");
        QCOMPARE(prefilled, oldName);
        QVERIFY(db->responder.messages.isEmpty());

        QCOMPARE(storedNodes(), QStringList({"001 " + newName + ' ' + renamed, "001001 B " + renamed + "\\B",
                                             "001001001 C " + renamed + "\\B\\C",
                                             "002 " + otherName + ' ' + other, "002001 B " + other + "\\B"}));
        QCOMPARE(storedNodes("other kind"), QStringList{"001 " + oldName + ' ' + old});
        const QStringList depts{deptOf("E1"), deptOf("E2"), deptOf("E3"), deptOf("E4"),
                                deptOf("E5"), deptOf("E6"), deptOf("E7")};
        QCOMPARE(depts, QStringList({renamed, renamed + "\\B", renamed + "\\B\\C", other, other + "\\B",
                                     "生产部", oldName}));
        // the window follows: caption and the paths a pick returns
        QTreeWidgetItem *node = itemByCode(w->tvCodes, "001");
        QCOMPARE(node->text(0), newName);
        QCOMPARE(pathOfItem(node), renamed);
        QCOMPARE(pathOfItem(itemByCode(w->tvCodes, "001001001")), renamed + "\\B\\C");
        QCOMPARE(pathOfItem(itemByCode(w->tvCodes, "002001")), other + "\\B");
    }

    void renameIsAllOrNothing() {
        addNode("001", "A", "\\\\A");
        addNode("001001", "B", "\\\\A\\B");
        addEmployee("E1", "\\\\A\\B");
        // the last statement of the rename fails
        QVERIFY(TdmData::ExecSql("create trigger t_block before update of F_name on t_treecode "
                                 "begin select raise(abort, 'blocked'); end"));
        openWindow();
        select("001");
        answerName("A1");
        QTest::mouseClick(w->btnEdit, Qt::LeftButton);
        QCOMPARE(db->responder.texts(), QStringList{"数据连接失败，请与作者联系... "});
        QCOMPARE(db->responder.messages.first().kind, 3);
        QCOMPARE(deptOf("E1"), QString("\\\\A\\B"));
        QCOMPARE(storedNodes(), QStringList({"001 A \\\\A", "001001 B \\\\A\\B"}));
        QCOMPARE(itemByCode(w->tvCodes, "001")->text(0), QString("A"));
        QCOMPARE(pathOfItem(itemByCode(w->tvCodes, "001001")), QString("\\\\A\\B"));
    }

    void renameRefusesTheRootAndSameName() {
        addNode("001", "A", "\\\\A");
        addEmployee("E1", "\\\\A");
        openWindow();
        select("000");
        QTest::mouseClick(w->btnEdit, Qt::LeftButton);
        QCOMPARE(db->responder.texts(), QStringList{"根节点不能修改！"});
        select("001");
        answerName("A");
        QTest::mouseClick(w->btnEdit, Qt::LeftButton);
        QCOMPARE(db->responder.messages.size(), 1);
        QCOMPARE(storedNodes(), QStringList{"001 A \\\\A"});
    }

    // 删除 asks first and removes the node with everything below it.
    void deleteRemovesTheSubtree_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("left");
        const QString parentQuestion = "此节点包含有子节点，真的要删除所有的子节点吗？";
        QTest::newRow("subtree") << "001" << 1 << QStringList{parentQuestion}
                                 << QStringList({"002 行政部", "002001 一车间"});
        QTest::newRow("declined") << "001" << 2 << QStringList{parentQuestion}
                                  << QStringList({"001 生产部", "001001 一车间", "001001001 一组",
                                                  "002 行政部", "002001 一车间"});
        QTest::newRow("leaf") << "002001" << 1 << QStringList{"真的要删除当前节点 “002001一车间” 吗？"}
                              << QStringList({"001 生产部", "001001 一车间", "001001001 一组", "002 行政部"});
        QTest::newRow("root") << "000" << 1 << QStringList{"根节点不能删除！"}
                              << QStringList({"001 生产部", "001001 一车间", "001001001 一组", "002 行政部",
                                              "002001 一车间"});
    }
    void deleteRemovesTheSubtree() {
        QFETCH(QString, code);
        QFETCH(int, answer);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, left);
        addNode("001", "生产部", "\\\\生产部");
        addNode("001001", "一车间", "\\\\生产部\\一车间");
        addNode("001001001", "一组", "\\\\生产部\\一车间\\一组");
        addNode("002", "行政部", "\\\\行政部");
        addNode("002001", "一车间", "\\\\行政部\\一车间");
        addNode("001", "生产部", "\\\\生产部", "other kind");
        openWindow();
        select(code);
        db->responder.answers.enqueue(answer);
        QTest::keyClick(w->tvCodes, Qt::Key_Delete);
        QCOMPARE(db->responder.texts(), messages);
        QStringList stored;
        for (const QString &row : storedNodes())
            stored << row.section(' ', 0, 1);
        QCOMPARE(stored, left);
        QCOMPARE(storedNodes("other kind").size(), 1);
        // the window shows what is stored
        QStringList shown;
        for (QTreeWidgetItemIterator it(w->tvCodes); *it; ++it)
            if ((*it)->parent())
                shown << (*it)->data(0, TdmData::NodeCodeRole).toString() + ' ' + (*it)->text(0);
        QCOMPARE(shown, left);
    }

    void pickingReturnsThePathOfTheChosenNode() {
        addNode("001", "生产部", "\\\\生产部");
        addNode("001001", "一车间", "\\\\生产部\\一车间");
        addNode("002", "行政部", "\\\\行政部");
        QString current;
        bool hasButtons = false;
        // the current path is selected; 确定 returns it
        whenModal<TFrmTreeCodeMan>([&](TFrmTreeCodeMan *t) {
            current = t->tvCodes->currentItem()->text(0);
            hasButtons = t->btnOk->isVisible() && t->btnCancel->isVisible();
            QTest::mouseClick(t->btnOk, Qt::LeftButton);
        });
        QCOMPARE(codes::PickTreePath(nullptr, "\\\\生产部\\一车间"), QString("\\\\生产部\\一车间"));
        QCOMPARE(current, QString("一车间"));
        QVERIFY(hasButtons);

        // 取消 gives back the path unchanged
        whenModal<TFrmTreeCodeMan>([](TFrmTreeCodeMan *t) {
            t->tvCodes->setCurrentItem(itemByCode(t->tvCodes, "002"));
            QTest::mouseClick(t->btnCancel, Qt::LeftButton);
        });
        QCOMPARE(codes::PickTreePath(nullptr, "旧部门"), QString("旧部门"));
        // so does Esc
        whenModal<TFrmTreeCodeMan>([](TFrmTreeCodeMan *t) {
            t->tvCodes->setCurrentItem(itemByCode(t->tvCodes, "002"));
            QTest::keyClick(t->tvCodes, Qt::Key_Escape);
        });
        QCOMPARE(codes::PickTreePath(nullptr, "\\生产部"), QString("\\生产部"));

        // an unknown path leaves the root selected, which cannot be chosen; Enter chooses
        whenModal<TFrmTreeCodeMan>([&](TFrmTreeCodeMan *t) {
            current = t->tvCodes->currentItem()->text(0);
            QTest::mouseClick(t->btnOk, Qt::LeftButton);
            QVERIFY(t->isVisible());
            t->tvCodes->setCurrentItem(itemByCode(t->tvCodes, "002"));
            QTest::keyClick(t->tvCodes, Qt::Key_Return);
        });
        QCOMPARE(codes::PickTreePath(nullptr, "\\\\无此部门"), QString("\\\\行政部"));
        QCOMPARE(current, QString("员工部门资料"));
        QCOMPARE(db->responder.texts(), QStringList{"不能选择根节点！"});

        // a double-click on a node chooses it
        whenModal<TFrmTreeCodeMan>([](TFrmTreeCodeMan *t) {
            QTreeWidgetItem *item = itemByCode(t->tvCodes, "001");
            QVERIFY(QTest::qWaitForWindowExposed(t));
            const QPoint at = t->tvCodes->visualItemRect(item).center();
            QTest::mousePress(t->tvCodes->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(t->tvCodes->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(t->tvCodes->viewport(), Qt::LeftButton, {}, at);
        });
        QCOMPARE(codes::PickTreePath(nullptr, QString()), QString("\\\\生产部"));
    }

    // The input dialog's tree button puts the picked path into its field.
    void nameDialogPicksFromTheTree() {
        addNode("001", "生产部", "\\\\生产部");
        addNode("001001", "一车间", "\\\\生产部\\一车间");
        TDLGenterCaption d;
        d.setWindowTitle("部门结构名称");
        d.setCurValue("\\\\生产部");
        QVERIFY(d.sbtype->isHidden());
        d.setTreeButtonVisible(true);
        d.show();
        QString current;
        whenModal<TFrmTreeCodeMan>([&](TFrmTreeCodeMan *t) {
            current = t->tvCodes->currentItem()->text(0);
            t->tvCodes->setCurrentItem(itemByCode(t->tvCodes, "001001"));
            QTest::mouseClick(t->btnOk, Qt::LeftButton);
        });
        QTest::mouseClick(d.sbtype, Qt::LeftButton);
        QCOMPARE(current, QString("生产部"));
        QCOMPARE(d.curValue(), QString("\\\\生产部\\一车间"));
        QTest::mouseClick(d.btnOk, Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));

        // Execute returns the text on 确定 and empty text on 取消
        whenModal<TDLGenterCaption>([](TDLGenterCaption *e) { QTest::mouseClick(e->btnOk, Qt::LeftButton); });
        QCOMPARE(TDLGenterCaption::Execute(nullptr, "标题", " 原值 "), QString(" 原值 "));
        whenModal<TDLGenterCaption>([](TDLGenterCaption *e) {
            typeText(e->edtCurValue, "新值");
            QTest::mouseClick(e->btnCancel, Qt::LeftButton);
        });
        QCOMPARE(TDLGenterCaption::Execute(nullptr, "标题"), QString());
        QVERIFY(db->responder.messages.isEmpty());
    }

    // Whole path names decide what lies under a path.
    void pathIsUnderComparesWholeNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("base");
        QTest::addColumn<bool>("under");
        QTest::newRow("itself") << "\\\\A"
                                << "\\\\A" << true;
        QTest::newRow("child") << "\\\\A\\B"
                               << "\\\\A" << true;
        QTest::newRow("longer name") << "\\\\AB"
                                     << "\\\\A" << false;
        QTest::newRow("other case") << "\\\\a\\b"
                                    << "\\\\A" << true;
        QTest::newRow("shorter") << "\\\\A"
                                 << "\\\\A\\B" << false;
        QTest::newRow("flat name") << "A"
                                   << "\\\\A" << false;
        QTest::newRow("empty base") << "\\\\A"
                                    << "" << false;
    }
    void pathIsUnderComparesWholeNames() {
        QFETCH(QString, path);
        QFETCH(QString, base);
        QFETCH(bool, under);
        QCOMPARE(TreeCodes::PathIsUnder(path, base), under);
    }
};

REGISTER_TEST(TestTreeCodeMan)
#include "tst_treecodeman.moc"
