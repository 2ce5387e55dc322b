#pragma once
#include <QString>

// Where start-up reports its progress (the splash window).
class SplashSink {
public:
    virtual ~SplashSink() = default;
    virtual void setText(const QString &text) = 0;
    virtual void showSplash() = 0;
    virtual void hideSplash() = 0;
};

// The database folder of config.ini's [config] ds, or data/ under programDir when it is blank.
QString databaseFolder(const QString &programDir);

// Connects the program to its database file: the folder of config.ini (or data/ under
// programDir), offering to create a new database where the folder holds none, and otherwise
// asking for another folder through the open-file dialog "连接网络数据库" until a database opens
// or the user cancels. True when connected. splash may be nullptr.
bool connectDatabase(const QString &programDir, SplashSink *splash);
