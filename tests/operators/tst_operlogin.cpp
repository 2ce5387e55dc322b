#include "core/configini.h"
#include "core/database.h"
#include "core/datadm.h"
#include "core/deptrestriction.h"
#include "core/keltrin.h"
#include "core/session.h"
#include "operators/actions.h"
#include "operators/login.h"
#include "operators/sessionload.h"
#include "operators/ufrmoperlogin.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

void addOperator(const QString &code, const QString &name, const QString &password, const QString &part = {},
                 int disabled = 0, int deptFlag = 0, const QString &deptQX = {}) {
    QVERIFY(TdmData::ExecSql(
        QStringLiteral("insert into OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_Flag, "
                       "F_deptFlag, F_deptQX) values (?, ?, ?, ?, ?, ?, ?)"),
        {code, name, SavePass(password), part, disabled, deptFlag, deptQX}));
}

// A session that no login would produce, to see whether a login replaced or kept it.
Session previousSession() {
    Session s;
    s.CurOperCode = QStringLiteral("prev");
    s.CurOperName = QStringLiteral("前任");
    s.CurPartCode = QStringLiteral("R9");
    s.CurDeptFlag = 2;
    s.CurDeptScope = QStringLiteral("'五车间'");
    s.CompanyName = QStringLiteral("旧公司");
    s.CompanyPhone = QStringLiteral("1");
    s.CompanyFax = QStringLiteral("2");
    s.iAmount = 5;
    s.iPrice = 6;
    s.iTotal = 7;
    s.FmtAmount = QStringLiteral("a");
    s.FmtPrice = QStringLiteral("p");
    s.FmtTotal = QStringLiteral("t");
    return s;
}

QStringList fields(const Session &s) {
    return {s.CurOperCode,
            s.CurOperName,
            s.CurPartCode,
            QString::number(s.CurDeptFlag),
            s.CurDeptScope,
            s.CompanyName,
            s.CompanyPhone,
            s.CompanyFax,
            QString::number(s.iAmount),
            QString::number(s.iPrice),
            QString::number(s.iTotal),
            s.FmtAmount,
            s.FmtPrice,
            s.FmtTotal};
}

class FakeHost : public LoginHost {
public:
    QList<QSet<QString>> applied;
    QStringList shown;
    void applyActions(const QSet<QString> &visibleActions) override { applied << visibleActions; }
    void showOperator(const QString &operName) override { shown << operName; }
};

struct LoginWindow {
    explicit LoginWindow(int mode) : dlg(mode) {
        dlg.show();
        code = dlg.findChild<QLineEdit *>(QStringLiteral("edtOperCode"));
        name = dlg.findChild<QLineEdit *>(QStringLiteral("edtOperName"));
        pass = dlg.findChild<QLineEdit *>(QStringLiteral("edtPassWord"));
        ok = dlg.findChild<QPushButton *>(QStringLiteral("btnOk"));
        cancel = dlg.findChild<QPushButton *>(QStringLiteral("btnCancel"));
    }
    // Types code and password into the fields (replacing their text) and clicks 确定.
    void attempt(const QString &c, const QString &p) {
        code->clear();
        QTest::keyClicks(code, c);
        pass->clear();
        QTest::keyClicks(pass, p);
        QTest::mouseClick(ok, Qt::LeftButton);
    }
    TfrmOperLogin dlg;
    QLineEdit *code = nullptr, *name = nullptr, *pass = nullptr;
    QPushButton *ok = nullptr, *cancel = nullptr;
};

} // namespace

