#include "core/ini/IniDocument.h"

namespace portiqa {

namespace {

const char* const kEncoding = "GB18030";

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString trimBlanks(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text.at(start))) {
        ++start;
    }
    while (end > start && isBlank(text.at(end - 1))) {
        --end;
    }
    return text.mid(start, end - start);
}

// The value as a read returns it: trimmed, and without one pair of surrounding quotes.
QString readForm(const QString& rawValue) {
    QString value = trimBlanks(rawValue);
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
        value.endsWith(QLatin1Char('"'))) {
        value = value.mid(1, value.size() - 2);
    }
    return value;
}

bool isHeader(const QString& trimmed) {
    return trimmed.startsWith(QLatin1Char('['));
}

QString headerName(const QString& trimmed) {
    const qsizetype close = trimmed.lastIndexOf(QLatin1Char(']'));
    const QString inner = close > 0 ? trimmed.mid(1, close - 1) : trimmed.mid(1);
    return trimBlanks(inner);
}

// Splits "key = value"; false for blank lines, comments and lines without a key name.
bool splitKeyLine(const QString& trimmed, QString* key, QString* value) {
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) ||
        trimmed.startsWith(QLatin1Char('#'))) {
        return false;
    }
    const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
    *key = trimBlanks(eq < 0 ? trimmed : trimmed.left(eq));
    *value = eq < 0 ? QString() : readForm(trimmed.mid(eq + 1));
    return !key->isEmpty();
}

QByteArray withoutCarriageReturn(const QByteArray& raw) {
    return raw.endsWith('\r') ? raw.left(raw.size() - 1) : raw;
}

bool hasLineBreakOrNul(const QString& text) {
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.unicode() == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

IniDocument::IniDocument() = default;
IniDocument::IniDocument(IniDocument&&) noexcept = default;
IniDocument& IniDocument::operator=(IniDocument&&) noexcept = default;
IniDocument::~IniDocument() = default;

QString IniDocument::foldName(const QString& name) {
    QString folded = trimBlanks(name);
    for (QChar& c : folded) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) {
            c = QChar(c.unicode() + ('a' - 'A'));
        }
    }
    return folded;
}

