#include "startup.h"

#include "core/configini.h"
#include "core/database.h"
#include "core/keltrin.h"
#include "core/prompter.h"

#include <QDir>
#include <QFileInfo>

namespace {

void say(SplashSink *splash, const QString &text) {
    if (splash)
        splash->setText(text);
}

// Tries the database of folder (the text exactly as configured, a file name appended).
// True when connected.
bool tryFolder(const QString &folder, const QString &defaultFolder) {
    const QString path = folder + QString::fromLatin1(Database::kFileName);
    Database::OpenStatus st = Database::probe(path);
    if (st.result == Database::OpenResult::Missing) {
        // Only a real folder (ending in a separator) can be offered a new database.
        if (!folder.endsWith(QLatin1Char('/')))
            return false;
        const bool isDefault = QDir::cleanPath(folder) == QDir::cleanPath(defaultFolder);
        if (!QFileInfo(folder).isDir()) {
            if (!isDefault)
                return false;
            if (!QDir().mkpath(folder)) {
                ShowMess(QStringLiteral("无法建立数据库目录 %1，请检查程序目录是否可写。").arg(folder), 3);
                return false;
            }
        }
        if (ShowMess(QStringLiteral("数据库文件不存在，是否创建新的数据库？"), 1) != 1)
            return false;
        st = Database::open(path, true);
        if (!st.ok())
            ShowMess(st.message, 3);
        return st.ok();
    }
    if (st.result == Database::OpenResult::Ok)
        st = Database::open(path);
    if (!st.ok())
        ShowMess(st.message, 3);
    return st.ok();
}

} // namespace

QString databaseFolder(const QString &programDir) {
    const QString ds = configIni().readString(QStringLiteral("config"), QStringLiteral("ds")).trimmed();
    if (!ds.isEmpty())
        return ds;
    return QDir(programDir).absolutePath() + QStringLiteral("/data/");
}

bool connectDatabase(const QString &programDir, SplashSink *splash) {
    const QString defaultFolder = QDir(programDir).absolutePath() + QStringLiteral("/data/");
    QString override; // a chosen folder that config.ini could not keep
    for (;;) {
        const QString folder = override.isEmpty() ? databaseFolder(programDir) : override;
        say(splash, QStringLiteral("正在连接数据库 ....."));
        if (tryFolder(folder, defaultFolder)) {
            say(splash, QStringLiteral("连接成功，正在登录 ..."));
            return true;
        }
        if (splash)
            splash->hideSplash();
        const QString file = prompter().openFileName(nullptr, QStringLiteral("连接网络数据库"), programDir,
                                                     QStringLiteral("Access数据库 (*.mdb *.MDB)"));
        if (file.isEmpty())
            return false;
        const QString chosen = QFileInfo(file).absolutePath() + QLatin1Char('/');
        override.clear();
        if (!configIni().writeString(QStringLiteral("config"), QStringLiteral("ds"), chosen)) {
            ShowMess(QStringLiteral("无法写入配置文件 %1，所选数据库目录只在本次运行中使用。")
                         .arg(configIni().fileName()),
                     2);
            override = chosen;
        }
        if (splash) {
            splash->showSplash();
            splash->setText(QStringLiteral("系统正在启动，请稍候 ....."));
        }
    }
}
