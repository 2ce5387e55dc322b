#include "core/configini.h"
#include "core/database.h"
#include "core/datadm.h"
#include "personnel/datetickedit.h"
#include "personnel/empcode.h"
#include "personnel/empstore.h"
#include "personnel/ufrmempedit.h"
#include "personnel/ufrmimagedisp.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

qint64 addEmployee(const QString &code, const QString &name, const QString &dept = QStringLiteral("一车间")) {
    QSqlQuery q(Database::db());
    q.prepare(QStringLiteral("insert into t_employee(F_code,F_name,F_dept) values(?,?,?)"));
    q.addBindValue(code);
    q.addBindValue(name);
    q.addBindValue(dept);
    if (!q.exec())
        return -1;
    return q.lastInsertId().toLongLong();
}

QString str(const QString &sql, const QVariantList &binds = {}) {
    return TdmData::LookupStr(sql, binds);
}
int count(const QString &sql, const QVariantList &binds = {}) {
    return TdmData::LookupInt(sql, binds);
}

// A small picture with four coloured quarters, written in format.
QString writeImage(const QString &dir, const QString &name, const char *format) {
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(0, 0, 20, 15, Qt::red);
    p.fillRect(20, 0, 20, 15, Qt::blue);
    p.fillRect(0, 15, 20, 15, Qt::green);
    p.end();
    const QString path = QDir(dir).filePath(name);
    if (qstrcmp(format, "GIF") == 0) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || !writeGif(img, &f))
            return QString();
    } else if (!img.save(path, format)) {
        return QString();
    }
    return path;
}

QByteArray formatOf(const QByteArray &bytes) {
    QBuffer b;
    b.setData(bytes);
    b.open(QIODevice::ReadOnly);
    return QImageReader::imageFormat(&b);
}

void fillRequired(TfrmEmpEdit &d, const QString &code, const QString &name) {
    d.edtcode->setText(code);
    d.edtname->setText(name);
}

} // namespace

class TestEmpEdit : public QObject {
    Q_OBJECT
private slots:
    void nextCode_data() {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("next");
        QTest::newRow("none") << ""
                              << "001";
        QTest::newRow("one char") << "7"
                                  << "001";
        QTest::newRow("two chars") << "AB"
                                   << "001";
        QTest::newRow("prefix") << "A012"
                                << "A013";
        QTest::newRow("carry") << "099"
                               << "100";
        QTest::newRow("wrap") << "999"
                              << "000";
        QTest::newRow("wrap keeps prefix") << "XY999"
                                           << "XY000";
        QTest::newRow("digits in prefix") << "E0099"
                                          << "E0100";
        QTest::newRow("short wrap") << "E999"
                                    << "E000";
        QTest::newRow("letters at end") << "BOSS"
                                        << "";
        QTest::newRow("one letter in tail") << "A1B2"
                                            << "";
        QTest::newRow("full-width digit") << QStringLiteral("A0１2") << "";
    }
    void nextCode() {
        QFETCH(QString, last);
        QFETCH(QString, next);
        QCOMPARE(empcode::nextCode(last), next);
    }

    void generateSkipsCodesInUse() {
        TestDb db;
        QVERIFY(db.ok());
        QCOMPARE(empcode::generate(), QStringLiteral("001"));
        addEmployee("A001", "甲");
        addEmployee("A003", "乙");
        addEmployee("A002", "丙"); // the latest added, but A003 is taken
        QCOMPARE(empcode::generate(), QStringLiteral("A004"));
    }

    void tickingAutoRefusesUncountableLatestCode() {
        TestDb db;
        QVERIFY(db.ok());
        addEmployee("BOSS", "老板");
        TfrmEmpEdit d;
        d.setAddMode();
        d.show();
        d.cbZDEmpCode->setChecked(true);
        QCOMPARE(db.responder.texts(), QStringList{empcode::notCountableMessage("BOSS")});
        QVERIFY(!d.cbZDEmpCode->isChecked());
        QCOMPARE(d.edtcode->text(), QString());
    }

