// What a whole-file write leaves in the folder besides the file itself.

#include "core/files/WholeFile.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

using namespace portiqa;
using portiqa::test::readAll;
using portiqa::test::writeAll;

namespace {

// A process id that belonged to a process that has ended.
qint64 endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

// A writer killed between naming its temporary file and renaming it leaves that name behind;
// the next write of the same file removes it, and leaves those of living writers alone.
TEST(WholeFile, TheNextWriteRemovesWhatAKilledWriterLeft) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("证件照.jpg"));
    ASSERT_TRUE(writeAll(target, "old"));
    const QString killed = QStringLiteral(".证件照.jpg.%1-1.part").arg(endedProcess());
    const QString living = QStringLiteral(".证件照.jpg.%1-1.part").arg(::getppid());
    const QString other = QStringLiteral(".别的.jpg.%1-1.part").arg(endedProcess());
    for (const QString& name : {killed, living, other}) {
        ASSERT_TRUE(writeAll(dir.filePath(name), "part"));
    }
    QString error;
    ASSERT_TRUE(writeWholeFile(target, "new", &error)) << qPrintable(error);
    EXPECT_EQ(readAll(target), "new");
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    EXPECT_FALSE(left.contains(killed));
    EXPECT_TRUE(left.contains(living));
    EXPECT_TRUE(left.contains(other));
}

TEST(WholeFile, AReplacementKeepsThePermissionsOfTheFileItReplaces) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("set.dll"));
    ASSERT_TRUE(writeAll(target, "old"));
    const QFile::Permissions chosen = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(target, chosen));
    ASSERT_TRUE(writeWholeFile(target, "new"));
    const QFile::Permissions user = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    EXPECT_EQ(QFile::permissions(target) & ~user, chosen);
}

} // namespace
