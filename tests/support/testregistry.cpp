#include "testregistry.h"

#include <QApplication>
#include <QTest>
#include <memory>
#include <vector>

namespace {
struct Entry {
    const char *name;
    std::function<QObject *()> factory;
};
std::vector<Entry> &entries() {
    static std::vector<Entry> list;
    return list;
}
} // namespace

void registerTest(const char *name, std::function<QObject *()> factory) {
    entries().push_back({name, std::move(factory)});
}

int runRegisteredTests(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    QString only;
    if (args.size() > 1 && !args.at(1).startsWith(QLatin1Char('-'))) {
        only = args.takeAt(1);
    }
    int failed = 0;
    int ran = 0;
    for (const Entry &e : entries()) {
        if (!only.isEmpty() && only != QLatin1String(e.name))
            continue;
        std::unique_ptr<QObject> test(e.factory());
        failed += QTest::qExec(test.get(), args) != 0 ? 1 : 0;
        ++ran;
    }
    fprintf(stdout, "%d test classes run, %d failed\n", ran, failed);
    return failed == 0 && ran > 0 ? 0 : 1;
}
