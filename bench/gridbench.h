#pragma once
// What the grid benchmarks share: a database of piece-rate rows, the piece-rate grid's columns
// and the bare-query baseline.
#include "bench/generator.h"
#include "core/database.h"
#include "core/dbgrid.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cstdio>

namespace gridbench {

inline void say(const QString &text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Reads --db and --rows from the command line; rows is 0 (after saying why) when --rows is not
// a positive number.
struct BenchArgs {
    QString db;
    int rows = 0;
};
inline BenchArgs parseBenchArgs(const QCoreApplication &app, int defaultRows, const QString &rowsHelp) {
    QCommandLineParser p;
    p.addHelpOption();
    p.addOptions({{QStringLiteral("db"), QStringLiteral("Database file (generated there when missing)."),
                   QStringLiteral("path")},
                  {QStringLiteral("rows"), rowsHelp, QStringLiteral("N")}});
    p.process(app);
    BenchArgs a;
    a.db = p.value(QStringLiteral("db"));
    a.rows = p.isSet(QStringLiteral("rows")) ? p.value(QStringLiteral("rows")).toInt() : defaultRows;
    if (a.rows <= 0) {
        say(QStringLiteral("--rows needs a positive number"));
        a.rows = 0;
    }
    return a;
}

// The rows every benchmark reads: the first `rows` piece-rate records.
inline QString pieceRateSql() {
    return QStringLiteral("select * from wg_ShengChanRec order by F_ID limit ?");
}

inline qint64 pieceRateCount() {
    QSqlQuery q(Database::db());
    return q.exec(QStringLiteral("select count(*) from wg_ShengChanRec")) && q.next()
               ? q.value(0).toLongLong()
               : 0;
}

// Opens the database at path, or makes one with at least `rows` piece-rate records there (in
// dir when path is empty). False after saying why.
inline bool openDatabase(QString path, int rows, QTemporaryDir &dir) {
    if (!path.isEmpty() && QFileInfo::exists(path)) {
        const auto st = Database::open(path);
        if (!st.ok()) {
            say(QStringLiteral("cannot open %1: %2").arg(path, st.message));
            return false;
        }
    } else {
        if (path.isEmpty())
            path = dir.filePath(QStringLiteral("bench.mdb"));
        GenOptions o;
        o.dbPath = path;
        o.months = 2;        // 42 working days from January 2026
        o.recordsPerDay = 2; // two records a day for each employee in service
        o.employees = rows / 84 + rows / 10 / 84 + 50;
        QString error;
        GenStats stats;
        QElapsedTimer t;
        t.start();
        if (!generateCompany(o, &error, &stats)) {
            say(QStringLiteral("cannot generate the data: ") + error);
            return false;
        }
        say(QStringLiteral("generated %1 piece-rate records in %2 s")
                .arg(stats.pieceRecords)
                .arg(t.elapsed() / 1000.0));
    }
    if (pieceRateCount() < rows)
        say(QStringLiteral("note: the database holds only %1 piece-rate records").arg(pieceRateCount()));
    return true;
}

// The columns of the piece-rate records window, with its formats and footer sums.
inline void pieceRateColumns(DBGridEh &grid) {
    grid.addColumn({QStringLiteral("F_DateTime"), QStringLiteral("日期"), 80});
    grid.addColumn({QStringLiteral("F_EmpCode"), QStringLiteral("员工编号"), 70});
    grid.addColumn({QStringLiteral("F_EmpName"), QStringLiteral("员工名称"), 70});
    grid.addColumn({QStringLiteral("F_Dept"), QStringLiteral("部门"), 90});
    grid.addColumn({QStringLiteral("F_gxCode"), QStringLiteral("工序编号"), 70});
    grid.addColumn({QStringLiteral("F_Name"), QStringLiteral("工序名称"), 90});
    grid.addColumn({QStringLiteral("F_goodName"), QStringLiteral("产品名称"), 90});
    GridColumn amount(QStringLiteral("F_Amount"), QStringLiteral("数量"), 60);
    amount.displayFormat = QStringLiteral("0.##");
    amount.footerType = FooterKind::Sum;
    grid.addColumn(amount);
    GridColumn price(QStringLiteral("F_Price"), QStringLiteral("工价"), 60);
    price.displayFormat = QStringLiteral(",0.00");
    grid.addColumn(price);
    GridColumn total(QStringLiteral("F_TotalPrice"), QStringLiteral("金额"), 80);
    total.displayFormat = QStringLiteral(",0.00");
    total.footerType = FooterKind::Sum;
    grid.addColumn(total);
    grid.addColumn({QStringLiteral("F_Mem"), QStringLiteral("备注"), 120});
}

// Milliseconds to run the query and read every value of every row with a bare forward-only
// query; *count receives the rows read.
inline double bareQueryMs(int rows, qint64 *count) {
    QElapsedTimer t;
    t.start();
    QSqlQuery q(Database::db());
    q.setForwardOnly(true);
    q.prepare(pieceRateSql());
    q.addBindValue(rows);
    qint64 n = 0;
    if (q.exec()) {
        const int fields = q.record().count();
        while (q.next()) {
            for (int i = 0; i < fields; ++i)
                (void)q.value(i);
            ++n;
        }
    }
    *count = n;
    return t.nsecsElapsed() / 1e6;
}

} // namespace gridbench
