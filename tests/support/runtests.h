#pragma once

#include <QApplication>
#include <initializer_list>

using TestRun = int (*)(int argc, char* argv[]);

// Runs several test classes in one program, one after the other; non-zero if any failed.
inline int runTests(int argc, char* argv[], std::initializer_list<TestRun> runs)
{
    QApplication app(argc, argv);
    int failures = 0;
    for (TestRun run : runs)
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
