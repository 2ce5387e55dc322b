#include "testdb.h"

#include "core/configini.h"
#include "core/database.h"
#include "core/session.h"

#include <QDir>

TestDb::TestDb() {
    setConfigIniPath(QDir(m_dir.path()).filePath(QStringLiteral("config.ini")));
    session() = Session();
    session().CurOperCode = QStringLiteral("000");
    m_ok = Database::open(path(), true).ok();
}

TestDb::~TestDb() { Database::close(); }

QString TestDb::path() const { return QDir(m_dir.path()).filePath(QString::fromLatin1(Database::kFileName)); }
