// The program's promise about its files, tested by killing a writer: whatever moment a
// SIGKILL lands, the output picture, the settings file and the task file on disk are one whole
// version (the old or the new), never a mixture, never empty, and no temporary file is left
// beside them once the program writes that file again.

#include "helpers/CrashWritePlan.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <random>
#include <string>
#include <thread>

using namespace portiqa::test;

namespace {

constexpr int kKillsPerKind = 200;

class CrashSafety : public ::testing::TestWithParam<const char*> {};

TEST_P(CrashSafety, AKilledWriterLeavesOneWholeFileAndNoTemporary) {
    const crashplan::Kind kind = crashplan::kindFromName(QString::fromLatin1(GetParam()));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A fixed seed: a failure names its round, and the same run repeats it.
    std::mt19937 random(static_cast<unsigned>(kind) + 15);
    // Long enough to cover several whole writes of the largest kind after the first.
    std::uniform_int_distribution<int> delayUs(0, 20000);
    int kills = 0;
    int leftovers = 0;
    QString leftover; // the temporary name the last killed writer left, if any
    for (int round = 0; round < kKillsPerKind; ++round) {
        QProcess child;
        child.start(QStringLiteral(PORTIQA_CRASH_WRITER), {GetParam(), dir.path()});
        ASSERT_TRUE(child.waitForStarted());
        ASSERT_TRUE(child.waitForReadyRead(20000)) << child.readAllStandardError().constData();
        // The next writer's first write cleared what a kill left.
        ASSERT_FALSE(!leftover.isEmpty() && QFileInfo::exists(dir.filePath(leftover)))
            << "after kill " << round - 1 << ": " << qPrintable(leftover) << " stayed";
        const qint64 pid = child.processId(); // gone once the process has ended
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(static_cast<pid_t>(pid), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(20000));
        kills += child.exitStatus() == QProcess::CrashExit ? 1 : 0;

        const QString problem = crashplan::checkWhole(kind, dir.path());
        ASSERT_TRUE(problem.isEmpty()) << "after kill " << round << ": " << qPrintable(problem);
        // Nothing else, except when the kill landed between naming the finished temporary
        // file and renaming it (two system calls): then that name, of the killed writer.
        QStringList entries =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        entries.removeOne(crashplan::fileName(kind));
        const QString killedPrefix =
            QStringLiteral(".%1.%2-").arg(crashplan::fileName(kind)).arg(pid);
        leftover = entries.size() == 1 && entries[0].startsWith(killedPrefix) &&
                           entries[0].endsWith(QLatin1String(".part"))
                       ? entries.takeFirst()
                       : QString();
        leftovers += leftover.isEmpty() ? 0 : 1;
        ASSERT_TRUE(entries.isEmpty())
            << "after kill " << round << ": " << qPrintable(entries.join(QLatin1Char(' ')));
    }
    std::printf("%s: %d kills, the file whole after each; %d left a named temporary file that "
                "the next write removed\n",
                GetParam(), kills, leftovers);
    EXPECT_EQ(kills, kKillsPerKind);
}

INSTANTIATE_TEST_SUITE_P(Kinds, CrashSafety, ::testing::Values("picture", "settings", "task"),
                         [](const ::testing::TestParamInfo<const char*>& kind) {
                             return std::string(kind.param);
                         });

} // namespace