    void addStoresEveryField() {
        TestDb db;
        QVERIFY(db.ok());
        TfrmEmpEdit d;
        d.setAddMode();
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("员工档案资料 - 新增"));
        QTest::keyClicks(d.edtcode, " E001 ");
        QTest::keyClicks(d.edtname, "ONeil");
        d.edtname->setText(QStringLiteral("O'Neil\\x")); // quotes and backslashes are stored as typed
        d.cbbDept->setEditText(QStringLiteral("一车间"));
        d.cbbduty->setEditText(QStringLiteral("组长"));
        d.rbFemale->setChecked(true);
        d.rbMarried->setChecked(true);
        d.rbInsured->setChecked(true);
        d.dtpBirthday->setDate(QDate(1990, 5, 6));
        d.dtpbiYe->setTicked(false);
        d.dtpEndDate->setDate(QDate(2030, 1, 31));
        d.ceGongZi->setText("1,234.56789");
        d.Memo1->setPlainText("  简历\n第二行  ");
        d.cbUseFlag->setChecked(true);
        d.cbbLZtype->setEditText(QStringLiteral("辞职"));
        d.cbUseFlag->setChecked(false); // leaving fields are stored whatever the box says
        d.continuousBox()->setChecked(false);
        QTest::keyClick(&d, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(db.responder.texts(), QStringList());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QSqlQuery q(Database::db());
        QVERIFY(q.exec("select F_code,F_name,F_dept,F_duty,F_sex,F_IFhun,F_CBflag,F_birthDay,F_biyeDate,"
                       "F_endDate,F_gongZI,F_mem1,F_useFlag,F_LZtype,F_QDdate from t_employee"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("E001"));
        QCOMPARE(q.value(1).toString(), QStringLiteral("O'Neil\\x"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("一车间"));
        QCOMPARE(q.value(3).toString(), QStringLiteral("组长"));
        QCOMPARE(q.value(4).toString(), QStringLiteral("女"));
        QCOMPARE(q.value(5).toString(), QStringLiteral("是"));
        QCOMPARE(q.value(6).toString(), QStringLiteral("是"));
        QCOMPARE(q.value(7).toString(), QStringLiteral("1990-05-06"));
        QCOMPARE(q.value(8).toString(), QStringLiteral("1900-08-14"));
        QCOMPARE(q.value(9).toString(), QStringLiteral("2030-01-31"));
        QCOMPARE(q.value(10).toDouble(), 1234.5679);
        QCOMPARE(q.value(11).toString(), QStringLiteral("  简历\n第二行  "));
        QCOMPARE(q.value(12).toInt(), 0);
        QCOMPARE(q.value(13).toString(), QStringLiteral("辞职"));
        QCOMPARE(q.value(14).toString(), QStringLiteral("1900-08-14"));
        QVERIFY(!q.next());
        QVERIFY(d.savedId() > 0);
        QCOMPARE(configIni().readString("SYS", "bzdcode"), QStringLiteral("false"));
    }

    void saveChecks_data() {
        QTest::addColumn<bool>("add");
        QTest::addColumn<bool>("autoCode");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("wage");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("savedCode"); // empty: nothing written

        QTest::newRow("empty code") << true << false << "  "
                                    << "王五"
                                    << ""
                                    << "当前员工编号不能为空！"
                                    << "edtcode"
                                    << "";
        QTest::newRow("auto needs digits") << true << true << "ABC"
                                           << "王五"
                                           << ""
                                           << "采用自动编号，员工编号最后三位必须全为数字！"
                                           << "edtcode"
                                           << "";
        QTest::newRow("duplicate code") << true << false << "e001"
                                        << "王五"
                                        << ""
                                        << "员工编号重复，请重新输入！"
                                        << "edtcode"
                                        << "";
        QTest::newRow("duplicate code with auto takes next") << true << true << "E001"
                                                             << "王五"
                                                             << ""
                                                             << ""
                                                             << ""
                                                             << "E003";
        QTest::newRow("empty name") << true << false << "E009"
                                    << " "
                                    << ""
                                    << "员工姓名不能为空！"
                                    << "edtname"
                                    << "";
        QTest::newRow("duplicate name") << true << false << "E009"
                                        << "张三"
                                        << ""
                                        << "员工姓名重复，请重新输入！"
                                        << "edtname"
                                        << "";
        QTest::newRow("bad wage") << true << false << "E009"
                                  << "王五"
                                  << "12a"
                                  << "基本工资必须是数字，请重新输入！"
                                  << "ceGongZi"
                                  << "";
        QTest::newRow("edit keeps own code and name") << false << false << "E001"
                                                      << "张三"
                                                      << ""
                                                      << ""
                                                      << ""
                                                      << "E001";
        QTest::newRow("edit to another's code") << false << false << "E002"
                                                << "张三"
                                                << ""
                                                << "员工编号重复，请重新输入！"
                                                << "edtcode"
                                                << "";
        QTest::newRow("edit to another's name") << false << false << "E001"
                                                << "李四"
                                                << ""
                                                << "员工姓名重复，请重新输入！"
                                                << "edtname"
                                                << "";
    }
    void saveChecks() {
        QFETCH(bool, add);
        QFETCH(bool, autoCode);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, wage);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(QString, savedCode);
        TestDb db;
        QVERIFY(db.ok());
        const qint64 first = addEmployee("E001", "张三");
        addEmployee("E002", "李四");
        TfrmEmpEdit d;
        if (add)
            d.setAddMode();
        else
            d.setEditMode({first}, 0);
        d.show();
        QApplication::setActiveWindow(&d);
        d.cbZDEmpCode->setChecked(autoCode);
        fillRequired(d, code, name);
        d.ceGongZi->setText(wage);
        d.continuousBox()->setChecked(false);
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        if (message.isEmpty()) {
            QCOMPARE(db.responder.texts(), QStringList());
            QVERIFY(!d.isVisible());
        } else {
            QCOMPARE(db.responder.texts(), QStringList{message});
            QCOMPARE(db.responder.messages.first().kind, 0);
            QVERIFY(d.isVisible());
            QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
                     focus);
        }
        const int rows = count("select count(*) from t_employee");
        if (savedCode.isEmpty() || !add)
            QCOMPARE(rows, 2);
        else
            QCOMPARE(rows, 3);
        if (!savedCode.isEmpty())
            QCOMPARE(str("select F_code from t_employee where F_name = ?", {name.trimmed()}), savedCode);
        if (!add)
            QCOMPARE(str("select F_name from t_employee where F_ID = ?", {first}), QStringLiteral("张三"));
    }

