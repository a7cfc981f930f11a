#pragma once

// One private-profile (INI) file on disk, read and written one key at a time.
//
// Promises:
// - A read sees the file as it is now (another copy of the program may have changed it); the
//   parse is reused while the file's size and time stamps are unchanged, and while the bytes
//   are the same when the stamps are too recent to tell.
// - A read of a missing file, section or key gives an empty text; a value longer than
//   kMaxValueBytes (in the file's GB18030 bytes) is cut to that length at a character edge.
// - A write creates the file, the section and the key as needed, keeps every other line
//   byte for byte, and replaces the file atomically: a failed write leaves the old file whole.
// - A grouped write stores many keys with one replace of the file.
// - When a write fails, the file object keeps the intended text in memory and later reads
//   serve it, so a run can go on with its values; the next successful write stores them all.
//   The file on disk is never overwritten with less than it held: an existing file that
//   cannot be read, or that is larger than kMaxFileBytes, is not written.
//
// UI thread only; the object is cheap to keep for the life of the program.

#include "core/ini/IniDocument.h"

#include <QList>
#include <QString>

namespace portiqa {

class IniFile {
public:
    static constexpr int kMaxValueBytes = 10239;
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

    explicit IniFile(QString path);

    const QString& path() const { return path_; }

    QString read(const QString& section, const QString& key) const;
    // The same key of many sections with one look at the file (same rules as read()).
    QStringList readEach(const QStringList& sections, const QString& key) const;
    // Section names in file order (first occurrences), for callers that must not probe
    // sections one number at a time.
    QStringList sectionNames() const;

    // Each returns false when nothing was stored; lastError() then says why.
    bool write(const QString& section, const QString& key, const QString& value);
    bool writeGroup(const QList<IniEntry>& entries);
    // Deletes the file (a missing file counts as removed).
    bool remove();

    QString lastError() const { return lastError_; }
    // True after a failed write until a write succeeds again.
    bool hasUnsavedChanges() const { return unsaved_; }

private:
    struct Stamp {
        bool exists = false;
        qint64 size = -1;
        qint64 modified = 0;
        qint64 changed = 0;
        bool operator==(const Stamp& other) const;
    };

    Stamp stampNow() const;
    // The document as the file holds it now (or the unsaved one). False when an existing file
    // could not be read, in which case the document is empty.
    bool refresh() const;
    bool store();

    QString path_;
    // How long a file must have been left alone before its time stamps alone vouch for it.
    static constexpr qint64 kSettleMs = 2000;

    mutable IniDocument doc_;
    mutable QByteArray bytes_; // what doc_ was parsed from
    mutable qint64 readAt_ = 0;
    mutable Stamp stamp_;
    mutable bool loaded_ = false;
    mutable bool readable_ = true;
    mutable QString readError_;
    bool unsaved_ = false;
    QString lastError_;
};

} // namespace portiqa
