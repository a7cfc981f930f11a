#include "core/batch/BatchTaskFile.h"

#include "core/dialogs/Dialogs.h"
#include "core/text/Numbers.h"
#include "core/text/PictureExtensions.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace portiqa {

namespace {

const QString kPositionName = QStringLiteral("批截位置");
const QString kCountName = QStringLiteral("最大位置");
const QString kRecordKey = QStringLiteral("操作记录");
const QString kNameKey = QStringLiteral("图片名");
const QString kNotCropped = QStringLiteral("未截图");
const QString kCropped = QStringLiteral("已截图");
const QString kMissing = QStringLiteral("已丢失");

constexpr qint64 kMaxPosition = std::numeric_limits<int>::max();

QString titleFor(const QString& name, const QString& mark) {
    return QStringLiteral(" 当前文件：") + name + QStringLiteral("  ") + mark;
}

// The entry number a section name stands for, or 0 when it is not one ("05" is not entry 5:
// look-ups use the plain decimal form).
// A task name is a bare file name; anything with a separator in it (a hand-edited file) does
// not name a picture of the folder.
bool isBareName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && name != QLatin1String("..");
}

qint64 entryNumber(const QString& sectionName) {
    bool ok = false;
    const qint64 k = sectionName.toLongLong(&ok);
    return ok && k > 0 && QString::number(k) == sectionName ? k : 0;
}

} // namespace

BatchTaskFile::BatchTaskFile(const QString& settingsFolder, const BatchCropSettings& settings,
                             PictureSourceRecord& source, Dialogs& dialogs, TaskPictureView& view)
    : file_(QDir(settingsFolder).filePath(fileName())), dialogs_(dialogs), view_(view),
      notice_(dialogs, QStringLiteral("批量截图可以继续，但进度不会留到下次运行。")),
      settings_(settings), source_(source) {}

QStringList BatchTaskFile::scanPictureFolder(const QString& folder) {
    QStringList names;
    if (folder.isEmpty()) {
        return names; // an empty text would mean the working folder
    }
    QDirIterator it(folder, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (isPictureExtension(textAfterLastDot(name)) && !name.contains(QLatin1Char('\n')) &&
            !name.contains(QLatin1Char('\r'))) {
            names.append(name);
        }
    }
    return names;
}

int BatchTaskFile::readNumber(const QString& sectionAndKey) const {
    return numbers::truncateToInt32(
        numbers::leadingNumber(file_.read(sectionAndKey, sectionAndKey)));
}

bool BatchTaskFile::write(const QList<IniEntry>& entries) {
    const bool ok = file_.writeGroup(entries);
    notice_.report(ok, file_);
    return ok;
}

bool BatchTaskFile::writeNewTask(const QStringList& names) {
    QList<IniEntry> entries;
    entries.reserve(2 + 2 * names.size());
    entries.append({kPositionName, kPositionName, QStringLiteral("1")});
    entries.append({kCountName, kCountName, QString::number(names.size())});
    for (qsizetype k = 0; k < names.size(); ++k) {
        const QString section = QString::number(k + 1);
        entries.append({section, kRecordKey, kNotCropped});
        entries.append({section, kNameKey, names.at(k)});
    }
    taskCount_ = static_cast<int>(std::min<qsizetype>(names.size(), kMaxPosition));
    return write(entries);
}

void BatchTaskFile::removeFile() {
    notice_.report(file_.remove(), file_);
}

bool BatchTaskFile::startNewRun() {
    removeFile();
    const QStringList names = scanPictureFolder(sourceFolder());
    taskCount_ = 0;
    taskPosition_ = 0;
    if (names.isEmpty()) {
        return false;
    }
    writeNewTask(names);
    showTaskPicture(TaskStep::Current);
    return true;
}

void BatchTaskFile::resume() {
    taskCount_ = std::max(0, readNumber(kCountName));
    showTaskPicture(TaskStep::Current);
}

void BatchTaskFile::endRun() {
    taskCount_ = 0;
    taskPosition_ = 0;
}

QString BatchTaskFile::picturePath(const QString& name) const {
    return sourceFolder() + QLatin1Char('/') + name;
}

