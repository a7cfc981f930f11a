// The INI document on arbitrary file bytes (GB18030 text or not): parse, look keys up, write
// one key, and read the written text back.
//
// Input: the file's bytes. When a 0 byte is present, what follows the last one picks the key
// to write as "section\nkey\nvalue" (UTF-8); otherwise a key of the first section is written.

#include "FuzzSupport.h"

#include "core/ini/IniDocument.h"

using namespace portiqa;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::bytesOf(data, size);
    const qsizetype split = input.lastIndexOf('\0');
    const QByteArray fileBytes = split < 0 ? input : input.left(split);

    IniDocument doc = IniDocument::parse(fileBytes);
    fuzz::require(doc.toBytes() == fileBytes, "an unchanged document writes back its bytes");
    const QStringList sections = doc.sectionNames();
    for (const QString& section : sections) {
        doc.value(section, QStringLiteral("图片名"));
    }

    IniEntry entry{sections.isEmpty() ? QStringLiteral("批截位置") : sections.first(),
                   QStringLiteral("批截位置"), QStringLiteral("新的值 ∑")};
    if (split >= 0) {
        const QStringList parts = QString::fromUtf8(input.mid(split + 1)).split(QLatin1Char('\n'));
        if (parts.size() == 3) {
            entry = {parts[0], parts[1], parts[2]};
        }
    }
    if (!IniDocument::checkEntry(entry.section, entry.key, entry.value).isEmpty()) {
        return 0; // the program refuses such a key before it reaches the document
    }
    doc.set({entry});
    const std::optional<QString> stored = doc.value(entry.section, entry.key);
    fuzz::require(stored.has_value(), "a written key reads back");
    if (split < 0) {
        fuzz::require(*stored == entry.value, "a plain value reads back unchanged");
    }
    const IniDocument reread = IniDocument::parse(doc.toBytes());
    fuzz::require(reread.value(entry.section, entry.key) == stored,
                  "a written key reads back from the file");
    const QStringList after = reread.sectionNames();
    fuzz::require(after.mid(0, sections.size()) == sections, "a write keeps the sections");
    return 0;
}
