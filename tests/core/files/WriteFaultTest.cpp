// Writes that cannot succeed (a full disk, a read-only folder) are reported and leave the
// file that was there byte for byte, with nothing beside it: for the output picture, the
// settings file and the task file, each through the program's own writer.
//
// The faults are real where the machine allows: a small tmpfs mounted over the folder, filled
// up or remounted read-only. Without the right to mount, a full disk becomes a file size limit
// (RLIMIT_FSIZE: the same failed write, EFBIG instead of ENOSPC) and a read-only folder a folder
// without write permission, which binds everyone but root.

#include "helpers/CrashWritePlan.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <map>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace portiqa::test;

namespace {

enum class Fault { FullDisk, ReadOnlyFolder };

const crashplan::Kind kKinds[] = {crashplan::Kind::Picture, crashplan::Kind::Settings,
                                  crashplan::Kind::Task};

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// A tmpfs over `folder` for the life of the object, when the machine lets us mount one.
class SmallDisk {
public:
    explicit SmallDisk(const QString& folder) : folder_(QFile::encodeName(folder)) {
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, "size=8m,mode=0755") == 0;
    }
    ~SmallDisk() {
        if (mounted_) {
            ::umount2(folder_.constData(), MNT_DETACH);
        }
    }
    bool mounted() const { return mounted_; }
    bool remountReadOnly() const {
        return ::mount(nullptr, folder_.constData(), nullptr, MS_REMOUNT | MS_RDONLY, "size=8m") ==
               0;
    }

private:
    QByteArray folder_;
    bool mounted_ = false;
};

// Fills the disk holding `folder` with one file until a write fails.
void fillUp(const QString& path) {
    QFile filler(path);
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(64 * 1024, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
}

// Writes of more than one byte fail for this process while the object lives.
class FileSizeLimit {
public:
    FileSizeLimit() {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit tiny = previous_;
        tiny.rlim_cur = 1;
        ::setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

class WriteFault : public ::testing::TestWithParam<Fault> {};

TEST_P(WriteFault, TheFailureIsReportedAndTheOldFileStays) {
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString folder = base.filePath(QStringLiteral("输出"));
    ASSERT_TRUE(QDir().mkpath(folder));
    SmallDisk disk(folder);

    std::map<crashplan::Kind, std::unique_ptr<crashplan::Writer>> writers;
    std::map<crashplan::Kind, QByteArray> before;
    for (crashplan::Kind kind : kKinds) {
        writers[kind] = std::make_unique<crashplan::Writer>(kind, folder);
        ASSERT_TRUE(writers[kind]->write(1));
        before[kind] = contentOf(QDir(folder).filePath(crashplan::fileName(kind)));
    }
    const QStringList entries = entriesOf(folder);

    std::unique_ptr<FileSizeLimit> sizeLimit;
    bool madeUnwritable = false;
    if (GetParam() == Fault::FullDisk) {
        if (disk.mounted()) {
            fillUp(base.filePath(QStringLiteral("输出/填满.bin")));
        } else {
            sizeLimit = std::make_unique<FileSizeLimit>();
        }
    } else if (disk.mounted()) {
        ASSERT_TRUE(disk.remountReadOnly());
    } else if (::geteuid() != 0) {
        madeUnwritable = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        ASSERT_TRUE(madeUnwritable);
    } else {
        GTEST_SKIP() << "as root a folder without write permission is still writable, and this "
                        "machine allows no read-only mount";
    }

    for (crashplan::Kind kind : kKinds) {
        SCOPED_TRACE(qPrintable(crashplan::fileName(kind)));
        QString error;
        EXPECT_FALSE(writers[kind]->write(2, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_NE(error, QStringLiteral("failed unreported"));
        EXPECT_EQ(contentOf(QDir(folder).filePath(crashplan::fileName(kind))), before[kind]);
    }
    sizeLimit.reset();
    if (madeUnwritable) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QStringList after = entriesOf(folder);
    after.removeAll(QStringLiteral("填满.bin"));
    EXPECT_EQ(after, entries);
}

INSTANTIATE_TEST_SUITE_P(Faults, WriteFault,
                         ::testing::Values(Fault::FullDisk, Fault::ReadOnlyFolder),
                         [](const ::testing::TestParamInfo<Fault>& param) {
                             return param.param == Fault::FullDisk ? "FullDisk" : "ReadOnlyFolder";
                         });

} // namespace