QByteArray IniDocument::encode(const QString& text) {
    QStringEncoder encoder(kEncoding, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

QString IniDocument::decode(const QByteArray& bytes) {
    QStringDecoder decoder(kEncoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

IniDocument IniDocument::parse(const QByteArray& bytes) {
    IniDocument doc;
    if (bytes.isEmpty()) {
        return doc;
    }
    QList<QByteArray> rawLines = bytes.split('\n');
    doc.m_finalNewline = bytes.endsWith('\n');
    if (doc.m_finalNewline) {
        rawLines.removeLast(); // the empty piece after the last line break
    }
    // New lines follow the file's own line ending; a file without any line break gets CRLF.
    doc.m_crlf = rawLines.isEmpty() || rawLines.first().endsWith('\r') ||
                 (rawLines.size() == 1 && !doc.m_finalNewline);
    QStringDecoder decoder(kEncoding, QStringConverter::Flag::Stateless);
    Section* current = nullptr;
    for (const QByteArray& raw : rawLines) {
        const QString trimmed = trimBlanks(decoder.decode(withoutCarriageReturn(raw)));
        if (isHeader(trimmed)) {
            current = &doc.appendSection(headerName(trimmed));
            current->header = raw;
            continue;
        }
        if (current == nullptr) {
            doc.m_preamble.push_back(raw);
            continue;
        }
        const int index = static_cast<int>(current->lines.size());
        current->lines.push_back(raw);
        QString key;
        QString value;
        if (splitKeyLine(trimmed, &key, &value)) {
            current->lastKeyLine = index;
            const QString folded = foldName(key);
            if (!current->keys.contains(folded)) {
                current->keys.insert(folded, Section::Key{index, value});
            }
        }
    }
    return doc;
}

IniDocument::Section& IniDocument::appendSection(const QString& name) {
    const QString folded = foldName(name);
    m_sections.emplace_back();
    Section& section = m_sections.back();
    section.name = trimBlanks(name);
    if (!m_sectionIndex.contains(folded)) {
        m_sectionIndex.insert(folded, static_cast<int>(m_sections.size() - 1));
    }
    return section;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const auto sectionIt = m_sectionIndex.constFind(foldName(section));
    if (sectionIt == m_sectionIndex.constEnd()) {
        return std::nullopt;
    }
    const Section& found = m_sections[static_cast<size_t>(*sectionIt)];
    const auto keyIt = found.keys.constFind(foldName(key));
    if (keyIt == found.keys.constEnd()) {
        return std::nullopt;
    }
    return keyIt->value;
}

QByteArray IniDocument::newLine(const QString& text) {
    if (!m_encoder) {
        m_encoder.emplace(kEncoding, QStringConverter::Flag::Stateless);
    }
    QByteArray raw = m_encoder->encode(text);
    if (m_crlf) {
        raw.append('\r');
    }
    return raw;
}

void IniDocument::set(const QString& section, const QString& key, const QString& value) {
    const QString foldedSection = foldName(section);
    auto sectionIt = m_sectionIndex.find(foldedSection);
    const bool lastSection =
        sectionIt == m_sectionIndex.end() || *sectionIt + 1 == static_cast<int>(m_sections.size());
    if (sectionIt == m_sectionIndex.end()) {
        Section& created = appendSection(section);
        created.header = newLine(QLatin1Char('[') + trimBlanks(section) + QLatin1Char(']'));
        sectionIt = m_sectionIndex.find(foldedSection);
    }
    Section& target = m_sections[static_cast<size_t>(*sectionIt)];
    const QString foldedKey = foldName(key);
    const QByteArray raw = newLine(trimBlanks(key) + QLatin1Char('=') + value);
    auto keyIt = target.keys.find(foldedKey);
    if (keyIt != target.keys.end()) {
        target.lines[static_cast<size_t>(keyIt->line)] = raw;
        keyIt->value = readForm(value);
        return;
    }
    const int at = target.lastKeyLine + 1;
    if (at < static_cast<int>(target.lines.size())) {
        for (auto it = target.keys.begin(); it != target.keys.end(); ++it) {
            if (it->line >= at) {
                ++it->line;
            }
        }
    } else if (lastSection) {
        m_finalNewline = true; // the new line is now the file's last line
    }
    target.lines.insert(target.lines.begin() + at, raw);
    target.lastKeyLine = at;
    target.keys.insert(foldedKey, Section::Key{at, readForm(value)});
}

QStringList IniDocument::sectionNames() const {
    QStringList names;
    for (size_t i = 0; i < m_sections.size(); ++i) {
        const Section& section = m_sections[i];
        if (m_sectionIndex.value(foldName(section.name)) == static_cast<int>(i)) {
            names.append(section.name);
        }
    }
    return names;
}

QByteArray IniDocument::toBytes() const {
    qsizetype total = 0;
    size_t count = m_preamble.size();
    for (const QByteArray& line : m_preamble) {
        total += line.size() + 1;
    }
    for (const Section& section : m_sections) {
        total += section.header.size() + 1;
        count += 1 + section.lines.size();
        for (const QByteArray& line : section.lines) {
            total += line.size() + 1;
        }
    }
    QByteArray out;
    out.reserve(total);
    size_t written = 0;
    const auto put = [&](const QByteArray& line) {
        out.append(line);
        ++written;
        if (written < count || m_finalNewline) {
            out.append('\n');
        }
    };
    for (const QByteArray& line : m_preamble) {
        put(line);
    }
    for (const Section& section : m_sections) {
        put(section.header);
        for (const QByteArray& line : section.lines) {
            put(line);
        }
    }
    return out;
}

QString IniDocument::checkEntry(const QString& section, const QString& key, const QString& value) {
    if (trimBlanks(section).isEmpty() || foldName(key).isEmpty()) {
        return QStringLiteral("节名或键名为空");
    }
    if (hasLineBreakOrNul(section) || hasLineBreakOrNul(key) || hasLineBreakOrNul(value)) {
        return QStringLiteral("内容中含有换行符");
    }
    if (section.contains(QLatin1Char(']'))) {
        return QStringLiteral("节名中含有“]”");
    }
    const QString trimmedKey = trimBlanks(key);
    if (trimmedKey.contains(QLatin1Char('=')) || trimmedKey.startsWith(QLatin1Char('[')) ||
        trimmedKey.startsWith(QLatin1Char(';')) || trimmedKey.startsWith(QLatin1Char('#'))) {
        return QStringLiteral("键名“%1”不能写入").arg(trimmedKey);
    }
    return QString();
}

} // namespace portiqa
