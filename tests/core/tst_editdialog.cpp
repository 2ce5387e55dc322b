#include "core/database.h"
#include "listfixtures.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QTest>
#include <QToolButton>

namespace {

QStringList codeNames() {
    QStringList names;
    QSqlQuery q(QStringLiteral("select F_Name from t_code where F_type = 'tstkind' order by F_ID"),
                Database::db());
    while (q.next())
        names << q.value(0).toString();
    return names;
}

// Which of 首项 前项 后项 末项 are enabled, as "fpnl" letters (a dash when disabled).
QString navigatorState(const TEditDialog &d) {
    QString out;
    out += d.firstButton()->isEnabled() ? 'f' : '-';
    out += d.priorButton()->isEnabled() ? 'p' : '-';
    out += d.nextButton()->isEnabled() ? 'n' : '-';
    out += d.lastButton()->isEnabled() ? 'l' : '-';
    return out;
}

} // namespace

class TestEditDialog : public QObject {
    Q_OBJECT
private slots:
    void modeDecidesCaptionAndBar_data() {
        QTest::addColumn<bool>("add");
        QTest::addColumn<QString>("caption");
        QTest::newRow("add") << true << "代码 - 新增";
        QTest::newRow("edit") << false << "代码 - 修改";
    }
    void modeDecidesCaptionAndBar() {
        QFETCH(bool, add);
        QFETCH(QString, caption);
        TestDb db;
        QVERIFY(db.ok());
        const qint64 id = addCode("甲");
        CodeEditDialog d;
        if (add)
            d.setAddMode();
        else
            d.setEditMode({id}, 0);
        d.show();
        QCOMPARE(d.windowTitle(), caption);
        QCOMPARE(d.continuousBox()->isVisible(), add);
        QCOMPARE(d.firstButton()->isVisible(), !add);
        QCOMPARE(d.name->text(), add ? QString() : QStringLiteral("甲"));
        QCOMPARE(d.currentId(), add ? -1 : id);
    }

    void continuousAddKeepsDialogOpen() {
        TestDb db;
        QVERIFY(db.ok());
        CodeEditDialog d;
        d.setAddMode();
        d.show();
        QVERIFY(d.continuousBox()->isChecked());
        d.name->setText(QStringLiteral("一"));
        d.remark->setPlainText(QStringLiteral("x"));
        d.other->setFocus();
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QVERIFY(d.isVisible());
        QCOMPARE(d.name->text(), QString());
        QCOMPARE(d.remark->toPlainText(), QString());
        QCOMPARE(d.focusWidget(), d.name); // ready for the next record
        d.name->setText(QStringLiteral("二"));
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(codeNames(), (QStringList{"一", "二"}));
        QCOMPARE(d.saveCount(), 2);
        QCOMPARE(d.savedId(), TdmData::LookupStr("select F_ID from t_code where F_Name = '二'").toLongLong());
        // without 连续新增 the next save closes the dialog
        d.continuousBox()->setChecked(false);
        d.name->setText(QStringLiteral("三"));
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(codeNames(), (QStringList{"一", "二", "三"}));
        QVERIFY(db.responder.messages.isEmpty());
    }

