#include "app/appinfo.h"
#include "app/auxcommands.h"
#include "support/scriptedresponder.h"
#include "support/testregistry.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// Receives the addresses QDesktopServices would hand to the browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

// The commands of the 辅助功能 menu that start other programs or open files.
class TestAuxCommands : public QObject {
    Q_OBJECT

    static void makeProgram(const QString &path, bool executable) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nexit 0\n");
        f.close();
        QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            p |= QFile::ExeOwner;
        QVERIFY(f.setPermissions(p));
    }

private slots:
    void findProgramTakesTheFirstExecutableOfTheList() {
        QTemporaryDir dir;
        makeProgram(dir.filePath("gnome-calculator"), false); // not executable: skipped
        makeProgram(dir.filePath("galculator"), true);
        makeProgram(dir.filePath("xcalc"), true);
        QCOMPARE(FindProgram(CalculatorPrograms(), {dir.path()}), dir.filePath("galculator"));
        QCOMPARE(FindProgram(EditorPrograms(), {dir.path()}), QString());
        QVERIFY(CalculatorPrograms().contains("kcalc"));
        QVERIFY(EditorPrograms().contains("gedit"));
    }

    void missingUpgradeProgramKeepsRunningWithAMessage() {
        ScriptedResponder responder;
        QTemporaryDir dir;
        QVERIFY(!StartUpgrade(dir.path()));
        QCOMPARE(responder.messages.size(), 1);
        QVERIFY(responder.messages.first().text.contains("UpGrade"));
        QCOMPARE(responder.messages.first().kind, 2);
        makeProgram(dir.filePath("UpGrade"), false); // present but not a program
        responder.clear();
        QVERIFY(!StartUpgrade(dir.path()));
        QCOMPARE(responder.messages.size(), 1);
    }

    void helpOpensTheLocalFileOrSaysItIsMissing() {
        ScriptedResponder responder;
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        QTemporaryDir dir;
        QVERIFY(!OpenHelp(dir.path()));
        QCOMPARE(responder.messages.size(), 1);
        QVERIFY(responder.messages.first().text.contains("help.html"));
        QVERIFY(catcher.urls.isEmpty());

        QFile f(dir.filePath("help.html"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        responder.clear();
        QVERIFY(OpenHelp(dir.path()));
        QDesktopServices::unsetUrlHandler("file");
        QVERIFY(responder.messages.isEmpty());
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(dir.filePath("help.html"))});
    }

    void webSiteGoesToTheBrowser() {
        ScriptedResponder responder;
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("https", &catcher, "open");
        QVERIFY(OpenWebSite());
        QDesktopServices::unsetUrlHandler("https");
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(AppWebSite)});
    }
};

REGISTER_TEST(TestAuxCommands)
#include "tst_auxcommands.moc"
