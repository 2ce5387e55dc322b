#pragma once
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class SqlDialect;

// The one connection of the program to its database file. The file keeps the name
// DodEdazod.mdb but holds an SQLite database.
namespace Database {

inline constexpr const char *kFileName = "DodEdazod.mdb";
inline constexpr const char *kConnection = "main";

enum class OpenResult {
    Ok,
    Missing,      // no file at that path
    AccessFile,   // a real Access (Jet/ACE) database: refused, left untouched
    NotDatabase,  // some other file, or a damaged database
    Locked,       // another program holds the file
    TooNew,       // written by a newer version of the program
    Failed        // could not be opened or prepared for another reason
};

struct OpenStatus {
    OpenResult result = OpenResult::Failed;
    QString message; // a clear Chinese text for the user; empty on success
    bool ok() const { return result == OpenResult::Ok; }
};

// Opens the database file at path (creating a new database with its delivered content when
// create is true and no file exists). On success the connection is the program's connection
// and the scratch tables of this connection exist.
OpenStatus open(const QString &path, bool create = false);
// Tells what the file at path is without opening it for writing.
OpenStatus probe(const QString &path);
// Closes the program's connection.
void close();
bool isOpen();
// The program's connection (invalid when closed).
QSqlDatabase db();
// Path of the open database file.
QString filePath();
// The schema version this program writes.
int schemaVersion();
// Recreates the connection's scratch tables (after a reconnect).
bool createScratchTables(QSqlDatabase &db, QString *error = nullptr);
// The statements of a script text, split at semicolons that end a statement outside quotes.
QStringList splitStatements(const QString &script);
// Writes a consistent copy of the open database to target (through a temporary file that is
// renamed when complete). False with *error when it cannot be written.
bool backupTo(const QString &target, QString *error = nullptr);
// The dialect of the open connection's engine.
const SqlDialect &dialect();

} // namespace Database
