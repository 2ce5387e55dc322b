#include "codes/codescommands.h"
#include "codes/ufrmuserinfo.h"
#include "core/configini.h"
#include "core/datadm.h"
#include "core/session.h"
#include "support/testdb.h"
#include "support/testregistry.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>

// Catches the addresses the window asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

namespace {

// Types text into w key by key (also characters beyond ASCII).
void typeText(QWidget *w, const QString &text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The company row as "column=value" texts, in column order.
QStringList companyRow() {
    QStringList out;
    QSqlQuery q;
    TdmData::OpenSql(
        "select F_Code, F_Name, F_Manager, F_Phone, F_HandPhone, F_Homepage, F_Email, F_Enroler, "
        "F_Mem from SysInfo",
        q);
    while (q.next())
        for (int i = 0; i < 9; ++i)
            out << q.value(i).toString();
    return out;
}

QString configText() {
    QFile f(configIni().fileName());
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

void type(QLineEdit *e, const QString &text) {
    e->clear();
    typeText(e, text);
}

} // namespace

// The company information window: the company row, the decimal places in config.ini and the
// session, the web site and mail double-clicks.
class TestUserInfo : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDb> db;
    UrlCatcher catcher;

    std::unique_ptr<TFrmUserInfo> openWindow() {
        auto w = std::make_unique<TFrmUserInfo>();
        w->show();
        return w;
    }

private slots:
    void init() {
        db = std::make_unique<TestDb>();
        QVERIFY(db->ok());
        session().iAmount = 3;
        session().iPrice = 4;
        session().iTotal = 5;
        catcher.urls.clear();
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    }
    void cleanup() {
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(scheme);
        db.reset();
    }

    void showsTheStoredRowAndSessionPlaces() {
        QVERIFY(TdmData::ExecSql("update SysInfo set F_Code = ?, F_Mem = ?", {"澜禾公司", "第一行\n第二行"}));
        auto w = openWindow();
        QCOMPARE(w->windowTitle(), QString("公司信息"));
        QCOMPARE(w->pcInfo->count(), 3);
        QCOMPARE(w->pcInfo->tabText(2), QString(" 小数位数 "));
        QCOMPARE(w->edtCode->text(), QString("澜禾公司"));
        QCOMPARE(w->memMem->toPlainText(), QString("第一行\n第二行"));
        QCOMPARE(QStringList({w->edtAmount->text(), w->edtPrice->text(), w->edtTotal->text()}),
                 QStringList({"3", "4", "5"}));
        // 修改 discards what was typed
        type(w->edtCode, "别的公司");
        type(w->edtPrice, "9");
        QTest::mouseClick(w->btnEdit, Qt::LeftButton);
        QCOMPARE(w->edtCode->text(), QString("澜禾公司"));
        QCOMPARE(w->edtPrice->text(), QString("4"));
        QVERIFY(db->responder.messages.isEmpty());
    }

    // Any text is saved trimmed and as typed, apostrophes and backslashes included, and is read
    // back by the next opening and by the session.
    void textIsSavedAsTyped() {
        auto w = openWindow();
        const QList<QLineEdit *> fields{w->edtCode,      w->edtName,     w->edtManager, w->edtPhone,
                                        w->edtHandPhone, w->edtHomePage, w->edtEmail,   w->edtEnroler};
        const QStringList typed{" O'Brien's 公司 ", "D:\\路'1号", "张'三",   "0571-1234",
                                "139 0000",         "www.x.com",  "a@b.com", "李\"四"};
        for (int i = 0; i < fields.size(); ++i)
            type(fields[i], typed[i]);
        w->memMem->setPlainText("  it's 简介; drop table SysInfo; --  ");
        QTest::mouseClick(w->btnSave, Qt::LeftButton);
        QCOMPARE(db->responder.texts(), QStringList{"当前更改成功！"});
        QCOMPARE(db->responder.messages.first().kind, 0);
        QStringList expected;
        for (const QString &t : typed)
            expected << t.trimmed();
        expected << "it's 简介; drop table SysInfo; --";
        QCOMPARE(companyRow(), expected);
        QCOMPARE(session().CompanyName, QString("O'Brien's 公司"));
        QCOMPARE(session().CompanyPhone, QString("0571-1234"));
        QCOMPARE(session().CompanyFax, QString("139 0000"));

        auto again = openWindow();
        QCOMPARE(again->edtCode->text(), QString("O'Brien's 公司"));
        QCOMPARE(again->edtName->text(), QString("D:\\路'1号"));
        QCOMPARE(again->memMem->toPlainText(), QString("it's 简介; drop table SysInfo; --"));
    }

    void decimalPlacesGoToConfigAndSession_data() {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QList<int>>("places");
        QTest::newRow("plain") << QStringList({"4", "3", "0"}) << QList<int>({4, 3, 0});
        QTest::newRow("bounds and blanks") << QStringList({" 10 ", "0", "2"}) << QList<int>({10, 0, 2});
        QTest::newRow("fractions rounded") << QStringList({"2.4", "9.5", "0.2"}) << QList<int>({2, 10, 0});
    }
    void decimalPlacesGoToConfigAndSession() {
        QFETCH(QStringList, typed);
        QFETCH(QList<int>, places);
        auto w = openWindow();
        type(w->edtAmount, typed[0]);
        type(w->edtPrice, typed[1]);
        type(w->edtTotal, typed[2]);
        QVERIFY(w->SaveInfo());
        QCOMPARE(db->responder.texts(), QStringList{"当前更改成功！"});
        QCOMPARE(QList<int>({session().iAmount, session().iPrice, session().iTotal}), places);
        ConfigIni ini(configIni().fileName()); // what the next start reads
        QCOMPARE(QList<int>({ini.readInteger("sys", "iAmount", -1), ini.readInteger("sys", "iPrice", -1),
                             ini.readInteger("sys", "iTotal", -1)}),
                 places);
        QCOMPARE(w->edtPrice->text(), QString::number(places[1]));
    }

    // A bad number of places is refused with a message naming the field; nothing is written,
    // neither the company row nor config.ini nor the session.
    void badDecimalPlacesAreRefused_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("too many") << 0 << "11"
                                  << "数量的小数位数必须是 0 到 10 之间的整数！";
        QTest::newRow("rounds past 10") << 1 << "10.5"
                                        << "单价的小数位数必须是 0 到 10 之间的整数！";
        QTest::newRow("negative") << 2 << "-1"
                                  << "金额的小数位数必须是 0 到 10 之间的整数！";
        QTest::newRow("letters") << 1 << "abc"
                                 << "单价的小数位数必须是 0 到 10 之间的整数！";
        QTest::newRow("blank") << 0 << " "
                               << "数量的小数位数必须是 0 到 10 之间的整数！";
        QTest::newRow("trailing text") << 2 << "2x"
                                       << "金额的小数位数必须是 0 到 10 之间的整数！";
    }
    void badDecimalPlacesAreRefused() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        const QStringList before = companyRow();
        auto w = openWindow();
        type(w->edtCode, "新公司");
        QLineEdit *places[] = {w->edtAmount, w->edtPrice, w->edtTotal};
        type(places[field], typed);
        QTest::mouseClick(w->btnSave, Qt::LeftButton);
        QCOMPARE(db->responder.texts(), QStringList{message});
        QCOMPARE(companyRow(), before);
        QCOMPARE(configText(), QString());
        QCOMPARE(QList<int>({session().iAmount, session().iPrice, session().iTotal}), QList<int>({3, 4, 5}));
        QCOMPARE(w->pcInfo->currentIndex(), 2); // the page of the field is shown
    }

    void resetThenSaveEmptiesTheRow() {
        QVERIFY(TdmData::ExecSql("update SysInfo set F_Manager = ?, F_Mem = ?, F_BakPath = ?",
                                 {"王", "简介", "/bak"}));
        auto w = openWindow();
        QTest::mouseClick(w->btnReset, Qt::LeftButton);
        QCOMPARE(w->edtCode->text(), QString());
        QCOMPARE(w->edtTotal->text(), QString("2"));
        QTest::mouseClick(w->btnSave, Qt::LeftButton);
        QCOMPARE(companyRow(), QStringList(9, QString()));
        // the backup folder is not the window's
        QCOMPARE(TdmData::LookupStr("select F_BakPath from SysInfo"), QString("/bak"));
        QCOMPARE(QList<int>({session().iAmount, session().iPrice, session().iTotal}), QList<int>({2, 2, 2}));
        QCOMPARE(session().CompanyName, QString());
    }

    void databaseFailureChangesNothing() {
        QVERIFY(TdmData::ExecSql("create trigger t_block before update on SysInfo "
                                 "begin select raise(abort, 'blocked'); end"));
        const QStringList before = companyRow();
        auto w = openWindow();
        type(w->edtCode, "新公司");
        type(w->edtAmount, "6");
        QVERIFY(!w->SaveInfo());
        QCOMPARE(db->responder.texts(), QStringList{"保存失败，请检测数据库连接！"});
        QCOMPARE(db->responder.messages.first().kind, 3);
        QCOMPARE(companyRow(), before);
        QCOMPARE(configText(), QString());
        QCOMPARE(session().iAmount, 3);
    }

    // config.ini that cannot be written: the user is told which file, and the company row is
    // not saved either.
    void unwritableConfigChangesNothing() {
        const QString blocked = QDir(db->dir()).filePath("blocked");
        QVERIFY(QDir().mkpath(blocked + "/config.ini")); // a folder where the file should be
        setConfigIniPath(blocked + "/config.ini");
        const QStringList before = companyRow();
        auto w = openWindow();
        type(w->edtCode, "新公司");
        type(w->edtAmount, "6");
        QVERIFY(!w->SaveInfo());
        QCOMPARE(db->responder.messages.size(), 1);
        QCOMPARE(db->responder.messages.first().kind, 3);
        QVERIFY(db->responder.messages.first().text.contains(blocked + "/config.ini"));
        QVERIFY(db->responder.messages.first().text.contains("没有保存"));
        QCOMPARE(companyRow(), before);
        QCOMPARE(session().iAmount, 3);
        QCOMPARE(session().CompanyName, QString());
    }

    void homePageDoubleClickOpensTheSite_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("opened");
        QTest::newRow("no scheme") << " www.lanhe.com "
                                   << "http://www.lanhe.com";
        QTest::newRow("http") << "http://www.lanhe.com/a"
                              << "http://www.lanhe.com/a";
        QTest::newRow("https") << "https://lanhe.com"
                               << "https://lanhe.com";
        QTest::newRow("old backslashes") << "http:\\\\www.lanhe.com"
                                         << "http://www.lanhe.com";
        QTest::newRow("empty") << "  "
                               << "";
    }
    void homePageDoubleClickOpensTheSite() {
        QFETCH(QString, typed);
        QFETCH(QString, opened);
        auto w = openWindow();
        w->edtHomePage->setText(typed);
        QTest::mouseDClick(w->edtHomePage, Qt::LeftButton);
        QCOMPARE(catcher.urls.size(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty())
            QCOMPARE(catcher.urls.first().toString(), opened);
        QVERIFY(db->responder.messages.isEmpty());
    }

    void mailDoubleClickChecksTheAddress_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("valid") << " hr@lanhe.com "
                               << "mailto:hr@lanhe.com?subject" << QStringList();
        QTest::newRow("no at") << "hr.lanhe.com"
                               << "" << QStringList{"电子邮箱地址“hr.lanhe.com”不正确，无法发送邮件！"};
        QTest::newRow("chinese") << "人事@lanhe.com"
                                 << "" << QStringList{"电子邮箱地址“人事@lanhe.com”不正确，无法发送邮件！"};
        QTest::newRow("empty") << ""
                               << "" << QStringList();
    }
    void mailDoubleClickChecksTheAddress() {
        QFETCH(QString, typed);
        QFETCH(QString, opened);
        QFETCH(QStringList, messages);
        auto w = openWindow();
        w->edtEmail->setText(typed);
        QTest::mouseDClick(w->edtEmail, Qt::LeftButton);
        QCOMPARE(db->responder.texts(), messages);
        QCOMPARE(catcher.urls.size(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty())
            QCOMPARE(catcher.urls.first().toString(), opened);
    }

    // Command 101 opens the window modally over the main window.
    void command101OpensTheWindow() {
        codes::Opener opener;
        codes::registerCommands([&opener](const QString &code, codes::Opener o) {
            if (code == "101")
                opener = o;
        });
        QVERIFY(opener);
        QWidget owner;
        owner.show();
        QWidget *ownedBy = nullptr;
        QTimer::singleShot(0, [&ownedBy] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *w = qobject_cast<TFrmUserInfo *>(modal))
                ownedBy = w->parentWidget();
            if (modal)
                modal->close();
        });
        opener(&owner);
        QCOMPARE(ownedBy, &owner);
    }

    void enterMovesToTheNextField() {
        auto w = openWindow();
        w->activateWindow();
        w->edtCode->setFocus();
        QTest::keyClick(w->edtCode, Qt::Key_Return);
        QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->edtName));
        QVERIFY(db->responder.messages.isEmpty());
    }
};

REGISTER_TEST(TestUserInfo)
#include "tst_userinfo.moc"
