// bench_hrm: the employee archive on a generated company of 20000 employees. Opening the window,
// a quick search and a value-list click, each against running the same statement with a bare
// QSqlQuery and reading every row in the same run. Target: each within three times the bare query.
// The window's time is the command's own work (statement, grid, tabs, count); the repaint of the
// window that follows is reported beside it.
//
//     bench_hrm [--db <path>] [--employees N]      (default: a generated company, 20000 employees)
#include "bench/generator.h"
#include "core/database.h"
#include "core/dbgrid.h"
#include "personnel/hrmquery.h"
#include "personnel/ufrmhrmman.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void say(const QString &text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Runs the statement and reads every field of every row; milliseconds, *rows the row count.
double bareMs(const SqlPart &q, int *rows) {
    QElapsedTimer t;
    t.start();
    QSqlQuery query(Database::db());
    query.setForwardOnly(true);
    query.prepare(q.sql);
    for (const QVariant &v : q.binds)
        query.addBindValue(v);
    if (!query.exec()) {
        say(QStringLiteral("the bare query failed: ") + q.sql);
        return 0;
    }
    const int fields = query.record().count();
    int n = 0;
    while (query.next()) {
        for (int i = 0; i < fields; ++i)
            query.value(i);
        ++n;
    }
    *rows = n;
    return t.nsecsElapsed() / 1e6;
}

// One measured command: the window's time against the bare query of the statement it runs.
struct Figure {
    QString what;
    double window = 0; // the command's own work: statement, grid, tabs, count
    double paint = 0;  // the repaint that follows, reported beside it
    double bare = 0;
    int rows = 0;
};

bool report(const Figure &f, int gridRows) {
    const double ratio = f.bare > 0 ? f.window / f.bare : 0;
    const bool ok = ratio <= 3;
    say(QStringLiteral("%1: window %2 ms (+ %8 ms repaint), bare query %3 ms (%4 rows, grid count %5), "
                       "ratio %6 %7")
            .arg(f.what)
            .arg(f.window, 0, 'f', 1)
            .arg(f.bare, 0, 'f', 1)
            .arg(f.rows)
            .arg(gridRows)
            .arg(ratio, 0, 'f', 2)
            .arg(ok ? QStringLiteral("OK") : QStringLiteral("OVER TARGET"))
            .arg(f.paint, 0, 'f', 1));
    return ok && f.rows == gridRows;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser p;
    p.addHelpOption();
    p.addOptions({{QStringLiteral("db"), QStringLiteral("Database file (generated there when missing)."),
                   QStringLiteral("path")},
                  {QStringLiteral("employees"), QStringLiteral("Employees to generate (default 20000)."),
                   QStringLiteral("N")}});
    p.process(app);
    const int employees =
        p.isSet(QStringLiteral("employees")) ? p.value(QStringLiteral("employees")).toInt() : 20000;
    if (employees <= 0) {
        say(QStringLiteral("--employees needs a positive number"));
        return 2;
    }

    QTemporaryDir dir;
    QString path = p.value(QStringLiteral("db"));
    if (!path.isEmpty() && QFileInfo::exists(path)) {
        const auto st = Database::open(path);
        if (!st.ok()) {
            say(QStringLiteral("cannot open %1: %2").arg(path, st.message));
            return 1;
        }
    } else {
        GenOptions o;
        o.dbPath = path.isEmpty() ? dir.filePath(QStringLiteral("bench.mdb")) : path;
        o.employees = employees;
        o.months = 1;
        o.recordsPerDay = 0; // the archive reads no production records
        QString error;
        GenStats stats;
        if (!generateCompany(o, &error, &stats)) {
            say(QStringLiteral("cannot generate the data: ") + error);
            return 1;
        }
        say(QStringLiteral("generated %1 employees (%2 have left) in %3 ms")
                .arg(stats.employees)
                .arg(stats.leavers)
                .arg(stats.elapsedMs));
    }

    bool ok = true;
    TfrmHRMman w;
    w.resize(1016, 711);

    // opening: layouts, the value list and the first list
    Figure open{QStringLiteral("opening the archive"), 0, 0, 0};
    bareMs(hrm::listQuery(hrm::ListFilter()), &open.rows); // warms the file cache for both
    open.bare = bareMs(hrm::listQuery(hrm::ListFilter()), &open.rows);
    QElapsedTimer t;
    t.start();
    w.show(); // opens the list on the first show
    open.window = t.nsecsElapsed() / 1e6;
    t.restart();
    QApplication::processEvents();
    open.paint = t.nsecsElapsed() / 1e6;
    ok = report(open, w.recordCount()) && ok;

    // a quick search by name for the first character of the first name
    const QString name = w.grid()->value(0, QStringLiteral("F_name")).toString();
    Figure search{QStringLiteral("quick search (姓名 \"") + name.left(1) + QStringLiteral("\")"), 0, 0, 0};
    {
        hrm::ListFilter f = w.filter();
        f.searchKind = 2;
        f.searchText = name.left(1);
        bareMs(hrm::listQuery(f), &search.rows);
        search.bare = bareMs(hrm::listQuery(f), &search.rows);
        w.ComboBox1->setCurrentIndex(2); // refreshes once with an empty text
        QApplication::processEvents();
        t.restart();
        w.Edit1->setText(name.left(1));
        search.window = t.nsecsElapsed() / 1e6;
        t.restart();
        QApplication::processEvents();
        search.paint = t.nsecsElapsed() / 1e6;
        ok = report(search, w.recordCount()) && ok;
        w.ComboBox1->setCurrentIndex(0);
        QApplication::processEvents();
    }

    // a value-list click: the department of the second value-list row
    w.cbbListType->setCurrentIndex(1);
    QApplication::processEvents();
    if (w.vleList->rowCount() < 2) {
        say(QStringLiteral("the value list is empty"));
        return 1;
    }
    const QString dept = w.vleList->item(1, 1)->text();
    Figure click{QStringLiteral("value-list click (部门 ") + dept + QStringLiteral(")"), 0, 0, 0};
    {
        hrm::ListFilter f = w.filter();
        f.hasValue = true;
        f.value = dept;
        bareMs(hrm::listQuery(f), &click.rows);
        click.bare = bareMs(hrm::listQuery(f), &click.rows);
        t.restart();
        w.vleList->setCurrentCell(1, 1);
        click.window = t.nsecsElapsed() / 1e6;
        t.restart();
        QApplication::processEvents();
        click.paint = t.nsecsElapsed() / 1e6;
        ok = report(click, w.recordCount()) && ok;
    }
    return ok ? 0 : 1;
}
