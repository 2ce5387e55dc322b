// bench_grid: opening the grid on the piece-rate records and scrolling to the last row, against
// reading the same query with a bare QSqlQuery in the same run. Target: the grid within three
// times the bare query.
//
//     bench_grid [--db <path>] [--rows N]      (default: a generated company, 200000 rows)
#include "bench/gridbench.h"

#include <QApplication>
#include <QScrollBar>

using namespace gridbench;

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchArgs args = parseBenchArgs(app, 200000, QStringLiteral("Rows to open (default 200000)."));
    const int rows = args.rows;
    if (rows == 0)
        return 2;
    QTemporaryDir dir;
    if (!openDatabase(args.db, rows, dir))
        return 1;

    qint64 count = 0;
    bareQueryMs(rows, &count); // warms the file cache for both runs
    const double bare = bareQueryMs(rows, &count);

    DBGridEh grid;
    pieceRateColumns(grid);
    grid.resize(1000, 700);
    grid.show();
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    if (!grid.setQuery(pieceRateSql(), {rows}))
        return 1;
    QApplication::processEvents();
    grid.fetchAll();
    grid.scrollToBottom();
    grid.last();
    const QString footer = grid.footerText(grid.columnOf(QStringLiteral("F_TotalPrice")));
    QApplication::processEvents();
    const double shown = t.nsecsElapsed() / 1e6;
    if (grid.rowCount() != count) {
        say(QStringLiteral("the grid holds %1 rows, the query %2").arg(grid.rowCount()).arg(count));
        return 1;
    }

    say(QStringLiteral("rows:                        %1").arg(count));
    say(QStringLiteral("bare QSqlQuery iteration:    %1 ms").arg(bare, 0, 'f', 1));
    say(QStringLiteral("grid open + scroll to end:   %1 ms (last row %2, footer sum %3)")
            .arg(shown, 0, 'f', 1)
            .arg(grid.currentRow() + 1)
            .arg(footer));
    const double ratio = bare > 0 ? shown / bare : 0;
    say(QStringLiteral("ratio grid / bare:           %1 (target <= 3) %2")
            .arg(ratio, 0, 'f', 2)
            .arg(ratio <= 3 ? QStringLiteral("OK") : QStringLiteral("OVER TARGET")));
    return 0;
}
