#include "FuzzSupport.h"

#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace portiqa::fuzz {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

namespace {

const QString& processFolder() {
    // Shared memory when the machine has it: the targets create and delete files per input.
    static const QString folder = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        std::atexit([] { QDir(processFolder()).removeRecursively(); });
        return base + QStringLiteral("/portiqa-fuzz-%1").arg(::getpid());
    }();
    return folder;
}

} // namespace

QString freshFolder() {
    const QString& folder = processFolder();
    QDir dir(folder);
    dir.removeRecursively();
    dir.mkpath(QStringLiteral("."));
    return folder;
}

} // namespace portiqa::fuzz