class TestOperLogin : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    QStringList texts() const { return db->responder.texts(); }
    QList<int> kinds() const {
        QList<int> out;
        for (const auto &m : db->responder.messages)
            out << m.kind;
        return out;
    }

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
    }
    void cleanup() { db.reset(); }

    void superUserLogsInOnFreshDatabase() {
        session() = previousSession();
        LoginWindow w(0);
        QCOMPARE(w.dlg.windowTitle(), QStringLiteral("登录窗口"));
        QCOMPARE(w.code->text(), QString());
        QCOMPARE(w.pass->echoMode(), QLineEdit::Password);
        QVERIFY(w.name->isReadOnly());
        w.attempt(QStringLiteral("000"), QString());
        QCOMPARE(texts(), QStringList());
        QCOMPARE(w.dlg.result(), int(QDialog::Accepted));
        QVERIFY(!w.dlg.isVisible());

        const Session &s = session();
        QCOMPARE(s.CurOperCode, QStringLiteral("000"));
        QCOMPARE(s.CurOperName, QStringLiteral("系统管理员"));
        QCOMPARE(s.CurPartCode, QString());
        QCOMPARE(s.CurDeptFlag, 0);
        QCOMPARE(s.CurDeptScope, QString());
        QCOMPARE(s.CompanyName, QStringLiteral("我的公司"));
        QCOMPARE(s.iAmount, 2);
        QCOMPARE(s.FmtAmount, QStringLiteral("0.##"));
        QCOMPARE(s.FmtPrice, QStringLiteral(",0.00"));
        QCOMPARE(configIni().readString("Config", "CurOperCode"), QStringLiteral("000"));
        QCOMPARE(permittedActions(s.CurOperCode, s.CurPartCode).size(), 51);
    }

    void lastOperatorIsOfferedWithName() {
        addOperator("001", "张三", "abc");
        QVERIFY(configIni().writeString("config", "curopercode", "001"));
        LoginWindow w(0);
        QCOMPARE(w.code->text(), QStringLiteral("001"));
        QCOMPARE(w.name->text(), QStringLiteral("张三"));
    }

    // Every lookup uses the trimmed code: the same operator, its own password.
    void codeWithSpacesIsTheSameOperator() {
        addOperator("001", "张三", "abc");
        addOperator(" 001", "冒名", "");
        LoginWindow w(1);
        // untrimmed, this would be the other row with its empty password
        w.attempt(QStringLiteral(" 001"), QString());
        QCOMPARE(texts(), QStringList{QStringLiteral("用户名或密码不正确，请重新输入！")});
        QCOMPARE(w.name->text(), QStringLiteral("张三"));
        QVERIFY(w.dlg.isVisible());
        w.attempt(QStringLiteral("  001  "), QStringLiteral("abc"));
        QCOMPARE(w.dlg.result(), int(QDialog::Accepted));
        QCOMPARE(session().CurOperCode, QStringLiteral("001"));
        QCOMPARE(session().CurOperName, QStringLiteral("张三"));
        QCOMPARE(configIni().readString("Config", "CurOperCode"), QStringLiteral("001"));
    }

    void nameFollowsCodeWhenLeavingField() {
        addOperator("001", "张三", "abc");
        LoginWindow w(0);
        w.dlg.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.dlg));
        w.code->setFocus();
        QTest::keyClicks(w.code, " 001");
        QCOMPARE(w.name->text(), QString());
        QTest::keyClick(w.code, Qt::Key_Tab);
        QCOMPARE(w.name->text(), QStringLiteral("张三"));
    }

    // A code changed without leaving the field is checked against its own operator, not the
    // name still shown.
    void codeIsLookedUpAgainOnOk() {
        addOperator("001", "张三", "abc");
        addOperator("002", "李四", "xyz");
        QVERIFY(configIni().writeString("Config", "CurOperCode", "001"));
        LoginWindow w(1);
        QCOMPARE(w.name->text(), QStringLiteral("张三"));
        w.code->setText(QStringLiteral("002"));
        w.pass->setText(QStringLiteral("abc"));
        w.ok->click();
        QCOMPARE(texts(), QStringList{QStringLiteral("用户名或密码不正确，请重新输入！")});
        QCOMPARE(w.name->text(), QStringLiteral("李四"));
        w.code->setText(QStringLiteral("002"));
        w.pass->setText(QStringLiteral("xyz"));
        w.ok->click();
        QCOMPARE(w.dlg.result(), int(QDialog::Accepted));
        QCOMPARE(session().CurOperName, QStringLiteral("李四"));
    }

    // Neither an empty code nor an unknown one counts as a failed attempt.
    void emptyAndUnknownCodesAreNotCounted() {
        LoginWindow w(0);
        for (int i = 0; i < 4; ++i)
            w.attempt(QStringLiteral("   "), QString());
        for (int i = 0; i < 4; ++i)
            w.attempt(QStringLiteral("999"), QString());
        QStringList expect;
        for (int i = 0; i < 4; ++i)
            expect << QStringLiteral("请选择用户！");
        for (int i = 0; i < 4; ++i)
            expect << QStringLiteral("此操作员并不存在，请重新选择操作员！");
        QCOMPARE(texts(), expect);
        QCOMPARE(kinds(), QList<int>(8, 0));
        QVERIFY(w.dlg.isVisible());
        QCOMPARE(w.name->text(), QString());
    }

    void fourFailures_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("expectTexts");
        QTest::addColumn<QList<int>>("expectKinds");
        const QString wrong = QStringLiteral("用户名或密码不正确，请重新输入！");
        const QString off = QStringLiteral("此操作员已被禁用！");
        const QString illegal = QStringLiteral("非法操作员!");
        const QString change = QStringLiteral("更换操作员失败!");
        QTest::newRow("wrong password at start-up")
            << 0 << "001"
            << "bad" << QStringList{wrong, wrong, wrong, illegal} << QList<int>{0, 0, 0, 3};
        QTest::newRow("wrong password on change")
            << 1 << "001"
            << "bad" << QStringList{wrong, wrong, wrong, change} << QList<int>{0, 0, 0, 3};
        QTest::newRow("super user wrong password")
            << 1 << "000"
            << "x" << QStringList{wrong, wrong, wrong, change} << QList<int>{0, 0, 0, 3};
        QTest::newRow("disabled at start-up")
            << 0 << "003"
            << "pw" << QStringList{off, off, off, off, illegal} << QList<int>{2, 2, 2, 2, 3};
        QTest::newRow("disabled on change")
            << 1 << "003"
            << "pw" << QStringList{off, off, off, off, change} << QList<int>{2, 2, 2, 2, 3};
    }
    void fourFailures() {
        QFETCH(int, mode);
        QFETCH(QString, code);
        QFETCH(QString, password);
        QFETCH(QStringList, expectTexts);
        QFETCH(QList<int>, expectKinds);
        addOperator("001", "张三", "abc");
        addOperator("003", "王五", "pw", "R1", 1);
        QVERIFY(configIni().writeString("Config", "CurOperCode", "prev"));
        session() = previousSession();

        LoginWindow w(mode);
        for (int i = 0; i < 3; ++i) {
            w.attempt(code, password);
            QVERIFY(w.dlg.isVisible());
        }
        w.attempt(code, password);
        QCOMPARE(texts(), expectTexts);
        QCOMPARE(kinds(), expectKinds);
        QVERIFY(!w.dlg.isVisible());
        QCOMPARE(w.dlg.result(), int(QDialog::Rejected));
        QCOMPARE(fields(session()), fields(previousSession()));
        QCOMPARE(configIni().readString("Config", "CurOperCode"), QStringLiteral("prev"));
    }

    // Failures of both kinds share one counter.
    void disabledAndWrongShareTheCounter() {
        addOperator("001", "张三", "abc");
        addOperator("003", "王五", "pw", QString(), 1);
        LoginWindow w(1);
        w.attempt("003", "pw");
        w.attempt("001", "bad");
        w.attempt("003", "pw");
        QVERIFY(w.dlg.isVisible());
        w.attempt("001", "bad");
        QCOMPARE(texts(), (QStringList{"此操作员已被禁用！", "用户名或密码不正确，请重新输入！",
                                       "此操作员已被禁用！", "更换操作员失败!"}));
        QCOMPARE(w.dlg.result(), int(QDialog::Rejected));
    }

    // A disabled operator with a wrong password is told only that the password is wrong.
    void disabledOperatorWithWrongPassword() {
        addOperator("003", "王五", "pw", QString(), 1);
        LoginWindow w(0);
        w.attempt("003", "nope");
        QCOMPARE(texts(), QStringList{"用户名或密码不正确，请重新输入！"});
    }

    void cancelKeepsSession_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("start-up") << 0;
        QTest::newRow("change") << 1;
    }
    void cancelKeepsSession() {
        QFETCH(int, mode);
        session() = previousSession();
        LoginWindow w(mode);
        QTest::keyClicks(w.code, "000");
        QTest::mouseClick(w.cancel, Qt::LeftButton);
        QCOMPARE(w.dlg.result(), int(QDialog::Rejected));
        QVERIFY(!w.dlg.isVisible());
        QCOMPARE(texts(), QStringList());
        QCOMPARE(fields(session()), fields(previousSession()));
    }

    void escapeAndCloseDoNothing() {
        LoginWindow w(0);
        QTest::keyClick(&w.dlg, Qt::Key_Escape);
        QVERIFY(w.dlg.isVisible());
        QTest::keyClick(w.code, Qt::Key_Escape);
        QVERIFY(w.dlg.isVisible());
        QVERIFY(!w.dlg.close());
        QVERIFY(w.dlg.isVisible());
        QVERIFY(w.dlg.windowFlags().testFlag(Qt::CustomizeWindowHint));
        QVERIFY(!w.dlg.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    }

    // Enter walks code → password → 确定, and Enter on 确定 logs in.
    void enterMovesThroughTheFields() {
        addOperator("001", "张三", "abc");
        LoginWindow w(0);
        w.dlg.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.dlg));
        QCOMPARE(QApplication::focusWidget(), w.code);
        QTest::keyClicks(w.code, "001");
        QTest::keyClick(w.code, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.pass);
        QCOMPARE(w.name->text(), QStringLiteral("张三"));
        QTest::keyClicks(w.pass, "abc");
        QTest::keyClick(w.pass, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), w.ok);
        QVERIFY(w.dlg.isVisible());
        QTest::keyClick(w.ok, Qt::Key_Return);
        QCOMPARE(w.dlg.result(), int(QDialog::Accepted));
        QCOMPARE(session().CurOperCode, QStringLiteral("001"));
    }

    void roleGivesExactlyItsRights() {
        addOperator("001", "张三", "", "R1");
        addOperator("002", "李四", "", "R2");
        for (const auto &[part, code] : {std::pair{"R1", "201"}, {"R1", "305"}, {"R1", "507"}, {"R3", "101"}})
            QVERIFY(TdmData::ExecSql("insert into PartLimit (F_PartCode, F_LmtCode) values (?, ?)",
                                     {part, code}));

        LoginWindow w(1);
        w.attempt("001", "");
        QCOMPARE(w.dlg.result(), int(QDialog::Accepted));
        QCOMPARE(session().CurPartCode, QStringLiteral("R1"));
        FakeHost host;
        SetLimits(&host);
        QCOMPARE(host.applied, (QList<QSet<QString>>{{"201", "305", "507"}}));
        QCOMPARE(host.shown, QStringList{"张三"});
        QCOMPARE(visibleMenus(host.applied.first()), (QSet<QString>{"人事管理", "工资管理", "数据维护"}));

        QVERIFY(loadSession("002", "李四"));
        FakeHost none;
        SetLimits(&none);
        QCOMPARE(none.applied, QList<QSet<QString>>{QSet<QString>()});
        QVERIFY(visibleMenus(none.applied.first()).isEmpty());
        QCOMPARE(texts(), QStringList());
    }

    void rightsQueryFailureIsReported() {
        QVERIFY(TdmData::ExecSql("drop table PartLimit"));
        QVERIFY(permittedActions("001", "R1").isEmpty());
        QCOMPARE(texts(), QStringList{"操作失败，请检查数据连接... "});
        QCOMPARE(kinds(), QList<int>{3});
    }

    void departmentOfOperator_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("deptQX");
        QTest::addColumn<QString>("scope");
        QTest::addColumn<QStringList>("visible");
        QTest::newRow("all departments") << "E01" << 0 << ""
                                         << "" << QStringList{"E01", "E02", "E03"};
        QTest::newRow("own department") << "E01" << 1 << "'二车间'"
                                        << "一车间" << QStringList{"E01", "E03"};
        QTest::newRow("own department, other case") << "e02" << 1 << ""
                                                    << "二车间" << QStringList{"E02"};
        QTest::newRow("own department, not an employee") << "X09" << 1 << ""
                                                         << "" << QStringList{};
        QTest::newRow("listed departments") << "X09" << 2 << "'二车间'"
                                            << "'二车间'" << QStringList{"E02"};
        QTest::newRow("super user") << "000" << 0 << ""
                                    << "" << QStringList{"E01", "E02", "E03"};
    }
    void departmentOfOperator() {
        QFETCH(QString, code);
        QFETCH(int, flag);
        QFETCH(QString, deptQX);
        QFETCH(QString, scope);
        QFETCH(QStringList, visible);
        for (const auto &[c, d] : {std::pair{"E01", "一车间"}, {"E02", "二车间"}, {"E03", "一车间"}})
            QVERIFY(TdmData::ExecSql("insert into t_employee (F_code, F_name, F_dept) values (?, ?, ?)",
                                     {c, c, d}));
        if (code != "000")
            addOperator(code, "某人", "", "R1", 0, flag, deptQX);
        session() = previousSession();
        QVERIFY(loadSession(code, "某人"));
        QCOMPARE(session().CurDeptFlag, flag);
        QCOMPARE(session().CurDeptScope, scope);

        const SqlPart part = deptRestriction();
        QSqlQuery q(Database::db());
        QVERIFY(q.prepare("select F_code from t_employee where 1=1 " + part.sql + "order by F_code"));
        for (const QVariant &v : part.binds)
            q.addBindValue(v);
        QVERIFY(q.exec());
        QStringList got;
        while (q.next())
            got << q.value(0).toString();
        QCOMPARE(got, visible);
    }

    void companyAndDecimalPlaces_data() {
        QTest::addColumn<QStringList>("written"); // iAmount, iPrice, iTotal in config.ini ("" = missing)
        QTest::addColumn<QList<int>>("places");
        QTest::addColumn<QStringList>("formats"); // empty: not checked
        QTest::newRow("missing keys")
            << QStringList{"", "", ""} << QList<int>{2, 2, 2} << QStringList{"0.##", ",0.00", ",0.00"};
        QTest::newRow("3 and 4") << QStringList{"3", "4", "3"} << QList<int>{3, 4, 3}
                                 << QStringList{"0.###", ",0.00##", ",0.00#"};
        QTest::newRow("range ends") << QStringList{"0", "10", "1"} << QList<int>{0, 10, 1} << QStringList{};
        QTest::newRow("out of range and junk")
            << QStringList{"11", "-1", "abc"} << QList<int>{2, 2, 2} << QStringList{"0.##", ",0.00", ",0.00"};
    }
    void companyAndDecimalPlaces() {
        QFETCH(QStringList, written);
        QFETCH(QList<int>, places);
        QFETCH(QStringList, formats);
        const QStringList keys{"iAmount", "iPrice", "iTotal"};
        for (int i = 0; i < 3; ++i)
            if (!written[i].isEmpty())
                QVERIFY(configIni().writeString("SYS", keys[i], written[i]));
        QVERIFY(TdmData::ExecSql("update SysInfo set F_Code = ?, F_Phone = ?, F_HandPhone = ?",
                                 {"澜禾's 公司", "0571-1", "0571-2"}));
        session() = previousSession();
        QVERIFY(loadSession("000", "系统管理员"));
        const Session &s = session();
        QCOMPARE((QList<int>{s.iAmount, s.iPrice, s.iTotal}), places);
        if (!formats.isEmpty())
            QCOMPARE((QStringList{s.FmtAmount, s.FmtPrice, s.FmtTotal}), formats);
        QCOMPARE(s.CompanyName, QStringLiteral("澜禾's 公司"));
        QCOMPARE(s.CompanyPhone, QStringLiteral("0571-1"));
        QCOMPARE(s.CompanyFax, QStringLiteral("0571-2"));
    }

    // A load that cannot read everything changes nothing: not the session, not config.ini.
    void failedLoadKeepsEverything() {
        addOperator("001", "张三", "");
        QVERIFY(configIni().writeString("Config", "CurOperCode", "prev"));
        QVERIFY(TdmData::ExecSql("drop table SysInfo"));
        session() = previousSession();
        LoginWindow w(1);
        w.attempt("001", "");
        QCOMPARE(texts(), QStringList{"操作失败，请检查数据连接... "});
        QVERIFY(w.dlg.isVisible());
        QCOMPARE(fields(session()), fields(previousSession()));
        QCOMPARE(configIni().readString("Config", "CurOperCode"), QStringLiteral("prev"));
    }

    void runLoginAppliesRights() {
        FakeHost host;
        QTimer::singleShot(0, [] {
            auto *dlg = qobject_cast<TfrmOperLogin *>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            QTest::keyClicks(dlg->findChild<QLineEdit *>("edtOperCode"), "000");
            dlg->findChild<QPushButton *>("btnOk")->click();
        });
        QVERIFY(RunLogin(1, &host));
        QCOMPARE(host.applied.size(), 1);
        QCOMPARE(host.applied.first().size(), 51);
        QCOMPARE(host.shown, QStringList{"系统管理员"});
    }

    void runLoginCancelled() {
        FakeHost host;
        session() = previousSession();
        QTimer::singleShot(0, [] {
            auto *dlg = qobject_cast<TfrmOperLogin *>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            dlg->findChild<QPushButton *>("btnCancel")->click();
        });
        QVERIFY(!RunLogin(0, &host));
        QVERIFY(host.applied.isEmpty());
        QVERIFY(host.shown.isEmpty());
        QCOMPARE(fields(session()), fields(previousSession()));
    }
};

REGISTER_TEST(TestOperLogin)
#include "tst_operlogin.moc"