    void navigatorWalksTheCallersRows() {
        TestDb db;
        QVERIFY(db.ok());
        const qint64 a = addCode("a");
        addCode("not listed");
        const qint64 b = addCode("b");
        const qint64 c = addCode("c");
        CodeEditDialog d;
        d.setEditMode({c, a, b}, 1);
        d.show();
        QCOMPARE(d.name->text(), QStringLiteral("a"));
        QCOMPARE(navigatorState(d), QStringLiteral("fpnl"));
        QTest::mouseClick(d.firstButton(), Qt::LeftButton);
        QCOMPARE(d.name->text(), QStringLiteral("c"));
        QCOMPARE(navigatorState(d), QStringLiteral("--nl"));
        QTest::mouseClick(d.lastButton(), Qt::LeftButton);
        QCOMPARE(d.name->text(), QStringLiteral("b"));
        QCOMPARE(navigatorState(d), QStringLiteral("fp--"));
        QTest::mouseClick(d.priorButton(), Qt::LeftButton);
        QCOMPARE(d.currentId(), a);
        QCOMPARE(d.loaded, (QList<qint64>{a, c, b, a}));
        // saving edits the record shown and closes
        d.name->setText(QStringLiteral("a2"));
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.savedId(), a);
        QCOMPARE(codeNames(), (QStringList{"a2", "not listed", "b", "c"}));
    }

    void singleRowNavigatorIsDisabled() {
        TestDb db;
        QVERIFY(db.ok());
        CodeEditDialog d;
        d.setEditMode({addCode("a")}, 0);
        QCOMPARE(navigatorState(d), QStringLiteral("----"));
    }

    void failedSaveRollsBack_data() {
        QTest::addColumn<bool>("add");
        QTest::addColumn<int>("failure");
        QTest::addColumn<QStringList>("messages");
        const QStringList saveFailed{QStringLiteral("保存失败，请检测数据库连接！")};
        QTest::newRow("add, missing table") << true << int(CodeEditDialog::MissingTable) << saveFailed;
        QTest::newRow("add, trigger") << true << int(CodeEditDialog::Trigger) << saveFailed;
        QTest::newRow("edit, missing table") << false << int(CodeEditDialog::MissingTable) << saveFailed;
        QTest::newRow("edit, trigger") << false << int(CodeEditDialog::Trigger) << saveFailed;
        QTest::newRow("own message") << true << int(CodeEditDialog::OwnMessage)
                                     << QStringList{QStringLiteral("编号重复！")};
    }
    void failedSaveRollsBack() {
        QFETCH(bool, add);
        QFETCH(int, failure);
        QFETCH(QStringList, messages);
        TestDb db;
        QVERIFY(db.ok());
        QVERIFY(TdmData::ExecSql(
            "create trigger t_code_guard before insert on t_code when new.F_type = 'guarded' "
            "begin select raise(abort, 'guarded'); end"));
        const qint64 id = addCode("old");
        CodeEditDialog d;
        d.failure = static_cast<CodeEditDialog::Failure>(failure);
        if (add)
            d.setAddMode();
        else
            d.setEditMode({id}, 0);
        d.show();
        d.name->setText(QStringLiteral("new"));
        d.name->setFocus();
        QTest::keyClick(d.name, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(db.responder.texts(), messages);
        if (messages.first() == QStringLiteral("保存失败，请检测数据库连接！"))
            QCOMPARE(db.responder.messages.first().kind, 3);
        QCOMPARE(codeNames(), QStringList{"old"});
        QCOMPARE(TdmData::LookupInt("select count(*) from t_code where F_type = 'guarded'"), 0);
        QVERIFY(d.isVisible());
        QCOMPARE(d.name->text(), QStringLiteral("new"));
        QCOMPARE(d.savedId(), -1);
        // the connection is usable again: the next save goes through
        d.failure = CodeEditDialog::NoFailure;
        QTest::keyClick(d.name, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(codeNames(), add ? (QStringList{"old", "new"}) : QStringList{"new"});
    }

    void validateKeepsDialogOpen() {
        TestDb db;
        QVERIFY(db.ok());
        CodeEditDialog d;
        d.setAddMode();
        d.show();
        d.other->setFocus();
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(db.responder.texts(), QStringList{QStringLiteral("名称不能为空！")});
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget(), d.name);
        QCOMPARE(codeCount(), 0);
    }

    void keys() {
        TestDb db;
        QVERIFY(db.ok());
        CodeEditDialog d;
        d.setAddMode();
        d.show();
        d.name->setFocus();
        QTest::keyClicks(d.name, QStringLiteral("ab"));
        // Enter moves to the next control; in the multi-line box it makes a new line
        QTest::keyClick(d.name, Qt::Key_Return);
        QCOMPARE(d.focusWidget(), d.remark);
        QTest::keyClicks(d.remark, QStringLiteral("x"));
        QTest::keyClick(d.remark, Qt::Key_Return);
        QTest::keyClicks(d.remark, QStringLiteral("y"));
        QCOMPARE(d.remark->toPlainText(), QStringLiteral("x\ny"));
        QCOMPARE(d.focusWidget(), d.remark);
        d.other->setFocus();
        QTest::keyClick(d.other, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(d.focusWidget(), d.okButton());
        // Esc cancels without saving
        QTest::keyClick(d.focusWidget(), Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(codeCount(), 0);
        QCOMPARE(d.savedId(), -1);
    }
};

REGISTER_TEST(TestEditDialog)
#include "tst_editdialog.moc"
