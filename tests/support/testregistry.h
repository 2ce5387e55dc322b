#pragma once
#include <QObject>
#include <functional>

// Test classes of one test program register themselves; main runs them all (or the one named
// by the first argument).
void registerTest(const char *name, std::function<QObject *()> factory);
int runRegisteredTests(int argc, char **argv);

#define REGISTER_TEST(Class)                                                                                     \
    static const bool Class##_registered = (registerTest(#Class, [] { return new Class; }), true);
