#include "database.h"

#include "dbgridmodel.h"
#include "sqldialect.h"
#include "transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>

// Resources of a static library must be registered by hand.
static void initCoreResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(core);
        return true;
    }();
    Q_UNUSED(done);
}

namespace Database {

namespace {

constexpr int kSchemaVersion = 1;

QString g_path;

QString readResource(const QString &name) {
    initCoreResources();
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

bool runScript(QSqlDatabase &db, const QString &resource, QString *error) {
    const QString script = readResource(resource);
    if (script.isEmpty()) {
        if (error)
            *error = QStringLiteral("程序文件不完整：缺少 %1").arg(resource);
        return false;
    }
    QSqlQuery q(db);
    for (const QString &stmt : splitStatements(script)) {
        if (!q.exec(stmt)) {
            if (error)
                *error = q.lastError().text() + QLatin1Char('\n') + stmt.left(200);
            return false;
        }
    }
    return true;
}

// One forward step of the schema: the scripts that bring version-1 to version.
struct Migration {
    int version;
    QStringList scripts;
};

const QList<Migration> &migrations() {
    static const QList<Migration> list = {
        {1, {QStringLiteral(":/sql/schema.sql"), QStringLiteral(":/sql/seed.sql")}},
    };
    return list;
}

bool migrate(QSqlDatabase &db, int from, QString *error) {
    Transaction t(db);
    for (const Migration &m : migrations()) {
        if (m.version <= from)
            continue;
        for (const QString &script : m.scripts)
            if (!runScript(db, script, error))
                return false;
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(m.version))) {
            if (error)
                *error = q.lastError().text();
            return false;
        }
    }
    if (!t.commit()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    return true;
}

OpenStatus status(OpenResult r, const QString &message) {
    OpenStatus s;
    s.result = r;
    s.message = message;
    return s;
}

OpenStatus classifyError(const QSqlError &e, const QString &path) {
    const QString text = e.text();
    const QString native = e.nativeErrorCode();
    if (native == QLatin1String("5") || native == QLatin1String("6") ||
        text.contains(QLatin1String("locked"), Qt::CaseInsensitive))
        return status(OpenResult::Locked,
                      QStringLiteral("数据库文件 %1 正被其他程序独占使用，请稍后再试。").arg(path));
    if (native == QLatin1String("26") || native == QLatin1String("11") ||
        text.contains(QLatin1String("not a database"), Qt::CaseInsensitive) ||
        text.contains(QLatin1String("malformed"), Qt::CaseInsensitive))
        return status(OpenResult::NotDatabase,
                      QStringLiteral("文件 %1 已损坏或不是本程序的数据库。").arg(path));
    return status(OpenResult::Failed, QStringLiteral("无法打开数据库文件 %1：%2").arg(path, text));
}

QSqlDatabase addConnection(const QString &path) {
    if (QSqlDatabase::contains(QLatin1String(kConnection))) {
        QSqlDatabase::database(QLatin1String(kConnection), false).close();
        QSqlDatabase::removeDatabase(QLatin1String(kConnection));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(kConnection));
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    return db;
}

void dropConnection() {
    if (QSqlDatabase::contains(QLatin1String(kConnection))) {
        QSqlDatabase::database(QLatin1String(kConnection), false).close();
        QSqlDatabase::removeDatabase(QLatin1String(kConnection));
    }
    g_path.clear();
}

} // namespace

int schemaVersion() {
    return kSchemaVersion;
}

QStringList splitStatements(const QString &script) {
    QStringList out;
    QString cur;
    bool inQuote = false;
    const int n = script.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = script.at(i);
        if (!inQuote && c == QLatin1Char('-') && i + 1 < n && script.at(i + 1) == QLatin1Char('-')) {
            while (i < n && script.at(i) != QLatin1Char('\n'))
                ++i;
            cur += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\''))
            inQuote = !inQuote; // a doubled quote toggles twice
        if (!inQuote && c == QLatin1Char(';')) {
            if (!cur.trimmed().isEmpty())
                out << cur.trimmed();
            cur.clear();
            continue;
        }
        cur += c;
    }
    if (!cur.trimmed().isEmpty())
        out << cur.trimmed();
    return out;
}

