#include "core/ini/IniFile.h"

#include "core/files/SystemErrorText.h"
#include "core/files/WholeFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace portiqa {

namespace {

// Cuts a value to at most maxBytes of its file encoding without splitting a character.
QString cutToEncodedLength(const QString& value, int maxBytes) {
    if (value.size() * 4 <= maxBytes) {
        return value; // no character takes more than four bytes
    }
    if (IniDocument::encode(value).size() <= maxBytes) {
        return value;
    }
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < value.size()) {
        const qsizetype step = value.at(i).isHighSurrogate() && i + 1 < value.size() ? 2 : 1;
        const qsizetype width = IniDocument::encode(value.mid(i, step)).size();
        if (bytes + width > maxBytes) {
            break;
        }
        bytes += width;
        i += step;
    }
    return value.left(i);
}

// Up to `limit` + 1 bytes of a file (one more than allowed tells an oversized file), taking
// only the memory the file needs: QIODevice::read(n) reserves all n bytes up front, which for
// the limit would mean 64 MB held by every file object for a file of a few hundred bytes.
QByteArray readAtMost(QFile& file, qint64 limit) {
    QByteArray bytes = file.read(qMin(file.size(), limit) + 1);
    while (bytes.size() <= limit && !file.atEnd()) { // the file grew since its size was taken
        const QByteArray more = file.read(qMin<qint64>(1 << 20, limit + 1 - bytes.size()));
        if (more.isEmpty()) {
            break;
        }
        bytes += more;
    }
    return bytes;
}

} // namespace

bool IniFile::Stamp::operator==(const Stamp& other) const {
    return exists == other.exists && size == other.size && modified == other.modified &&
           changed == other.changed;
}

IniFile::IniFile(QString path) : path_(std::move(path)) {}

IniFile::Stamp IniFile::stampNow() const {
    const QFileInfo info(path_);
    Stamp stamp;
    stamp.exists = info.exists();
    if (stamp.exists) {
        stamp.size = info.size();
        stamp.modified = info.lastModified().toMSecsSinceEpoch();
        stamp.changed = info.metadataChangeTime().toMSecsSinceEpoch();
    }
    return stamp;
}

bool IniFile::refresh() const {
    if (unsaved_) {
        return true; // the intended text lives in memory until a write succeeds
    }
    const Stamp now = stampNow();
    const qint64 readAt = QDateTime::currentMSecsSinceEpoch();
    // File time stamps are coarse: a change within the same tick and to the same size does
    // not show in them. The stamps are trusted only for a file that had been left alone for a
    // while before we read it; otherwise the bytes are compared.
    if (loaded_ && now == stamp_ && now.modified < readAt_ - kSettleMs &&
        now.changed < readAt_ - kSettleMs) {
        return readable_;
    }
    stamp_ = now;
    readAt_ = readAt;
    loaded_ = true;
    readable_ = true;
    readError_.clear();
    if (!now.exists) {
        bytes_.clear();
        doc_ = IniDocument();
        return true;
    }
    QByteArray bytes;
    if (now.size > kMaxFileBytes) {
        readError_ = QStringLiteral("文件过大");
    } else {
        QFile file(path_);
        if (file.open(QIODevice::ReadOnly)) {
            bytes = readAtMost(file, kMaxFileBytes);
        } else {
            readError_ = QStringLiteral("无法读取（%1）").arg(fileErrorText(file));
        }
    }
    if (!readError_.isEmpty() || bytes.size() > kMaxFileBytes) {
        readable_ = false;
        readError_ = readError_.isEmpty() ? QStringLiteral("文件过大") : readError_;
        bytes_.clear();
        doc_ = IniDocument();
        return false;
    }
    if (bytes != bytes_ || bytes_.isEmpty()) {
        doc_ = IniDocument::parse(bytes);
        bytes_ = bytes;
    }
    return true;
}

QString IniFile::read(const QString& section, const QString& key) const {
    refresh();
    const std::optional<QString> value = doc_.value(section, key);
    return value ? cutToEncodedLength(*value, kMaxValueBytes) : QString();
}

QStringList IniFile::readEach(const QStringList& sections, const QString& key) const {
    refresh();
    QStringList values;
    values.reserve(sections.size());
    for (const QString& section : sections) {
        const std::optional<QString> value = doc_.value(section, key);
        values.append(value ? cutToEncodedLength(*value, kMaxValueBytes) : QString());
    }
    return values;
}

QStringList IniFile::sectionNames() const {
    refresh();
    return doc_.sectionNames();
}

bool IniFile::write(const QString& section, const QString& key, const QString& value) {
    return writeGroup({IniEntry{section, key, value}});
}

bool IniFile::writeGroup(const QList<IniEntry>& entries) {
    for (const IniEntry& entry : entries) {
        const QString problem = IniDocument::checkEntry(entry.section, entry.key, entry.value);
        if (!problem.isEmpty()) {
            lastError_ = problem;
            return false;
        }
    }
    if (!refresh()) {
        // Writing now would replace a file we could not read with a shorter one.
        lastError_ = readError_;
        return false;
    }
    doc_.set(entries);
    return store();
}

bool IniFile::store() {
    const QByteArray bytes = doc_.toBytes();
    if (!writeWholeFile(path_, bytes, &lastError_)) {
        unsaved_ = true;
        return false;
    }
    unsaved_ = false;
    lastError_.clear();
    stamp_ = stampNow();
    readAt_ = QDateTime::currentMSecsSinceEpoch();
    bytes_ = bytes;
    loaded_ = true;
    readable_ = true;
    return true;
}

bool IniFile::remove() {
    unsaved_ = false;
    loaded_ = false;
    bytes_.clear();
    doc_ = IniDocument();
    if (!QFileInfo::exists(path_) || QFile::remove(path_)) {
        lastError_.clear();
        return true;
    }
    QFile file(path_);
    file.remove();
    lastError_ = fileErrorText(file);
    // The intended state is "no file": later reads and writes start from an empty text.
    unsaved_ = true;
    return false;
}

} // namespace portiqa
