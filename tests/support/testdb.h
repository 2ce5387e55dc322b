#pragma once
#include "scriptedresponder.h"

#include <QTemporaryDir>

// A fresh database in a temporary folder, opened as the program's connection, with a scripted
// responder installed and the session reset to the super user.
class TestDb {
public:
    TestDb();
    ~TestDb();
    bool ok() const { return m_ok; }
    QString dir() const { return m_dir.path(); }
    QString path() const;
    ScriptedResponder responder;

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};
