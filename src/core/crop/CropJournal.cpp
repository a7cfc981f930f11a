#include "core/crop/CropJournal.h"

#include "core/files/WholeFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace portiqa {

namespace {
const QString kSection = QStringLiteral("[裁剪任务]");
const QString kFingerprint = QStringLiteral("任务标识");
const QString kCount = QStringLiteral("总数");
const QString kStarted = QStringLiteral("开始时间");
const QString kDone = QStringLiteral("已完成");
constexpr qint64 kMaxRecordBytes = 16 * 1024 * 1024;
} // namespace

CropJournal::CropJournal(const QString& outputFolder, const QString& fingerprint, int count)
    : path_(QDir(outputFolder).filePath(fileName())), fingerprint_(fingerprint),
      done_(static_cast<size_t>(std::max(0, count)), 0) {
    startFresh();
}

void CropJournal::startFresh() {
    std::fill(done_.begin(), done_.end(), 0);
    doneCount_ = 0;
    started_ = QDateTime::currentDateTimeUtc();
}

CropJournal::Resume CropJournal::resumeFrom(const std::vector<QString>& outputPaths) {
    QFile file(path_);
    if (!file.exists()) {
        startFresh();
        return Resume::Fresh;
    }
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxRecordBytes) {
        return Resume::Unreadable;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QString fingerprint;
    QString count;
    QString started;
    QString done;
    bool section = false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            section = line == kSection;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!section || eq < 0) {
            continue;
        }
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == kFingerprint) {
            fingerprint = value;
        } else if (key == kCount) {
            count = value;
        } else if (key == kStarted) {
            started = value;
        } else if (key == kDone) {
            done = value;
        }
    }
    const QDateTime start = QDateTime::fromString(started, Qt::ISODateWithMs);
    std::vector<char> marks(done_.size(), 0);
    if (fingerprint.isEmpty() || !start.isValid() || !parseRanges(done, marks)) {
        return Resume::Unreadable;
    }
    if (fingerprint != fingerprint_ || count != QString::number(done_.size())) {
        return Resume::OtherWork;
    }
    done_ = marks;
    started_ = start;
    // Outputs finished after the run started but not yet recorded when it stopped.
    for (size_t i = 0; i < done_.size() && i < outputPaths.size(); ++i) {
        if (!done_[i] && !outputPaths[i].isEmpty()) {
            const QFileInfo output(outputPaths[i]);
            if (output.isFile() && output.lastModified().toUTC() >= started_) {
                done_[i] = 1;
            }
        }
    }
    doneCount_ = static_cast<int>(std::count(done_.begin(), done_.end(), char(1)));
    return Resume::Continued;
}

bool CropJournal::markDone(int index, QString* error) {
    if (index < 0 || static_cast<size_t>(index) >= done_.size()) {
        return false;
    }
    if (!done_[static_cast<size_t>(index)]) {
        done_[static_cast<size_t>(index)] = 1;
        ++doneCount_;
    }
    return write(error);
}

bool CropJournal::write(QString* error) {
    const QString text =
        kSection + QLatin1Char('\n') + kFingerprint + QLatin1Char('=') + fingerprint_ +
        QLatin1Char('\n') + kCount + QLatin1Char('=') + QString::number(done_.size()) +
        QLatin1Char('\n') + kStarted + QLatin1Char('=') + started_.toString(Qt::ISODateWithMs) +
        QLatin1Char('\n') + kDone + QLatin1Char('=') + rangesText(done_) + QLatin1Char('\n');
    return writeWholeFile(path_, text.toUtf8(), error);
}

QString CropJournal::fingerprintOf(const std::vector<QString>& lines) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& line : lines) {
        hash.addData(line.toUtf8());
        hash.addData(QByteArrayView("\n"));
    }
    return QString::fromLatin1(hash.result().toHex());
}

QString CropJournal::rangesText(const std::vector<char>& done) {
    QStringList ranges;
    size_t i = 0;
    while (i < done.size()) {
        if (!done[i]) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end + 1 < done.size() && done[end + 1]) {
            ++end;
        }
        ranges.append(end == i ? QString::number(i) : QStringLiteral("%1-%2").arg(i).arg(end));
        i = end + 1;
    }
    return ranges.join(QLatin1Char(' '));
}

bool CropJournal::parseRanges(const QString& text, std::vector<char>& done) {
    std::fill(done.begin(), done.end(), 0);
    const qint64 size = static_cast<qint64>(done.size());
    for (const QString& range : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList ends = range.split(QLatin1Char('-'));
        bool firstOk = false;
        bool lastOk = ends.size() == 1;
        const qint64 first = ends.value(0).toLongLong(&firstOk);
        const qint64 last = ends.size() == 2 ? ends[1].toLongLong(&lastOk) : first;
        if (ends.size() > 2 || !firstOk || !lastOk || first < 0 || last < first || last >= size) {
            return false;
        }
        std::fill(done.begin() + first, done.begin() + last + 1, char(1));
    }
    return true;
}

} // namespace portiqa
