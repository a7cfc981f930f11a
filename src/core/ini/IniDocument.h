#pragma once

// The parsed text of one private-profile (INI) file, kept line by line as the raw bytes that
// were read, so that a change to one key rewrites only that key's line and every other line
// (other sections, comments, unknown keys, even bytes that are not valid text) goes back to
// disk exactly as it came.
//
// Look-up rules: section and key names are compared after trimming blanks and folding ASCII
// letters to lower case (other letters compare exactly); the first occurrence of a section
// or of a key within it wins. Values are trimmed, and a value in matching double quotes is
// read without them. Lines starting with ';' or '#' are comments.
//
// The text on disk is GB18030, of which GBK is a subset, so GBK files read unchanged and any
// character (also those outside GBK) survives a write.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <optional>
#include <unordered_map>
#include <vector>

namespace portiqa {

struct IniEntry {
    QString section;
    QString key;
    QString value;
};

class IniDocument {
public:
    // Parses file bytes. Never fails: anything that is not a section line or a key line is
    // kept as an opaque line.
    static IniDocument parse(const QByteArray& bytes);

    // The value of a key, or nothing when the section or the key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Sets keys in order, creating a section (at the end of the file) and a key (after the
    // last key of its section) as needed. Names and values must be valid for the file (see
    // checkEntry); callers check first.
    void set(const QList<IniEntry>& entries);

    // Section names in file order, first occurrences only, as written in the file (trimmed).
    QStringList sectionNames() const;

    QByteArray toBytes() const;

    // Why a section name, key or value cannot be stored in a line-based file (a line break,
    // a bracket in a section name, '=' in a key...), or an empty text when it can.
    static QString checkEntry(const QString& section, const QString& key, const QString& value);

    // ASCII-only lower-casing with blanks trimmed: the comparison form of a name.
    static QString foldName(const QString& name);

    static QByteArray encode(const QString& text);
    static QString decode(const QByteArray& bytes);

private:
    struct Section {
        QByteArray header;             // the raw header line
        QString name;                  // as written, trimmed
        std::vector<QByteArray> lines; // raw lines after the header (no line terminator)
        // A new key goes after this line. No indexed key line ever follows it, so inserting
        // there moves no indexed line.
        int lastKeyLine = -1;
    };
    struct Key {
        int line = -1;
        QString value; // decoded, trimmed and unquoted
    };

    struct KeyId {
        int section;
        QString key; // folded
        bool operator==(const KeyId& other) const {
            return section == other.section && key == other.key;
        }
    };
    // A short-text hash: names are a few characters, for which Qt's general string hash
    // costs more than everything else a parse or a grouped write does.
    struct NameHash {
        size_t operator()(const QString& text) const noexcept;
        size_t operator()(const KeyId& id) const noexcept;
    };

    int appendSection(const QString& name, const QString& folded);
    // The first section of that name, appended with the given header line when missing.
    int sectionFor(const QString& section, QByteArrayView encodedHeader);
    void setKey(int section, const IniEntry& entry, QByteArray line);

    std::vector<QByteArray> preamble_; // lines before the first section header
    std::vector<Section> sections_;
    std::unordered_map<QString, int, NameHash> sectionIndex_; // folded name -> first section
    std::unordered_map<KeyId, Key, NameHash> keys_; // a first section's key -> its first line
    bool crlf_ = true;                              // line ending of new lines, taken from the file
    bool finalNewline_ = true;                      // whether the last line ends with a line break
};

} // namespace portiqa
