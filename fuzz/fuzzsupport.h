#pragma once

// What the fuzz targets share: a folder of their own for the process, a file written in one go,
// and a broken invariant that ends the run with a message, so libFuzzer keeps the input.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// Made at the first input, removed when the process ends.
inline const QTemporaryDir& folder()
{
    static const QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fputs("fuzz: cannot make a temporary folder\n", stderr);
        std::abort();
    }
    return dir;
}

inline QString path(const QString& name)
{
    return folder().filePath(name);
}

inline void writeFile(const QString& path, const char* data, qsizetype size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data, size) != size) {
        std::fprintf(stderr, "fuzz: cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

// A broken invariant: says which, and crashes so libFuzzer writes the input out.
[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "fuzz: invariant broken: %s\n", what);
    std::fflush(stderr);
    __builtin_trap();
}

inline void check(bool holds, const char* what)
{
    if (!holds)
        fail(what);
}

} // namespace fuzz
