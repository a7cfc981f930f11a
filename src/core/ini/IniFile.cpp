#include "core/ini/IniFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

} // namespace

bool IniFile::Stamp::operator==(const Stamp& other) const {
    return exists == other.exists && size == other.size && modified == other.modified &&
           changed == other.changed;
}

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

IniFile::Stamp IniFile::stampNow() const {
    const QFileInfo info(m_path);
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
    if (m_unsaved) {
        return true; // the intended text lives in memory until a write succeeds
    }
    const Stamp now = stampNow();
    const qint64 readAt = QDateTime::currentMSecsSinceEpoch();
    // File time stamps are coarse: a change within the same tick and to the same size does
    // not show in them. The stamps are trusted only for a file that had been left alone for a
    // while before we read it; otherwise the bytes are compared.
    if (m_loaded && now == m_stamp && now.modified < m_readAt - kSettleMs &&
        now.changed < m_readAt - kSettleMs) {
        return m_readable;
    }
    m_stamp = now;
    m_readAt = readAt;
    m_loaded = true;
    m_readable = true;
    m_readError.clear();
    if (!now.exists) {
        m_bytes.clear();
        m_doc = IniDocument();
        return true;
    }
    QByteArray bytes;
    if (now.size > kMaxFileBytes) {
        m_readError = QStringLiteral("文件过大");
    } else {
        QFile file(m_path);
        if (file.open(QIODevice::ReadOnly)) {
            bytes = file.read(kMaxFileBytes + 1);
        } else {
            m_readError = QStringLiteral("无法读取（%1）").arg(file.errorString());
        }
    }
    if (!m_readError.isEmpty() || bytes.size() > kMaxFileBytes) {
        m_readable = false;
        m_readError = m_readError.isEmpty() ? QStringLiteral("文件过大") : m_readError;
        m_bytes.clear();
        m_doc = IniDocument();
        return false;
    }
    if (bytes != m_bytes || m_bytes.isEmpty()) {
        m_doc = IniDocument::parse(bytes);
        m_bytes = bytes;
    }
    return true;
}

QString IniFile::read(const QString& section, const QString& key) const {
    refresh();
    const std::optional<QString> value = m_doc.value(section, key);
    return value ? cutToEncodedLength(*value, kMaxValueBytes) : QString();
}

QStringList IniFile::readEach(const QStringList& sections, const QString& key) const {
    refresh();
    QStringList values;
    values.reserve(sections.size());
    for (const QString& section : sections) {
        const std::optional<QString> value = m_doc.value(section, key);
        values.append(value ? cutToEncodedLength(*value, kMaxValueBytes) : QString());
    }
    return values;
}

QStringList IniFile::sectionNames() const {
    refresh();
    return m_doc.sectionNames();
}

bool IniFile::write(const QString& section, const QString& key, const QString& value) {
    return writeGroup({IniEntry{section, key, value}});
}

bool IniFile::writeGroup(const QList<IniEntry>& entries) {
    for (const IniEntry& entry : entries) {
        const QString problem = IniDocument::checkEntry(entry.section, entry.key, entry.value);
        if (!problem.isEmpty()) {
            m_lastError = problem;
            return false;
        }
    }
    if (!refresh()) {
        // Writing now would replace a file we could not read with a shorter one.
        m_lastError = m_readError;
        return false;
    }
    m_doc.set(entries);
    return store();
}

bool IniFile::store() {
    QSaveFile file(m_path);
    const QByteArray bytes = m_doc.toBytes();
    bool ok = file.open(QIODevice::WriteOnly);
    ok = ok && file.write(bytes) == bytes.size();
    ok = ok && file.commit();
    if (!ok) {
        m_lastError = file.errorString();
        m_unsaved = true;
        return false;
    }
    m_unsaved = false;
    m_lastError.clear();
    m_stamp = stampNow();
    m_readAt = QDateTime::currentMSecsSinceEpoch();
    m_bytes = bytes;
    m_loaded = true;
    m_readable = true;
    return true;
}

bool IniFile::remove() {
    m_unsaved = false;
    m_loaded = false;
    m_bytes.clear();
    m_doc = IniDocument();
    if (!QFileInfo::exists(m_path) || QFile::remove(m_path)) {
        m_lastError.clear();
        return true;
    }
    QFile file(m_path);
    file.remove();
    m_lastError = file.errorString();
    // The intended state is "no file": later reads and writes start from an empty text.
    m_unsaved = true;
    return false;
}

} // namespace portiqa