void BatchTaskFile::showTaskPicture(TaskStep step) {
    qint64 p = readNumber(kPositionName);
    if (step == TaskStep::Previous) {
        p -= 1;
        if (p == 0) {
            dialogs_.inform(QStringLiteral("提示"), QStringLiteral("当前已是最初图片"),
                            MessageIcon::None);
            return;
        }
        if (p < 0) {
            return;
        }
        write({{kPositionName, kPositionName, QString::number(p)}});
    } else if (step == TaskStep::Next) {
        p += 1;
        // Past the end only new pictures can follow; past the largest position nothing can.
        if (p > kMaxPosition || (p > taskCount_ && !appendNewPictures())) {
            dialogs_.inform(QStringLiteral("提示"), QStringLiteral("当前已是末位图片"),
                            MessageIcon::None);
            return;
        }
        write({{kPositionName, kPositionName, QString::number(p)}});
    }
    showEntry(p);
}

void BatchTaskFile::showEntry(qint64 position) {
    taskPosition_ = static_cast<int>(position);
    const QString section = QString::number(position);
    taskPictureName_ = file_.read(section, kNameKey);
    const QString& name = taskPictureName_;
    const QString path = picturePath(name);
    if (!isBareName(name) || !QFileInfo(path).isFile()) {
        view_.clearPicturePanels();
        view_.setWindowTitle(titleFor(name, kMissing));
    } else {
        view_.setWindowTitle(titleFor(name, file_.read(section, kRecordKey)));
        view_.loadPictureFile(path);
    }
    if (shownHook_) {
        shownHook_();
    }
}

QString BatchTaskFile::currentPath() const {
    return isBareName(taskPictureName_) ? picturePath(taskPictureName_) : QString();
}

QStringList BatchTaskFile::neighbourPaths() const {
    QStringList paths;
    for (const qint64 p : {qint64(taskPosition_) + 1, qint64(taskPosition_) - 1}) {
        if (p >= 1 && p <= taskCount_) {
            const QString name = file_.read(QString::number(p), kNameKey);
            if (isBareName(name) && QFileInfo(picturePath(name)).isFile()) {
                paths << picturePath(name);
            }
        }
    }
    return paths;
}

QStringList BatchTaskFile::knownNames() const {
    // Only sections that exist are read, however large the stored count is.
    std::vector<std::pair<qint64, QString>> entries;
    for (const QString& section : file_.sectionNames()) {
        const qint64 k = entryNumber(section);
        if (k >= 1 && k <= taskCount_) {
            entries.emplace_back(k, section);
        }
    }
    std::sort(entries.begin(), entries.end());
    QStringList sections;
    sections.reserve(static_cast<qsizetype>(entries.size()));
    for (const auto& entry : entries) {
        sections.append(entry.second);
    }
    QStringList names = file_.readEach(sections, kNameKey);
    names.removeAll(QString());
    return names;
}

bool BatchTaskFile::appendNewPictures() {
    QStringList fresh = scanPictureFolder(sourceFolder());
    for (const QString& known : knownNames()) {
        if (fresh.isEmpty()) {
            return false;
        }
        fresh.removeOne(known); // exact, case-sensitive; at most one per known name
    }
    if (fresh.isEmpty() || taskCount_ + static_cast<qint64>(fresh.size()) > kMaxPosition) {
        return false;
    }
    QList<IniEntry> entries;
    entries.reserve(2 * fresh.size() + 1);
    for (qsizetype j = 0; j < fresh.size(); ++j) {
        const QString section = QString::number(taskCount_ + j + 1);
        entries.append({section, kRecordKey, kNotCropped});
        entries.append({section, kNameKey, fresh.at(j)});
    }
    taskCount_ += static_cast<int>(fresh.size());
    entries.append({kCountName, kCountName, QString::number(taskCount_)});
    write(entries);
    return true;
}

void BatchTaskFile::markCurrentDone() {
    if (source().kind == SourceKind::File) {
        view_.setWindowTitle(titleFor(QFileInfo(source().path).fileName(), kCropped));
        return;
    }
    if (taskPosition_ >= 1) {
        write({{QString::number(taskPosition_), kRecordKey, kCropped}});
    }
    view_.setWindowTitle(titleFor(taskPictureName_, kCropped));
}

void BatchTaskFile::navigate(TaskStep step) {
    source_.fromTask();
    if (taskCount_ == 0) {
        const QStringList names = scanPictureFolder(sourceFolder());
        if (!names.isEmpty()) {
            writeNewTask(names);
            showTaskPicture(TaskStep::Current);
        }
        return;
    }
    showTaskPicture(step);
}

} // namespace portiqa
