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
#include <QHash>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <optional>
#include <vector>

namespace portiqa {

class IniDocument {
public:
    // Parses file bytes. Never fails: anything that is not a section line or a key line is
    // kept as an opaque line.
    static IniDocument parse(const QByteArray& bytes);

    // The value of a key, or nothing when the section or the key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Sets a key, creating the section (at the end of the file) and the key (after the last
    // key of the section) as needed. Names and the value must be valid for the file
    // (see checkEntry); callers check first.
    void set(const QString& section, const QString& key, const QString& value);

    // Section names in file order, first occurrences only, as written in the file (trimmed).
    QStringList sectionNames() const;

    QByteArray toBytes() const;
    bool isEmpty() const { return m_preamble.empty() && m_sections.empty(); }

    // Why a section name, key or value cannot be stored in a line-based file (a line break,
    // a bracket in a section name, '=' in a key...), or an empty text when it can.
    static QString checkEntry(const QString& section, const QString& key, const QString& value);

    // ASCII-only lower-casing with blanks trimmed: the comparison form of a name.
    static QString foldName(const QString& name);

    static QByteArray encode(const QString& text);
    static QString decode(const QByteArray& bytes);

    // Move-only: it owns a text converter.
    IniDocument();
    IniDocument(IniDocument&&) noexcept;
    IniDocument& operator=(IniDocument&&) noexcept;
    ~IniDocument();

private:
    struct Section {
        QByteArray header;             // the raw header line
        QString name;                  // as written, trimmed
        std::vector<QByteArray> lines; // raw lines after the header (no line terminator)
        struct Key {
            int line = -1;
            QString value; // decoded, trimmed and unquoted
        };
        QHash<QString, Key> keys; // folded key -> its first line
        int lastKeyLine = -1;     // a new key goes after this line
    };

    void addLineToSection(Section& section, const QByteArray& raw);
    Section& appendSection(const QString& name);
    QByteArray newLine(const QString& text);

    std::vector<QByteArray> m_preamble; // lines before the first section header
    std::vector<Section> m_sections;
    QHash<QString, int> m_sectionIndex;      // folded name -> first section
    bool m_crlf = true;                      // line ending of new lines, taken from the file
    bool m_finalNewline = true;              // whether the last line ends with a line break
    std::optional<QStringEncoder> m_encoder; // made on first use; opening one is not free
};

} // namespace portiqa
