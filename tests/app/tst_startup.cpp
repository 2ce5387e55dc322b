#include "app/startup.h"
#include "core/configini.h"
#include "core/database.h"
#include "support/scriptedresponder.h"
#include "support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A program folder with its own config.ini.
struct ProgramDir {
    QTemporaryDir dir;
    ProgramDir() { setConfigIniPath(dir.filePath("config.ini")); }
    ~ProgramDir() { Database::close(); }
    QString path() const { return dir.path(); }
    QString makeDatabase(const QString &folder) {
        QDir().mkpath(folder);
        const QString file = QDir(folder).filePath(Database::kFileName);
        [&] { QVERIFY(Database::open(file, true).ok()); }();
        Database::close();
        return file;
    }
};

class RecordingSplash : public SplashSink {
public:
    QStringList texts;
    int hidden = 0, shown = 0;
    void setText(const QString &t) override { texts << t; }
    void showSplash() override { ++shown; }
    void hideSplash() override { ++hidden; }
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void defaultFolderConnectsWithoutDialog() {
        ProgramDir p;
        p.makeDatabase(p.path() + "/data");
        ScriptedResponder r;
        RecordingSplash splash;
        QVERIFY(connectDatabase(p.path(), &splash));
        QVERIFY(Database::isOpen());
        QVERIFY(r.messages.isEmpty());
        QVERIFY(r.dialogTitles.isEmpty());
        QCOMPARE(splash.texts, (QStringList{"正在连接数据库 .....", "连接成功，正在登录 ..."}));
    }

    void emptyFolderOffersNewDatabase() {
        ProgramDir p;
        ScriptedResponder r;
        r.answers.enqueue(1);
        QVERIFY(connectDatabase(p.path(), nullptr));
        QCOMPARE(r.texts(), QStringList{"数据库文件不存在，是否创建新的数据库？"});
        QVERIFY(QFile::exists(p.path() + "/data/DodEdazod.mdb"));
    }

    void declinedNewDatabaseThenCancelEnds() {
        ProgramDir p;
        ScriptedResponder r;
        r.answers.enqueue(2);
        QVERIFY(!connectDatabase(p.path(), nullptr));
        QCOMPARE(r.dialogTitles, QStringList{"连接网络数据库"});
        QVERIFY(!Database::isOpen());
        QVERIFY(!QFile::exists(p.path() + "/data/DodEdazod.mdb"));
    }

    void folderWithoutSeparatorFailsThenPickedFolderIsStored() {
        ProgramDir p;
        const QString folder = p.path() + "/shared";
        p.makeDatabase(folder);
        configIni().writeString("config", "ds", folder); // no trailing separator
        ScriptedResponder r;
        r.fileNames.enqueue(folder + "/DodEdazod.mdb");
        RecordingSplash splash;
        QVERIFY(connectDatabase(p.path(), &splash));
        QVERIFY(r.messages.isEmpty()); // the dialog itself is the prompt
        QCOMPARE(r.dialogTitles, QStringList{"连接网络数据库"});
        QCOMPARE(configIni().readString("config", "ds"), folder + "/");
        QCOMPARE(splash.hidden, 1);
        QCOMPARE(splash.shown, 1);
    }

    void pickingDifferentlyNamedFileUsesItsFolder() {
        ProgramDir p;
        const QString folder = p.path() + "/net";
        p.makeDatabase(folder);
        QFile other(folder + "/anything.mdb");
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        configIni().writeString("config", "ds", p.path() + "/missing/");
        ScriptedResponder r;
        r.fileNames.enqueue(folder + "/anything.mdb");
        QVERIFY(connectDatabase(p.path(), nullptr));
        QCOMPARE(Database::filePath(), QFileInfo(folder + "/DodEdazod.mdb").absoluteFilePath());
        QCOMPARE(configIni().readString("config", "ds"), folder + "/");
    }

    void accessFileIsRefusedAndKept() {
        ProgramDir p;
        QDir().mkpath(p.path() + "/data");
        QByteArray jet(4096, '\0');
        jet.replace(4, 15, "Standard Jet DB");
        QFile f(p.path() + "/data/DodEdazod.mdb");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(jet);
        f.close();
        ScriptedResponder r;
        QVERIFY(!connectDatabase(p.path(), nullptr)); // the dialog is cancelled
        QCOMPARE(r.messages.size(), 1);
        QVERIFY(r.messages[0].text.contains("Access"));
        QCOMPARE(r.messages[0].kind, 3);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), jet);
    }
};

REGISTER_TEST(TestStartup)
#include "tst_startup.moc"
