#pragma once
#include <QDate>
#include <QString>
#include <functional>

// What the synthetic-company generator makes and where.
struct GenOptions {
    QString dbPath;                  // database file; created with the delivered content when missing
    int employees = 2000;            // employees made for a new company
    int months = 3;                  // calendar months of records, from start
    int recordsPerDay = 1;           // piece-rate records per employee and working day
    quint32 seed = 1;                // same seed, same company
    QDate start = QDate(2026, 1, 1); // first day of the first month
    bool append = false;             // an existing file may be used (its company is reused when it has one)
    int rowsPerCommit = 20000;       // rows written per transaction
    // Told a line of text after each table is written (optional).
    std::function<void(const QString &)> progress;
};

// What one run wrote.
struct GenStats {
    bool reusedCompany = false; // employees, processes and work types came from the file
    int treeNodes = 0;
    int departments = 0; // departments employees belong to
    int employees = 0;
    int leavers = 0;
    int products = 0;
    int processes = 0;
    int workTypes = 0;
    qint64 pieceRecords = 0;
    qint64 timeRecords = 0;
    qint64 deductions = 0;
    qint64 allowances = 0;
    qint64 rowsWritten = 0; // every row inserted, dictionary entries included
    qint64 elapsedMs = 0;
};

// Empty when the options can be used, else a message naming the bad value.
QString checkGenOptions(const GenOptions &options);

// Fills the database at options.dbPath with a synthetic company: departments in the tree and the
// dictionary, employees, products with processes, work types, and for each month daily piece-rate
// and time-rate records with deductions and allowances. An existing file is refused unless append
// is set. On failure *error tells why and nothing is left behind (a file made by this run is
// removed, rows added to an existing file are deleted again). On success the database stays open
// as the program's connection.
bool generateCompany(const GenOptions &options, QString *error, GenStats *stats = nullptr);
