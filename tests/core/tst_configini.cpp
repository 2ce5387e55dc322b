#include "core/configini.h"
#include "support/testregistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

class TestConfigIni : public QObject {
    Q_OBJECT
private slots:
    void defaultsWhenMissing() {
        QTemporaryDir dir;
        ConfigIni ini(dir.filePath("config.ini"));
        QCOMPARE(ini.readString("config", "ds"), QString());
        QCOMPARE(ini.readInteger("sys", "iAmount", 2), 2);
        QCOMPARE(ini.readBool("set", "awokeflag", false), false);
    }

    void sectionsAndKeysIgnoreCase() {
        QTemporaryDir dir;
        ConfigIni ini(dir.filePath("config.ini"));
        QVERIFY(ini.writeString("config", "ds", "/data/"));
        QVERIFY(ini.writeString("Config", "CurOperCode", "001"));
        QCOMPARE(ini.readString("CONFIG", "DS"), QString("/data/"));
        QCOMPARE(ini.readString("config", "curopercode"), QString("001"));
        // written once under one section, not twice
        QFile f(dir.filePath("config.ini"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QCOMPARE(text.count("[", Qt::CaseInsensitive), 1);
        QVERIFY(ini.writeString("CONFIG", "Ds", "/other/"));
        QCOMPARE(ini.readString("config", "ds"), QString("/other/"));
    }

    void malformedLinesAreKeptAndIgnored() {
        QTemporaryDir dir;
        QFile f(dir.filePath("config.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("garbage line\n[sys\niAmount=abc\n[sys]\n=novalue\niPrice = 4 \n; comment\n");
        f.close();
        ConfigIni ini(f.fileName());
        QCOMPARE(ini.readInteger("sys", "iAmount", 2), 2);
        QCOMPARE(ini.readInteger("sys", "iPrice", 2), 4);
        QVERIFY(ini.writeInteger("sys", "iTotal", 3));
        QCOMPARE(ini.readInteger("sys", "iTotal", 2), 3);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(f.readAll()).contains("garbage line"));
    }

    void writeToReadOnlyFolderFails() {
        if (geteuid() == 0)
            QSKIP("root writes anywhere");
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        ConfigIni ini(dir.filePath("config.ini"));
        QVERIFY(!ini.writeString("config", "ds", "x"));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

REGISTER_TEST(TestConfigIni)
#include "tst_configini.moc"
