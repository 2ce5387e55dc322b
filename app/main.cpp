// Program entry: splash, database connection, main window, login, message loop.
#include "app/startup.h"
#include "app/ufrmmain.h"
#include "app/ufrmsplash.h"
#include "core/configini.h"
#include "operators/login.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QThread>
#include <memory>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QStringLiteral("breeze"));
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), font.family()});
    QApplication::setFont(font);

    auto splash = std::make_unique<TfrmSplash>();
    splash->showSplash();
    QApplication::setApplicationDisplayName(QStringLiteral("澜禾人事工资管理软件(企业版)"));

    const QString programDir = QCoreApplication::applicationDirPath();
    setConfigIniPath(QDir(programDir).filePath(QStringLiteral("config.ini")));
    if (!connectDatabase(programDir, splash.get()))
        return 0;
    splash->setText(QStringLiteral("连接成功，正在登录 ....."));

    TFrmMain mainWindow;
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        if (screen->geometry().width() > 1024)
            mainWindow.move(r.x() + (r.width() - mainWindow.width()) / 2, r.y() + (r.height() - mainWindow.height()) / 2);
    }
    splash->setText(QStringLiteral("连接成功，正在登录 ..."));
    QThread::msleep(20);
    splash->setText(QStringLiteral("连接成功，正在登录 ....."));
    splash.reset();

    if (!RunLogin(0, &mainWindow))
        return 0;
    mainWindow.show();
    return app.exec();
}
