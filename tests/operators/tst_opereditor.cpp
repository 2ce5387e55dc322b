#include "operfixtures.h"

#include "core/deptrestriction.h"
#include "core/session.h"
#include "operators/checklistbox.h"
#include "operators/opermanager.h"
#include "operators/sessionload.h"
#include "operators/udlgselectdeptstr.h"
#include "operators/ufrmlimitgl.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <memory>

using namespace operfixtures;

namespace {

// The editor on one operator, shown, with its controls at hand.
struct OperatorEditor {
    OperatorEditor(const QString &code, bool editing) : d(TFrmLimitGl::Kind::Operator, code, editing) {
        d.show();
        code_ = child<QLineEdit>(&d, "edtCode");
        name = child<QLineEdit>(&d, "edtName");
        password = child<QLineEdit>(&d, "edtPassWord");
        role = child<QComboBox>(&d, "cbbPart");
        mem = child<QPlainTextEdit>(&d, "memMem");
        flag = child<QCheckBox>(&d, "chkFlag");
        dept = child<QLineEdit>(&d, "edtDept");
        pick = child<QToolButton>(&d, "btnDept");
        save = child<QPushButton>(&d, "btnSave");
    }
    QRadioButton *deptChoice(int i) { return d.findChild<QRadioButton *>(QStringLiteral("rbDept%1").arg(i)); }
    QCheckBox *right(const char *name) { return child<QCheckBox>(&d, name); }
    void chooseRole(const QString &roleName) { role->setCurrentIndex(role->findText(roleName)); }
    void retype(QLineEdit *e, const QString &text) {
        e->clear();
        typeText(e, text);
    }

    TFrmLimitGl d;
    QLineEdit *code_, *name, *password, *dept;
    QComboBox *role;
    QPlainTextEdit *mem;
    QCheckBox *flag;
    QToolButton *pick;
    QPushButton *save;
};

// Clicks a tick box or choice on its box (a click beside its text does nothing).
void clickBox(QAbstractButton *b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
}

QStringList visibleEmployees() {
    const SqlPart part = deptRestriction();
    return column(QStringLiteral("select F_code from t_employee where 1=1 ") + part.sql +
                      QStringLiteral("order by F_code"),
                  part.binds);
}

} // namespace

