// The child of the crash-safety test: writes one kind of file over and over, a new generation
// each time, until it is killed. Prints "ready" once the first write is on disk.
//
//   crash_writer picture|settings|task FOLDER

#include "helpers/CrashWritePlan.h"

#include <QString>

#include <cstdio>

using namespace portiqa::test;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: crash_writer picture|settings|task FOLDER\n");
        return 2;
    }
    const crashplan::Kind kind = crashplan::kindFromName(QString::fromLocal8Bit(argv[1]));
    crashplan::Writer writer(kind, QString::fromLocal8Bit(argv[2]));
    // A bounded loop: a child whose test died does not write for ever.
    for (int generation = 0; generation < 20000; ++generation) {
        QString error;
        if (!writer.write(generation, &error)) {
            std::fprintf(stderr, "write failed: %s\n", qPrintable(error));
            return 1;
        }
        if (generation == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
    return 0;
}