OpenStatus probe(const QString &path) {
    QFileInfo fi(path);
    if (!fi.exists())
        return status(OpenResult::Missing, QStringLiteral("数据库文件 %1 不存在。").arg(path));
    if (!fi.isFile())
        return status(OpenResult::NotDatabase, QStringLiteral("%1 不是数据库文件。").arg(path));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return status(OpenResult::Failed,
                      QStringLiteral("无法读取数据库文件 %1：%2").arg(path, f.errorString()));
    const QByteArray head = f.read(100);
    if (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB")
        return status(
            OpenResult::AccessFile,
            QStringLiteral("文件 %1 是 Microsoft Access 数据库，本程序不能使用它（文件未作任何改动）。"
                           "请选择本程序的数据库文件。")
                .arg(path));
    if (!head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return status(OpenResult::NotDatabase,
                      QStringLiteral("文件 %1 已损坏或不是本程序的数据库。").arg(path));
    return status(OpenResult::Ok, QString());
}

OpenStatus open(const QString &path, bool create) {
    const bool exists = QFileInfo::exists(path);
    if (!exists && !create)
        return probe(path);
    if (exists) {
        OpenStatus s = probe(path);
        if (!s.ok())
            return s;
    } else if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return status(OpenResult::Failed,
                      QStringLiteral("无法创建数据库目录 %1。").arg(QFileInfo(path).absolutePath()));
    }

    QSqlDatabase db = addConnection(path);
    if (!db.open()) {
        OpenStatus s = classifyError(db.lastError(), path);
        dropConnection();
        return s;
    }
    auto failWith = [&](const OpenStatus &s) {
        dropConnection();
        if (!exists)
            QFile::remove(path);
        return s;
    };
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return failWith(classifyError(q.lastError(), path));
    const int version = q.value(0).toInt();
    q.finish();
    if (version > kSchemaVersion)
        return failWith(
            status(OpenResult::TooNew,
                   QStringLiteral("数据库文件 %1 由更新版本的程序建立，请升级本程序后再打开。").arg(path)));
    if (version == 0) {
        if (!q.exec(QStringLiteral("select count(*) from sqlite_master")) || !q.next())
            return failWith(classifyError(q.lastError(), path));
        if (q.value(0).toInt() > 0)
            return failWith(
                status(OpenResult::NotDatabase, QStringLiteral("文件 %1 不是本程序的数据库。").arg(path)));
        q.finish();
    }
    if (version < kSchemaVersion) {
        QString error;
        if (!migrate(db, version, &error))
            return failWith(status(exists ? OpenResult::Failed : OpenResult::Failed,
                                   QStringLiteral("数据库 %1 初始化失败：%2").arg(path, error)));
    }
    QString error;
    if (!createScratchTables(db, &error))
        return failWith(classifyError(db.lastError().isValid() ? db.lastError() : QSqlError(error), path));
    g_path = QFileInfo(path).absoluteFilePath();
    return status(OpenResult::Ok, QString());
}

bool createScratchTables(QSqlDatabase &db, QString *error) {
    return runScript(db, QStringLiteral(":/sql/temp.sql"), error);
}

void close() {
    dropConnection();
}

bool isOpen() {
    return QSqlDatabase::contains(QLatin1String(kConnection)) &&
           QSqlDatabase::database(QLatin1String(kConnection), false).isOpen();
}

QSqlDatabase db() {
    return QSqlDatabase::database(QLatin1String(kConnection), false);
}

QString filePath() {
    return g_path;
}

bool backupTo(const QString &target, QString *error) {
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!isOpen())
        return fail(QStringLiteral("数据库未连接。"));
    // a grid that has not read all its rows keeps a statement open, which VACUUM refuses
    DBGridModel::finishOpenReaders();
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    QSqlQuery q(db());
    q.prepare(QStringLiteral("VACUUM INTO ?"));
    q.addBindValue(part);
    if (!q.exec()) {
        const QString why = q.lastError().text();
        QFile::remove(part);
        return fail(why);
    }
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(part);
        return fail(QStringLiteral("无法写入备份文件 %1。").arg(target));
    }
    return true;
}

const SqlDialect &dialect() {
    static const SqlDialect sqlite(SqlDialect::SQLite);
    return sqlite;
}

} // namespace Database