    void propagation_data() {
        QTest::addColumn<bool>("newCode");
        QTest::addColumn<bool>("newName");
        QTest::addColumn<bool>("newDept");
        QTest::newRow("code") << true << false << false;
        QTest::newRow("name") << false << true << false;
        QTest::newRow("dept") << false << false << true;
        QTest::newRow("code and name") << true << true << false;
        QTest::newRow("all three") << true << true << true;
    }
    void propagation() {
        QFETCH(bool, newCode);
        QFETCH(bool, newName);
        QFETCH(bool, newDept);
        TestDb db;
        QVERIFY(db.ok());
        const qint64 id = addEmployee("E001", "张三", "一车间");
        const qint64 other = addEmployee("E002", "李四", "一车间");
        // every table that keeps copies, for the edited employee and for another one
        struct Copy {
            const char *table, *code, *name, *dept; // dept null: the table keeps no department copy
            bool byEmpId;                           // rows found by F_empID (else by code)
            bool follows;                           // the editor carries changes into it
        };
        const Copy copies[] = {
            {"T_PXrec", "F_EmpCode", "F_EmpName", "F_EmpDept", true, true},
            {"T_DDrec", "F_code", "F_name", nullptr, true, true},
            {"t_KHrec", "F_code", "F_name", "F_dept", true, true},
            {"T_HTrec", "F_code", "F_name", "F_dept", true, true},
            {"T_TXrec", "F_code", "F_name", "F_dept", true, true},
            {"T_QCrec", "F_code", "F_name", "F_dept", true, true},
            {"wg_ShengChanRec", "F_EmpCode", "F_EmpName", "F_Dept", false, true},
            {"wg_ShengChanJSrec", "F_EmpCode", "F_empName", "F_Dept", false, true},
            {"wg_salaryREC", "F_Code", "F_Name", "F_Dept", false, true},
            {"t_ZJZrec", "F_code", "F_name", nullptr, true, false},
            {"t_JSZrec", "F_code", "F_name", nullptr, true, false},
        };
        for (const Copy &c : copies) {
            for (const auto &[empId, code, name] : {std::tuple{id, QString("E001"), QString("张三")},
                                                    std::tuple{other, QString("E002"), QString("李四")}}) {
                QString sql = QStringLiteral("insert into %1(%2,%3%4) values(?,?%5)")
                                  .arg(QLatin1String(c.table), QLatin1String(c.code), QLatin1String(c.name),
                                       c.byEmpId ? QStringLiteral(",F_empID") : QString(),
                                       c.byEmpId ? QStringLiteral(",?") : QString());
                QVariantList binds{code, name};
                if (c.byEmpId)
                    binds << empId;
                QVERIFY2(TdmData::ExecSqlQuiet(sql, binds), c.table);
                if (c.dept)
                    QVERIFY(TdmData::ExecSqlQuiet(QStringLiteral("update %1 set %2 = ?").arg(c.table, c.dept),
                                                  {QStringLiteral("一车间")}));
            }
        }
        QVERIFY(TdmData::ExecSqlQuiet("insert into t_gongzuoJL(F_empID,F_name,F_dept) values(?,?,?)",
                                      {id, QStringLiteral("旧公司"), QStringLiteral("一车间")}));
        QVERIFY(TdmData::ExecSqlQuiet("insert into T_DDrec(F_empID,F_code,F_name,F_OLDdept,F_NewDept) "
                                      "values(?,'E001','张三','一车间','一车间')",
                                      {id}));

        TfrmEmpEdit d;
        d.setEditMode({id, other}, 0);
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("员工档案资料 - 修改"));
        QVERIFY(!d.cbZDEmpCode->isEnabled());
        const QString code = newCode ? QStringLiteral("E100") : QStringLiteral("E001");
        const QString name = newName ? QStringLiteral("张三丰") : QStringLiteral("张三");
        const QString dept = newDept ? QStringLiteral("二车间") : QStringLiteral("一车间");
        d.edtcode->setText(code);
        d.edtname->setText(name);
        d.cbbDept->setEditText(dept);
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(db.responder.texts(), QStringList());
        QCOMPARE(str("select F_code || '/' || F_name || '/' || F_dept from t_employee where F_ID = ?", {id}),
                 code + "/" + name + "/" + dept);

