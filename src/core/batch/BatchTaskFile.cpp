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
qint64 entryNumber(const QString& sectionName) {
    bool ok = false;
    const qint64 k = sectionName.toLongLong(&ok);
    return ok && k > 0 && QString::number(k) == sectionName ? k : 0;
}

} // namespace

BatchTaskFile::BatchTaskFile(const QString& settingsFolder, Dialogs& dialogs, TaskPictureView& view)
    : m_file(QDir(settingsFolder).filePath(fileName())), m_dialogs(dialogs), m_view(view),
      m_notice(dialogs, QStringLiteral("批量截图可以继续，但进度不会留到下次运行。")) {}

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
        numbers::leadingNumber(m_file.read(sectionAndKey, sectionAndKey)));
}

bool BatchTaskFile::write(const QList<IniEntry>& entries) {
    const bool ok = m_file.writeGroup(entries);
    m_notice.report(ok, m_file);
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
    m_taskCount = static_cast<int>(std::min<qsizetype>(names.size(), kMaxPosition));
    return write(entries);
}

void BatchTaskFile::removeFile() {
    m_notice.report(m_file.remove(), m_file);
}

bool BatchTaskFile::startNewRun() {
    removeFile();
    const QStringList names = scanPictureFolder(m_sourceFolder);
    m_taskCount = 0;
    m_taskPosition = 0;
    if (names.isEmpty()) {
        return false;
    }
    writeNewTask(names);
    showTaskPicture(TaskStep::Current);
    return true;
}

void BatchTaskFile::resume() {
    m_taskCount = std::max(0, readNumber(kCountName));
    showTaskPicture(TaskStep::Current);
}

void BatchTaskFile::endRun() {
    m_taskCount = 0;
    m_taskPosition = 0;
}

QString BatchTaskFile::picturePath(const QString& name) const {
    return m_sourceFolder + QLatin1Char('/') + name;
}

void BatchTaskFile::showTaskPicture(TaskStep step) {
    qint64 p = readNumber(kPositionName);
    if (step == TaskStep::Previous) {
        p -= 1;
        if (p == 0) {
            m_dialogs.inform(QStringLiteral("提示"), QStringLiteral("当前已是最初图片"),
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
        if (p > kMaxPosition || (p > m_taskCount && !appendNewPictures())) {
            m_dialogs.inform(QStringLiteral("提示"), QStringLiteral("当前已是末位图片"),
                             MessageIcon::None);
            return;
        }
        write({{kPositionName, kPositionName, QString::number(p)}});
    }
    showEntry(p);
}

void BatchTaskFile::showEntry(qint64 position) {
    m_taskPosition = static_cast<int>(position);
    const QString section = QString::number(position);
    m_taskPictureName = m_file.read(section, kNameKey);
    const QString& name = m_taskPictureName;
    // A task name is a bare file name; anything with a separator in it (a hand-edited file)
    // does not name a picture of the folder.
    const bool bare = !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
                      !name.contains(QLatin1Char('\\')) && name != QLatin1String("..");
    const QString path = picturePath(name);
    if (!bare || !QFileInfo(path).isFile()) {
        m_view.clearPicturePanels();
        m_view.setWindowTitle(titleFor(name, kMissing));
        return;
    }
    m_view.setWindowTitle(titleFor(name, m_file.read(section, kRecordKey)));
    m_view.loadPictureFile(path);
}

QStringList BatchTaskFile::knownNames() const {
    // Only sections that exist are read, however large the stored count is.
    std::vector<std::pair<qint64, QString>> entries;
    for (const QString& section : m_file.sectionNames()) {
        const qint64 k = entryNumber(section);
        if (k >= 1 && k <= m_taskCount) {
            entries.emplace_back(k, section);
        }
    }
    std::sort(entries.begin(), entries.end());
    QStringList sections;
    sections.reserve(static_cast<qsizetype>(entries.size()));
    for (const auto& entry : entries) {
        sections.append(entry.second);
    }
    QStringList names = m_file.readEach(sections, kNameKey);
    names.removeAll(QString());
    return names;
}

bool BatchTaskFile::appendNewPictures() {
    QStringList fresh = scanPictureFolder(m_sourceFolder);
    for (const QString& known : knownNames()) {
        if (fresh.isEmpty()) {
            return false;
        }
        fresh.removeOne(known); // exact, case-sensitive; at most one per known name
    }
    if (fresh.isEmpty() || m_taskCount + static_cast<qint64>(fresh.size()) > kMaxPosition) {
        return false;
    }
    QList<IniEntry> entries;
    entries.reserve(2 * fresh.size() + 1);
    for (qsizetype j = 0; j < fresh.size(); ++j) {
        const QString section = QString::number(m_taskCount + j + 1);
        entries.append({section, kRecordKey, kNotCropped});
        entries.append({section, kNameKey, fresh.at(j)});
    }
    m_taskCount += static_cast<int>(fresh.size());
    entries.append({kCountName, kCountName, QString::number(m_taskCount)});
    write(entries);
    return true;
}

void BatchTaskFile::markCurrentDone() {
    if (m_source.kind == SourceKind::File) {
        m_view.setWindowTitle(titleFor(QFileInfo(m_source.path).fileName(), kCropped));
        return;
    }
    if (m_taskPosition >= 1) {
        write({{QString::number(m_taskPosition), kRecordKey, kCropped}});
    }
    m_view.setWindowTitle(titleFor(m_taskPictureName, kCropped));
}

void BatchTaskFile::navigate(TaskStep step) {
    m_source.kind = SourceKind::Task;
    if (m_taskCount == 0) {
        const QStringList names = scanPictureFolder(m_sourceFolder);
        if (!names.isEmpty()) {
            writeNewTask(names);
            showTaskPicture(TaskStep::Current);
        }
        return;
    }
    showTaskPicture(step);
}

} // namespace portiqa
