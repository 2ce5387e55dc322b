#include "operfixtures.h"

#include "core/session.h"
#include "operators/ufrmmodpass.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

using namespace operfixtures;

// The password window of the logged-in operator.
class TestModPass : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
        addOperator("001", "张三", "old");
        // another operator of the same name must never be touched
        addOperator("002", "张三", "other");
        session().CurOperCode = QStringLiteral("001");
        session().CurOperName = QStringLiteral("张三");
    }
    void cleanup() { db.reset(); }

    void change_data() {
        QTest::addColumn<QString>("oldTyped");
        QTest::addColumn<QString>("newTyped");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("password"); // the password that fits afterwards
        QTest::newRow("wrong old password") << "bad"
                                            << "new"
                                            << "new"
                                            << "旧口令输入错误，不能更改！" << 2 << "old";
        QTest::newRow("old password of the other 张三") << "other"
                                                        << "new"
                                                        << "new"
                                                        << "旧口令输入错误，不能更改！" << 2 << "old";
        QTest::newRow("repetition differs") << "old"
                                            << "new"
                                            << "neu"
                                            << "新口令错误，不能更改！" << 0 << "old";
        QTest::newRow("changed") << "old"
                                 << "new"
                                 << "new"
                                 << "更改口令成功！" << 0 << "new";
        QTest::newRow("blanks around are not part of it") << " old "
                                                          << "new "
                                                          << " new"
                                                          << "更改口令成功！" << 0 << "new";
        QTest::newRow("changed to the empty password") << "old"
                                                       << ""
                                                       << ""
                                                       << "更改口令成功！" << 0 << "";
    }
    void change() {
        QFETCH(QString, oldTyped);
        QFETCH(QString, newTyped);
        QFETCH(QString, repeated);
        QFETCH(QString, message);
        QFETCH(int, kind);
        QFETCH(QString, password);
        const QString otherHash = storedPassword("002");
        TfrmModPass w;
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("更改当前用户密码"));
        QCOMPARE(w.operatorLabel()->text(), QStringLiteral("当前操作员：张三 "));
        for (QLineEdit *e : {w.oldEdit(), w.newEdit(), w.repeatEdit()})
            QCOMPARE(e->echoMode(), QLineEdit::Password);
        typeText(w.oldEdit(), oldTyped);
        typeText(w.newEdit(), newTyped);
        typeText(w.repeatEdit(), repeated);
        QTest::mouseClick(w.okButton(), Qt::LeftButton);

        QCOMPARE(db->responder.texts(), QStringList{message});
        QCOMPARE(db->responder.messages.first().kind, kind);
        QVERIFY(CheckPass(storedPassword("001"), password));
        if (password != "old")
            QVERIFY(!CheckPass(storedPassword("001"), "old"));
        QCOMPARE(storedPassword("002"), otherHash);
        // the window closes whatever the outcome
        QVERIFY(!w.isVisible());
    }

    // Enter moves from box to box; on 确定 it presses it.
    void enterWalksTheBoxes() {
        TfrmModPass w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.oldEdit()->setFocus();
        typeText(w.oldEdit(), QStringLiteral("old"));
        QTest::keyClick(w.oldEdit(), Qt::Key_Return);
        QCOMPARE(w.focusWidget(), w.newEdit());
        typeText(w.newEdit(), QStringLiteral("x1"));
        QTest::keyClick(w.newEdit(), Qt::Key_Return);
        QCOMPARE(w.focusWidget(), w.repeatEdit());
        typeText(w.repeatEdit(), QStringLiteral("x1"));
        QTest::keyClick(w.repeatEdit(), Qt::Key_Return);
        QCOMPARE(w.focusWidget(), static_cast<QWidget *>(w.okButton()));
        QVERIFY(w.isVisible());
        QTest::keyClick(w.okButton(), Qt::Key_Return);
        QCOMPARE(db->responder.texts(), QStringList{QStringLiteral("更改口令成功！")});
        QVERIFY(CheckPass(storedPassword("001"), "x1"));
    }
};

REGISTER_TEST(TestModPass)
#include "tst_modpass.moc"
