// gendata: fills a database with a synthetic company for benchmarks and manual checks.
#include "bench/generator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>
#include <cstdio>
#include <type_traits>

namespace {

void say(FILE *to, const QString &text) {
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
}

// The whole number given to option name (out unchanged when the option is absent), or false with
// an error text.
template <typename T>
bool wholeNumber(const QCommandLineParser &p, const QString &name, T *out, QString *error) {
    if (!p.isSet(name))
        return true;
    bool ok = false;
    T v;
    if constexpr (std::is_same_v<T, quint32>)
        v = p.value(name).trimmed().toUInt(&ok);
    else
        v = p.value(name).trimmed().toInt(&ok);
    if (!ok) {
        *error = QStringLiteral("--%1 needs a whole number, not \"%2\"").arg(name, p.value(name));
        return false;
    }
    *out = v;
    return true;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gendata"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Fills a database with a synthetic company: employees in departments, products and processes,\n"
        "daily piece-rate and time-rate records, deductions and allowances."));
    p.addHelpOption();
    p.addOptions({
        {QStringLiteral("db"), QStringLiteral("Database file to create (or add to with --append)."),
         QStringLiteral("path")},
        {QStringLiteral("employees"), QStringLiteral("Employees of a new company (default 2000)."),
         QStringLiteral("N")},
        {QStringLiteral("months"), QStringLiteral("Months of records (default 3)."), QStringLiteral("M")},
        {QStringLiteral("records-per-day"),
         QStringLiteral("Piece-rate records per employee and working day (default 1)."), QStringLiteral("R")},
        {QStringLiteral("seed"),
         QStringLiteral("Random seed; the same seed gives the same data (default 1)."), QStringLiteral("S")},
        {QStringLiteral("start"), QStringLiteral("First month of records (default 2026-01)."),
         QStringLiteral("yyyy-MM")},
        {QStringLiteral("append"),
         QStringLiteral("Use an existing file: its employees, processes and work types are reused "
                        "and the records of the months are added.")},
    });
    p.process(app);
    if (!p.positionalArguments().isEmpty()) {
        say(stderr,
            QStringLiteral("gendata: unexpected argument \"%1\"").arg(p.positionalArguments().first()));
        return 2;
    }

    GenOptions o;
    o.dbPath = p.value(QStringLiteral("db"));
    o.append = p.isSet(QStringLiteral("append"));
    QString error;
    if (!wholeNumber(p, QStringLiteral("employees"), &o.employees, &error) ||
        !wholeNumber(p, QStringLiteral("months"), &o.months, &error) ||
        !wholeNumber(p, QStringLiteral("records-per-day"), &o.recordsPerDay, &error) ||
        !wholeNumber(p, QStringLiteral("seed"), &o.seed, &error)) {
        say(stderr, QStringLiteral("gendata: ") + error);
        return 2;
    }
    if (p.isSet(QStringLiteral("start"))) {
        o.start = QDate::fromString(p.value(QStringLiteral("start")).trimmed() + QStringLiteral("-01"),
                                    QStringLiteral("yyyy-MM-dd"));
        if (!o.start.isValid()) {
            say(stderr, QStringLiteral("gendata: --start needs a month as yyyy-MM, not \"%1\"")
                            .arg(p.value(QStringLiteral("start"))));
            return 2;
        }
    }
    const QString bad = checkGenOptions(o);
    if (!bad.isEmpty()) {
        say(stderr, QStringLiteral("gendata: ") + bad);
        return 2;
    }
    o.progress = [](const QString &line) { say(stdout, QStringLiteral("  ") + line); };

    say(stdout, QStringLiteral("gendata: writing %1 (seed %2, from %3, %4 month(s))")
                    .arg(o.dbPath)
                    .arg(o.seed)
                    .arg(o.start.toString(QStringLiteral("yyyy-MM")))
                    .arg(o.months));
    GenStats s;
    if (!generateCompany(o, &error, &s)) {
        say(stderr, QStringLiteral("gendata: nothing written: ") + error);
        return 1;
    }
    const QLocale c = QLocale::c();
    const double seconds = s.elapsedMs / 1000.0;
    const double rate = s.elapsedMs > 0 ? s.rowsWritten / seconds : 0;
    say(stdout,
        QStringLiteral("gendata: %1 rows in %2 s (%3 rows/s)")
            .arg(c.toString(s.rowsWritten), QString::number(seconds, 'f', 2), c.toString(qint64(rate))));
    return 0;
}
