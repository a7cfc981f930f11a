#include "core/files/WholeFile.h"

#include "core/files/SystemErrorText.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <atomic>

#if defined(Q_OS_LINUX)
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace portiqa {

namespace {

// Portable path. QSaveFile keeps small writes in its buffer and, when the last flush fails
// (a full disk), still renames the empty temporary file over the target; flushing first
// catches that.
bool writeWithSaveFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
        file.commit()) {
        return true;
    }
    if (error != nullptr) {
        *error = fileErrorText(file);
    }
    file.cancelWriting();
    return false;
}

#if defined(Q_OS_LINUX)

// Where a file is linked just before it is renamed over the target: hidden, and named after
// the writing process, so that a leftover of a killed writer can be told and removed.
QString temporaryName(const QString& fileName, qint64 pid, int serial) {
    return QStringLiteral(".%1.%2-%3.part").arg(fileName).arg(pid).arg(serial);
}

// Removes the temporary names a killed writer of this file left behind (a kill can land in the
// few instructions between naming the temporary file and renaming it).
void removeLeftovers(QDir folder, const QString& fileName) {
    const QString prefix = QLatin1Char('.') + fileName + QLatin1Char('.');
    const QStringList names =
        folder.entryList({prefix + QStringLiteral("*.part")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QString id = name.mid(prefix.size()).section(QLatin1Char('-'), 0, 0);
        bool ok = false;
        const qint64 pid = id.toLongLong(&ok);
        if (ok && pid > 0 && pid != ::getpid() && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH) {
            folder.remove(name);
        }
    }
}

QString systemError(int code) {
    return systemErrorText(code);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

enum class Outcome { Written, Failed, Unsupported };

// The data goes into a file without a name (O_TMPFILE) that is synced, named and renamed over
// the target in two calls, so a kill leaves the old file or the new one and, short of those two
// calls, nothing else.
Outcome writeUnnamedFirst(const QString& path, const QByteArray& bytes, QString* error) {
    const QFileInfo info(path);
    const QDir folder = info.absoluteDir();
    const QByteArray folderName = QFile::encodeName(folder.absolutePath());
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    const auto fail = [error](int code) {
        if (error != nullptr) {
            *error = systemError(code);
        }
        return Outcome::Failed;
    };

    const Descriptor file(::open(folderName.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        // Not every file system has unnamed files; a missing or read-only folder is a failure.
        return errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL ? Outcome::Unsupported
                                                                         : fail(errno);
    }
    struct stat existing {};
    if (::stat(target.constData(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(file.get(), existing.st_mode & 07777); // the replacement keeps its permissions
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(file.get(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return fail(n < 0 ? errno : ENOSPC);
        }
        done += n;
    }
    if (::fdatasync(file.get()) != 0 && errno != EINVAL) {
        return fail(errno);
    }

    removeLeftovers(folder, info.fileName());
    static std::atomic<int> serial{0};
    const QByteArray temporary =
        QFile::encodeName(folder.filePath(temporaryName(info.fileName(), ::getpid(), ++serial)));
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.get());
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temporary.constData(), AT_SYMLINK_FOLLOW) !=
        0) {
        return errno == ENOENT && !QFileInfo::exists(QStringLiteral("/proc/self/fd"))
                   ? Outcome::Unsupported // no /proc: name it the portable way
                   : fail(errno);
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return fail(code);
    }
    return Outcome::Written;
}

#endif

} // namespace

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
#if defined(Q_OS_LINUX)
    const Outcome outcome = writeUnnamedFirst(path, bytes, error);
    if (outcome != Outcome::Unsupported) {
        return outcome == Outcome::Written;
    }
#endif
    return writeWithSaveFile(path, bytes, error);
}

} // namespace portiqa