        for (const Copy &c : copies) {
            const QString table = QLatin1String(c.table);
            const QString deptSql = c.dept ? QLatin1String(c.dept) : QStringLiteral("''");
            const QString sql =
                QStringLiteral(
                    "select %1 || '/' || %2 || '/' || %3 from %4 where %1 <> 'E002' and %2 <> '李四'")
                    .arg(QLatin1String(c.code), QLatin1String(c.name), deptSql, table);
            QSqlQuery q(Database::db());
            QVERIFY(q.exec(sql));
            int rows = 0;
            while (q.next()) {
                ++rows;
                const QString expected = c.follows ? code + "/" + name + "/" + (c.dept ? dept : QString())
                                                   : QStringLiteral("E001/张三/");
                QCOMPARE(q.value(0).toString() + " in " + table, expected + " in " + table);
            }
            QVERIFY2(rows >= 1, c.table);
            // the other employee's copies are untouched
            QCOMPARE(count(QStringLiteral("select count(*) from %1 where %2 = 'E002' and %3 = '李四'")
                               .arg(table, QLatin1String(c.code), QLatin1String(c.name))),
                     1);
        }
        QCOMPARE(str("select F_name || '/' || F_dept from t_gongzuoJL"), QStringLiteral("旧公司/一车间"));
        QCOMPARE(str("select F_OLDdept || '/' || F_NewDept from T_DDrec where F_OLDdept <> ''"),
                 QStringLiteral("一车间/一车间"));
    }

    void failedPropagationRollsBackEverything() {
        TestDb db;
        QVERIFY(db.ok());
        const qint64 id = addEmployee("E001", "张三");
        QVERIFY(TdmData::ExecSqlQuiet(
            "insert into T_PXrec(F_empID,F_EmpCode,F_EmpName) values(?,'E001','张三')", {id}));
        QVERIFY(TdmData::ExecSqlQuiet(
            "insert into wg_salaryREC(F_Month,F_Code,F_Name) values('202601','E001','张三')"));
        QVERIFY(TdmData::ExecSqlQuiet("create temp trigger stop_salary before update on wg_salaryREC "
                                      "begin select raise(abort, 'locked'); end"));
        TfrmEmpEdit d;
        d.setEditMode({id}, 0);
        d.show();
        d.edtcode->setText("E100");
        d.edtname->setText(QStringLiteral("张三丰"));
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(db.responder.texts(), QStringList{QStringLiteral("保存失败，请检测数据库连接！")});
        QCOMPARE(db.responder.messages.first().kind, 3);
        QVERIFY(d.isVisible());
        QCOMPARE(str("select F_code || F_name from t_employee"), QStringLiteral("E001张三"));
        QCOMPARE(str("select F_EmpCode || F_EmpName from T_PXrec"), QStringLiteral("E001张三"));
        QCOMPARE(str("select F_Code || F_Name from wg_salaryREC"), QStringLiteral("E001张三"));
        // once the obstacle is gone the same form saves
        QVERIFY(TdmData::ExecSqlQuiet("drop trigger stop_salary"));
        db.responder.clear();
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(db.responder.texts(), QStringList());
        QCOMPARE(str("select F_Code || F_Name from wg_salaryREC"), QStringLiteral("E100张三丰"));
    }

    void photoStoredAndReloaded_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("writeFormat");
        QTest::addColumn<QString>("storedName");
        QTest::addColumn<QByteArray>("storedFormat");
        QTest::newRow("bmp") << "face.bmp" << QByteArray("BMP") << "face.bmp" << QByteArray("bmp");
        QTest::newRow("jpeg") << "face.jpeg" << QByteArray("JPG") << "face.jpeg" << QByteArray("jpeg");
        QTest::newRow("gif") << "face.gif" << QByteArray("GIF") << "face.jpg" << QByteArray("jpeg");
        QTest::newRow("png") << "face.png" << QByteArray("PNG") << "face.jpg" << QByteArray("jpeg");
        QTest::newRow("png named jpg") << "odd.jpg" << QByteArray("PNG") << "odd.jpg" << QByteArray("jpeg");
    }
    void photoStoredAndReloaded() {
        QFETCH(QString, file);
        QFETCH(QByteArray, writeFormat);
        QFETCH(QString, storedName);
        QFETCH(QByteArray, storedFormat);
        TestDb db;
        QVERIFY(db.ok());
        const QString path = writeImage(db.dir(), file, writeFormat.constData());
        QVERIFY(!path.isEmpty());
        qint64 id = 0;
        {
            TfrmEmpEdit d;
            d.setAddMode();
            d.show();
            fillRequired(d, "E001", QStringLiteral("张三"));
            QVERIFY(d.loadPhotoFile(path));
            QCOMPARE(d.photoPath(), path);
            QVERIFY(!d.Image1->pixmap().isNull());
            d.continuousBox()->setChecked(false);
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
            QCOMPARE(db.responder.texts(), QStringList());
            id = d.savedId();
        }
        QVERIFY(id > 0);
        QSqlQuery q(Database::db());
        QVERIFY(
            q.exec(QStringLiteral("select F_imagePath, F_EmpImage from t_employee where F_ID = %1").arg(id)));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), storedName);
        QCOMPARE(formatOf(q.value(1).toByteArray()), storedFormat);

        TfrmEmpEdit e;
        e.setEditMode({id}, 0);
        QCOMPARE(e.photoPath(), storedName);
        QCOMPARE(e.photo().image.size(), QSize(40, 30));
        const QRgb topLeft = e.photo().image.pixel(5, 5);
        QVERIFY(qRed(topLeft) > 200 && qGreen(topLeft) < 60 && qBlue(topLeft) < 60);
        // saving again without touching the photo keeps the stored bytes as they are
        const QByteArray before = q.value(1).toByteArray();
        QTest::mouseClick(e.okButton(), Qt::LeftButton);
        QVERIFY(q.exec(QStringLiteral("select F_EmpImage from t_employee where F_ID = %1").arg(id)) &&
                q.next());
        QCOMPARE(q.value(0).toByteArray(), before);
        // 清空显示 removes it
        TfrmEmpEdit f;
        f.setEditMode({id}, 0);
        QTest::mouseClick(f.BitBtn2, Qt::LeftButton);
        QTest::mouseClick(f.okButton(), Qt::LeftButton);
        QCOMPARE(str("select F_imagePath || '/' || length(coalesce(F_EmpImage, '')) from t_employee"),
                 QStringLiteral("/0"));
    }

    void unreadablePhotoRefused() {
        TestDb db;
        QVERIFY(db.ok());
        const QString good = writeImage(db.dir(), "good.bmp", "BMP");
        const QString bad = QDir(db.dir()).filePath("broken.jpg");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is no picture");
        f.close();
        TfrmEmpEdit d;
        d.setAddMode();
        QVERIFY(d.loadPhotoFile(good));
        for (const QString &path : {bad, QDir(db.dir()).filePath("missing.png")}) {
            db.responder.clear();
            QVERIFY(!d.loadPhotoFile(path));
            QCOMPARE(db.responder.messages.size(), 1);
            QVERIFY(db.responder.messages.first().text.contains(path));
            QCOMPARE(d.photoPath(), good);
            QCOMPARE(d.photo().fileName, QStringLiteral("good.bmp"));
        }
        QCOMPARE(count("select count(*) from t_employee"), 0);
    }

    void photoChosenInPictureWindow() {
        TestDb db;
        QVERIFY(db.ok());
        const QString path = writeImage(db.dir(), "chosen.png", "PNG");
        TfrmEmpEdit d;
        d.setAddMode();
        d.show();
        db.responder.fileNames.enqueue(path);
        bool sawWindow = false;
        QTimer::singleShot(0, [&] {
            auto *w = qobject_cast<TfrmImageDisp *>(QApplication::activeModalWidget());
            sawWindow = w != nullptr;
            if (!w)
                return;
            w->command(QStringLiteral("载入"))->trigger();
            w->command(QStringLiteral("保存"))->trigger();
        });
        QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
        QVERIFY(sawWindow);
        QCOMPARE(d.photoPath(), path);
        QCOMPARE(d.photo().fileName, QStringLiteral("chosen.jpg"));
        // 清空 then 保存 in the picture window removes the photo
        QTimer::singleShot(0, [&] {
            if (auto *w = qobject_cast<TfrmImageDisp *>(QApplication::activeModalWidget())) {
                QCOMPARE(w->picture().size(), QSize(40, 30));
                w->command(QStringLiteral("清空"))->trigger();
                w->command(QStringLiteral("保存"))->trigger();
            }
        });
        QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
        QVERIFY(d.photo().isNull());
        QCOMPARE(d.photoPath(), QString());
    }

    void emptyDates_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("empty date") << "1900-08-14" << false;
        QTest::newRow("day before the first real date") << "1901-08-13" << false;
        QTest::newRow("first real date") << "1901-08-14" << true;
        QTest::newRow("ordinary") << "1985-02-28" << true;
        QTest::newRow("unreadable") << "garbage" << false;
    }
    void emptyDates() {
        QFETCH(QString, stored);
        QFETCH(bool, ticked);
        TestDb db;
        QVERIFY(db.ok());
        const qint64 id = addEmployee("E001", "张三");
        QVERIFY(
            TdmData::ExecSqlQuiet("update t_employee set F_birthDay = ?, F_endDate = ?", {stored, stored}));
        TfrmEmpEdit d;
        d.setEditMode({id}, 0);
        QCOMPARE(d.dtpBirthday->isTicked(), ticked);
        QCOMPARE(d.dtpEndDate->isTicked(), ticked);
        if (!ticked)
            QCOMPARE(d.dtpBirthday->shownDate(), QDate::currentDate());
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(str("select F_birthDay from t_employee"), ticked ? stored : QStringLiteral("1900-08-14"));
    }

    void freshAndEmptiedForms() {
        TestDb db;
        QVERIFY(db.ok());
        TfrmEmpEdit d;
        d.setAddMode();
        d.show();
        for (TDateTickEdit *t : {d.dtpBirthday, d.dtpbiYe, d.dtpBegin})
            QVERIFY(t->isTicked());
        for (TDateTickEdit *t : {d.dtpQDdate, d.dtpEndDate, d.dtpLZdate})
            QVERIFY(!t->isTicked());
        QVERIFY(d.rbMale->isChecked() && d.rbSingle->isChecked() && d.rbUninsured->isChecked());
        QVERIFY(d.continuousBox()->isChecked());
        // continuous add with 自动: the form empties, the next code is proposed, the name box waits
        d.cbZDEmpCode->setChecked(true);
        QCOMPARE(d.edtcode->text(), QStringLiteral("001"));
        d.edtname->setText(QStringLiteral("甲"));
        d.rbFemale->setChecked(true);
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QVERIFY(d.isVisible());
        QCOMPARE(d.edtcode->text(), QStringLiteral("002"));
        QCOMPARE(d.edtname->text(), QString());
        QVERIFY(d.rbMale->isChecked());
        QVERIFY(!d.dtpBirthday->isTicked());
        QCOMPARE(d.focusWidget(), d.edtname);
        d.edtname->setText(QStringLiteral("乙"));
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(count("select count(*) from t_employee where F_code in ('001','002')"), 2);
        QCOMPARE(str("select F_sex from t_employee where F_code = '001'"), QStringLiteral("女"));
        QCOMPARE(configIni().readString("sys", "bZDcode"), QStringLiteral("true"));
    }

    void autoCodeFlagReadFromConfig_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("true") << "bZDcode=true" << true;
        QTest::newRow("other case") << "BZDCODE=1" << true;
        QTest::newRow("false") << "bZDcode=false" << false;
    }
    void autoCodeFlagReadFromConfig() {
        QFETCH(QString, line);
        QFETCH(bool, ticked);
        TestDb db;
        QVERIFY(db.ok());
        addEmployee("A041", "甲");
        QFile f(configIni().fileName());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(("[SYS]\n" + line + "\n").toUtf8());
        f.close();
        TfrmEmpEdit d;
        d.setAddMode();
        QCOMPARE(d.cbZDEmpCode->isChecked(), ticked);
        QCOMPARE(d.edtcode->text(), ticked ? QStringLiteral("A042") : QString());
        QCOMPARE(d.edtcode->focusPolicy() == Qt::StrongFocus, !ticked);
    }

    void leavingFieldsFollowTheBox() {
        TestDb db;
        QVERIFY(db.ok());
        const qint64 id = addEmployee("E001", "张三");
        QVERIFY(TdmData::ExecSqlQuiet(
            "update t_employee set F_useFlag = 1, F_LZtype = '退休', F_LZdate = '2020-03-04'"));
        TfrmEmpEdit d;
        d.setEditMode({id}, 0);
        d.show();
        QVERIFY(d.cbUseFlag->isChecked());
        QVERIFY(d.cbbLZtype->isVisible() && d.dtpLZdate->isVisible() && d.edtLZmem->isVisible());
        QCOMPARE(d.cbbLZtype->currentText(), QStringLiteral("退休"));
        QCOMPARE(d.dtpLZdate->date(), QDate(2020, 3, 4));
        QTest::mouseClick(d.cbUseFlag, Qt::LeftButton);
        QVERIFY(!d.cbbLZtype->isVisible() && !d.dtpLZdate->isVisible() && !d.edtLZmem->isVisible());
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(str("select F_useFlag || F_LZtype || F_LZdate from t_employee"),
                 QStringLiteral("0退休2020-03-04"));
    }

    void navigatorWalksTheCallersRows() {
        TestDb db;
        QVERIFY(db.ok());
        const qint64 a = addEmployee("E001", "甲");
        const qint64 b = addEmployee("E002", "乙");
        const qint64 c = addEmployee("E003", "丙");
        QVERIFY(TdmData::ExecSqlQuiet("update t_employee set F_gongZI = 12345.6789 where F_ID = ?", {a}));
        TfrmEmpEdit d;
        d.setEditMode({a, b, c}, 1);
        d.show();
        QVERIFY(!d.continuousBox()->isVisible());
        QCOMPARE(d.edtname->text(), QStringLiteral("乙"));
        QTest::mouseClick(d.nextButton(), Qt::LeftButton);
        QCOMPARE(d.edtname->text(), QStringLiteral("丙"));
        QVERIFY(!d.nextButton()->isEnabled());
        QTest::mouseClick(d.firstButton(), Qt::LeftButton);
        QCOMPARE(d.edtcode->text(), QStringLiteral("E001"));
        // the change is judged against the employee now shown
        d.edtname->setText(QStringLiteral("甲二"));
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(d.savedId(), a);
        QCOMPARE(str("select F_name from t_employee where F_ID = ?", {a}), QStringLiteral("甲二"));
        // the wage shown with separators reads back as the stored number
        QCOMPARE(TdmData::LookupFloat("select F_gongZI from t_employee where F_ID = ?", {a}), 12345.6789);
        QCOMPARE(str("select F_name from t_employee where F_ID = ?", {c}), QStringLiteral("丙"));
    }

    void quickAddClosesAfterOneSave() {
        TestDb db;
        QVERIFY(db.ok());
        TfrmEmpEdit d;
        d.setQuickAdd();
        d.show();
        QVERIFY(!d.continuousBox()->isVisible());
        QVERIFY(!d.firstButton()->isVisible());
        QVERIFY(!d.dtpBirthday->isTicked());
        fillRequired(d, "Q001", QStringLiteral("快"));
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(str("select F_ID from t_employee where F_code = 'Q001'").toLongLong(), d.savedId());
    }
};

REGISTER_TEST(TestEmpEdit)
#include "tst_empedit.moc"
