#pragma once
#include <QSqlDatabase>

// Runs the statements of its scope in one transaction that is rolled back unless commit()
// succeeds.
class Transaction {
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool active() const { return m_active; }
    // Commits; false (and rolled back) when the commit fails.
    bool commit();
    void rollback();

private:
    QSqlDatabase m_db;
    bool m_active = false;
};