// The operator editor: new and edited operators, passwords, refusals and the department
// restriction as the operator meets it at the next login.
class TestOperatorEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;

    QStringList texts() const { return db->responder.texts(); }

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
        addRole("R1", "班组长", {"201"});
        addRole("R2", "已停用", {"301"}, true);
        addRole("R3", "仓管", {"302"});
    }
    void cleanup() { db.reset(); }

    void newOperatorSaved() {
        OperatorEditor e(QString(), false);
        QCOMPARE(e.d.windowTitle(), QStringLiteral("用户权限"));
        QCOMPARE(e.flag->text(), QStringLiteral("用户禁用"));
        auto *tabs = child<QTabWidget>(&e.d, "tabs");
        QVERIFY(tabs->isTabVisible(0) && !tabs->isTabVisible(1) && !tabs->isTabVisible(2));
        // a new operator starts with the five permissions, enabled, seeing every department
        for (const char *r : {"chkNew", "chkEdit", "chkDel", "chkCheck", "chkSet"})
            QVERIFY(e.right(r)->isChecked());
        QVERIFY(!e.flag->isChecked());
        QVERIFY(e.deptChoice(0)->isChecked());
        QVERIFY(!e.dept->isVisible());
        QCOMPARE(e.password->echoMode(), QLineEdit::Password);
        // switched-off roles are not offered
        QStringList offered;
        for (int i = 0; i < e.role->count(); ++i)
            offered << e.role->itemText(i);
        QCOMPARE(offered, (QStringList{"班组长", "仓管"}));
        QCOMPARE(e.role->currentIndex(), -1);

        typeText(e.code_, QStringLiteral(" 001 "));
        typeText(e.name, QStringLiteral("O'Brien 张"));
        typeText(e.password, QStringLiteral("p1"));
        e.chooseRole(QStringLiteral("仓管"));
        e.mem->setPlainText(QStringLiteral(" 夜班 "));
        clickBox(e.right("chkDel"));
        clickBox(e.flag);
        clickBox(e.deptChoice(1));
        QVERIFY(!e.dept->isVisible());
        QTest::mouseClick(e.save, Qt::LeftButton);
        QCOMPARE(texts(), QStringList());

        QCOMPARE(
            column("select F_Code || '/' || F_Name || '/' || F_PartCode || '/' || F_Mem || '/' || F_Flag || "
                   "F_new || F_edit || F_del || F_check || F_set || '/' || F_deptFlag || '/' || F_deptQX "
                   "from OperList where F_Code = '001'"),
            QStringList{"001/O'Brien 张/R3/夜班/111011/1/"});
        QVERIFY(CheckPass(storedPassword("001"), "p1"));
        QVERIFY(!CheckPass(storedPassword("001"), ""));
        // the disabled operator cannot log in
        QCOMPARE(checkLogin("001", "p1"), LoginVerdict::Disabled);
        // the form is emptied for the next operator
        QVERIFY(e.d.isVisible());
        QCOMPARE(e.code_->text(), QString());
        QCOMPARE(e.password->text(), QString());
        QVERIFY(e.right("chkDel")->isChecked());
        QVERIFY(!e.flag->isChecked());
        QCOMPARE(e.d.savedCode(), QStringLiteral("001"));

        // a new operator without a password has the empty one
        typeText(e.code_, QStringLiteral("002"));
        e.chooseRole(QStringLiteral("班组长"));
        QTest::mouseClick(e.save, Qt::LeftButton);
        QCOMPARE(storedPassword("002"), QString());
        QCOMPARE(checkLogin("002", ""), LoginVerdict::Ok);
    }

    void refusals_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("existing code") << "001"
                                       << "班组长"
                                       << "操作员编号重复!"
                                       << "edtCode";
        QTest::newRow("existing code with blanks") << " 001 "
                                                   << "班组长"
                                                   << "操作员编号重复!"
                                                   << "edtCode";
        QTest::newRow("existing code in other case") << "abc"
                                                     << "班组长"
                                                     << "操作员编号重复!"
                                                     << "edtCode";
        QTest::newRow("super user's code") << "000"
                                           << "班组长"
                                           << "操作员编号重复!"
                                           << "edtCode";
        QTest::newRow("blank code") << "   "
                                    << "班组长"
                                    << "操作员编号不能为空！"
                                    << "edtCode";
        QTest::newRow("no role") << "005"
                                 << ""
                                 << "角色类型不能为空，请选择角色！"
                                 << "cbbPart";
    }
    // A refused operator writes nothing and the editor stays on the faulty field.
    void refusals() {
        QFETCH(QString, code);
        QFETCH(QString, role);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        addOperator("001", "张三", "abc", "R1");
        addOperator("ABC", "李四", "", "R1");
        const QStringList before = tableRows("OperList");
        OperatorEditor e(QString(), false);
        QVERIFY(QTest::qWaitForWindowExposed(&e.d));
        typeText(e.code_, code);
        typeText(e.name, QStringLiteral("新人"));
        e.chooseRole(role);
        QTest::mouseClick(e.save, Qt::LeftButton);
        QCOMPARE(texts(), QStringList{message});
        QCOMPARE(db->responder.messages.first().kind, 0);
        QCOMPARE(tableRows("OperList"), before);
        QVERIFY(e.d.isVisible());
        QCOMPARE(e.name->text(), QStringLiteral("新人"));
        QVERIFY(e.d.focusWidget());
        QCOMPARE(e.d.focusWidget()->objectName(), focus);
    }

    // Editing keeps the operator's own code (no duplicate) and shows no password; an empty
    // password box keeps the stored hash, a typed one replaces it.
    void editKeepsCodeAndPassword_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("box left empty") << "";
        QTest::newRow("box left blank") << "   ";
        QTest::newRow("new password") << "xyz";
    }
    void editKeepsCodeAndPassword() {
        QFETCH(QString, typed);
        addOperator("001", "张三", "abc", "R1", 2, "'一车间'");
        const QString hash = storedPassword("001");
        OperatorEditor e(QStringLiteral("001"), true);
        QVERIFY(e.d.loaded());
        QCOMPARE(e.code_->text(), QStringLiteral("001"));
        QVERIFY(!e.code_->isEnabled());
        QCOMPARE(e.password->text(), QString());
        QCOMPARE(e.role->currentText(), QStringLiteral("班组长"));
        QVERIFY(e.deptChoice(2)->isChecked());
        QVERIFY(e.dept->isVisible());
        QCOMPARE(e.dept->text(), QStringLiteral("'一车间'"));

        e.retype(e.name, QStringLiteral("张三丰"));
        typeText(e.password, typed);
        e.chooseRole(QStringLiteral("仓管"));
        QTest::mouseClick(e.save, Qt::LeftButton);
        QCOMPARE(texts(), QStringList());
        QCOMPARE(e.d.result(), int(QDialog::Accepted));
        QCOMPARE(column("select F_Name || '/' || F_PartCode from OperList where F_Code = '001'"),
                 QStringList{"张三丰/R3"});
        if (typed.trimmed().isEmpty()) {
            QCOMPARE(storedPassword("001"), hash);
        } else {
            QVERIFY(CheckPass(storedPassword("001"), typed));
            QVERIFY(!CheckPass(storedPassword("001"), "abc"));
        }
    }

    // An operator whose role was switched off keeps it when edited.
    void switchedOffRoleKept() {
        addOperator("001", "张三", "abc", "R2");
        OperatorEditor e(QStringLiteral("001"), true);
        QCOMPARE(e.role->currentText(), QStringLiteral("已停用"));
        QVERIFY(e.d.save());
        QCOMPARE(TdmData::LookupStr("select F_PartCode from OperList where F_Code = '001'"),
                 QStringLiteral("R2"));
    }

    // Restricted to two departments through the picker, the operator sees only their rows after
    // the next login; a later change waits for the login after it.
    void restrictedOperatorSeesOwnDepartments() {
        for (const auto &[code, dept] : QList<QPair<QString, QString>>{
                 {"E01", "一车间"}, {"E02", "二车间"}, {"E03", "三车间"}, {"E04", "车间"}})
            addEmployee(code, dept);
        QVERIFY(TdmData::ExecSql("insert into t_code (F_type, F_Name) values ('dept', '车间')"));

        OperatorEditor e(QString(), false);
        typeText(e.code_, QStringLiteral("101"));
        typeText(e.name, QStringLiteral("王五"));
        e.chooseRole(QStringLiteral("班组长"));
        clickBox(e.deptChoice(2));
        QVERIFY(e.dept->isVisible());
        ModalWatch watch1([](QDialog *d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("部门选择 "));
            auto *list = child<CheckListBox>(d, "lstDept");
            QCOMPARE(list->checkedNames(), QStringList());
            QVERIFY(list->setChecked(QStringLiteral("二车间"), true));
            QVERIFY(list->setChecked(QStringLiteral("一车间"), true));
            QTest::mouseClick(static_cast<TDLGselectDeptSTR *>(d)->okButton(), Qt::LeftButton);
        });
        QTest::mouseClick(e.pick, Qt::LeftButton);
        QVERIFY(watch1.opened());
        QCOMPARE(e.dept->text(), QStringLiteral("'一车间','二车间'"));
        QTest::mouseClick(e.save, Qt::LeftButton);
        QCOMPARE(texts(), QStringList());
        QCOMPARE(TdmData::LookupStr("select F_deptFlag || F_deptQX from OperList where F_Code = '101'"),
                 QStringLiteral("2'一车间','二车间'"));

        QVERIFY(loadSession("101", "王五"));
        QCOMPARE(session().CurDeptFlag, 2);
        QCOMPARE(visibleEmployees(), (QStringList{"E01", "E02"}));

        // back to all departments: the running session keeps its restriction until the next login
        OperatorEditor again(QStringLiteral("101"), true);
        clickBox(again.deptChoice(0));
        QVERIFY(!again.dept->isVisible());
        QVERIFY(again.d.save());
        QCOMPARE(
            TdmData::LookupStr("select F_deptFlag || '/' || F_deptQX from OperList where F_Code = '101'"),
            QStringLiteral("0/"));
        QCOMPARE(visibleEmployees(), (QStringList{"E01", "E02"}));
        QVERIFY(loadSession("101", "王五"));
        QCOMPARE(visibleEmployees(), (QStringList{"E01", "E02", "E03", "E04"}));
    }

    // "000" is never edited: not through the editor's entry, not through a save.
    void superUserNotEditable() {
        const QStringList before = tableRows("OperList");
        ModalWatch watch2([](QDialog *) {});
        QCOMPARE(ShowOperatorEditor(QStringLiteral("000"), true), QString());
        QTest::qWait(50);
        QVERIFY(!watch2.opened());
        QCOMPARE(texts(), QStringList{QStringLiteral("此用户为系统专用用户，不能被编辑！")});
        QCOMPARE(db->responder.messages.first().kind, 2);

        OperatorData d;
        QVERIFY(loadOperator(QStringLiteral("000"), &d));
        d.name = QStringLiteral("改名");
        d.roleName = QStringLiteral("班组长");
        d.password = QStringLiteral("x");
        QCOMPARE(saveOperator(d), SaveResult::SuperUser);
        QCOMPARE(tableRows("OperList"), before);
    }

    // A database failure leaves the operator as it was.
    void failedSaveRollsBack() {
        addOperator("001", "张三", "abc", "R1");
        const QStringList before = tableRows("OperList");
        QVERIFY(TdmData::ExecSql("create trigger t_block before update on OperList "
                                 "begin select raise(abort, 'blocked'); end"));
        OperatorEditor e(QStringLiteral("001"), true);
        e.retype(e.name, QStringLiteral("改名"));
        typeText(e.password, QStringLiteral("new"));
        QTest::mouseClick(e.save, Qt::LeftButton);
        QCOMPARE(texts(), QStringList{QStringLiteral("保存失败，请检测数据库连接！")});
        QCOMPARE(db->responder.messages.first().kind, 3);
        QCOMPARE(tableRows("OperList"), before);
        QVERIFY(e.d.isVisible());
    }

    // A record that cannot be read is not opened.
    void missingRecordNotOpened() {
        ModalWatch watch3([](QDialog *) {});
        QCOMPARE(ShowRoleEditor(QStringLiteral("R9"), true), QString());
        QTest::qWait(50);
        QVERIFY(!watch3.opened());
        QCOMPARE(texts(), QStringList{QStringLiteral("请选择要修改的行！")});
        QCOMPARE(db->responder.messages.first().kind, 3);
    }
};

REGISTER_TEST(TestOperatorEditor)
#include "tst_opereditor.moc"
