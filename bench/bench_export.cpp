// bench_export: exporting the piece-rate grid (50000 rows by default) to .xlsx and to CSV, in
// rows per second, with the bare-query iteration of the same rows as baseline.
//
//     bench_export [--db <path>] [--rows N]
#include "bench/gridbench.h"
#include "core/gridexport.h"

#include <QApplication>
#include <QFile>

using namespace gridbench;

namespace {

QString rate(qint64 rows, double ms) {
    return QString::number(ms > 0 ? qint64(rows * 1000.0 / ms) : 0);
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchArgs args = parseBenchArgs(app, 50000, QStringLiteral("Rows to export (default 50000)."));
    const int rows = args.rows;
    if (rows == 0)
        return 2;
    QTemporaryDir dir;
    if (!openDatabase(args.db, rows, dir))
        return 1;

    qint64 count = 0;
    bareQueryMs(rows, &count);
    const double bare = bareQueryMs(rows, &count);

    DBGridEh grid;
    pieceRateColumns(grid);
    if (!grid.setQuery(pieceRateSql(), {rows}))
        return 1;
    grid.fetchAll();

    QElapsedTimer t;
    t.start();
    const GridSnapshot snap = snapshotGrid(&grid);
    const double snapMs = t.nsecsElapsed() / 1e6;

    QString error;
    const QString xlsx = dir.filePath(QStringLiteral("export.xlsx"));
    t.restart();
    if (!writeXlsx(snap, xlsx, QStringLiteral("生产计件"), &error)) {
        say(QStringLiteral("xlsx: ") + error);
        return 1;
    }
    const double xlsxMs = t.nsecsElapsed() / 1e6;

    const QString csv = dir.filePath(QStringLiteral("export.csv"));
    t.restart();
    if (!writeExportBytes(csv, exportCsvBytes(snap), &error)) {
        say(QStringLiteral("csv: ") + error);
        return 1;
    }
    const double csvMs = t.nsecsElapsed() / 1e6;

    say(QStringLiteral("rows:                          %1 (%2 columns)").arg(count).arg(snap.columns.size()));
    say(QStringLiteral("bare QSqlQuery iteration:      %1 ms (%2 rows/s)")
            .arg(bare, 0, 'f', 1)
            .arg(rate(count, bare)));
    say(QStringLiteral("grid snapshot (cells as shown): %1 ms").arg(snapMs, 0, 'f', 1));
    say(QStringLiteral("xlsx: snapshot + write         %1 ms (%2 rows/s, %3 KiB)")
            .arg(snapMs + xlsxMs, 0, 'f', 1)
            .arg(rate(count, snapMs + xlsxMs))
            .arg(QFile(xlsx).size() / 1024));
    say(QStringLiteral("csv:  snapshot + write         %1 ms (%2 rows/s, %3 KiB)")
            .arg(snapMs + csvMs, 0, 'f', 1)
            .arg(rate(count, snapMs + csvMs))
            .arg(QFile(csv).size() / 1024));
    say(QStringLiteral("xlsx / bare: %1   csv / bare: %2")
            .arg((snapMs + xlsxMs) / bare, 0, 'f', 1)
            .arg((snapMs + csvMs) / bare, 0, 'f', 1));
    return 0;
}
