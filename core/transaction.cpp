#include "transaction.h"

Transaction::Transaction(QSqlDatabase db) : m_db(db) { m_active = m_db.transaction(); }

Transaction::~Transaction() {
    if (m_active)
        m_db.rollback();
}

bool Transaction::commit() {
    if (!m_active)
        return false;
    m_active = false;
    if (m_db.commit())
        return true;
    m_db.rollback();
    return false;
}

void Transaction::rollback() {
    if (m_active)
        m_db.rollback();
    m_active = false;
}
