#include "core/ini/IniDocument.h"

#include <algorithm>

namespace portiqa {

namespace {

const char* const kEncoding = "GB18030";

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView trimBlanks(QStringView text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text.at(start))) {
        ++start;
    }
    while (end > start && isBlank(text.at(end - 1))) {
        --end;
    }
    return text.sliced(start, end - start);
}

QString trimBlanks(const QString& text) {
    const QStringView trimmed = trimBlanks(QStringView(text));
    return trimmed.size() == text.size() ? text : trimmed.toString();
}

// The value as a read returns it: trimmed, and without one pair of surrounding quotes.
QString readForm(QStringView rawValue) {
    QStringView value = trimBlanks(rawValue);
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
        value.endsWith(QLatin1Char('"'))) {
        value = value.sliced(1, value.size() - 2);
    }
    return value.toString();
}

bool isHeader(QStringView trimmed) {
    return trimmed.startsWith(QLatin1Char('['));
}

QString headerName(QStringView trimmed) {
    const qsizetype close = trimmed.lastIndexOf(QLatin1Char(']'));
    const QStringView inner = close > 0 ? trimmed.sliced(1, close - 1) : trimmed.sliced(1);
    return trimBlanks(inner).toString();
}

// Splits "key = value"; false for blank lines, comments and lines without a key name.
bool splitKeyLine(QStringView trimmed, QString* key, QString* value) {
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) ||
        trimmed.startsWith(QLatin1Char('#'))) {
        return false;
    }
    const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
    const QStringView name = trimBlanks(eq < 0 ? trimmed : trimmed.first(eq));
    if (name.isEmpty()) {
        return false;
    }
    *key = name.toString();
    *value = eq < 0 ? QString() : readForm(trimmed.sliced(eq + 1));
    return true;
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

size_t IniDocument::NameHash::operator()(const QString& text) const noexcept {
    // FNV-1a over the UTF-16 units.
    size_t hash = 14695981039346656037ULL;
    for (const QChar c : text) {
        hash = (hash ^ c.unicode()) * 1099511628211ULL;
    }
    return hash;
}

size_t IniDocument::NameHash::operator()(const KeyId& id) const noexcept {
    return (*this)(id.key) ^ (static_cast<size_t>(id.section) * 0x9E3779B97F4A7C15ULL);
}

QString IniDocument::foldName(const QString& name) {
    QString folded = trimBlanks(name);
    const auto upper = [](QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z'); };
    if (std::none_of(folded.cbegin(), folded.cend(), upper)) {
        return folded; // shares the text: most names need no change
    }
    for (QChar& c : folded) {
        if (upper(c)) {
            c = QChar(c.unicode() + ('a' - 'A'));
        }
    }
    return folded;
}

QByteArray IniDocument::encode(const QString& text) {
    QStringEncoder encoder(kEncoding, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

namespace {

// The decoder drops an incomplete character at the very end of its input without a trace, but
// shows the same bytes as U+FFFD when anything follows them. A line must read the same whether
// or not it ends the file (a write may put another line after it), so text is always decoded
// as if a line break followed it.
QString decodeAsLine(QStringDecoder& decoder, const QByteArray& bytes) {
    QString text = decoder.decode(bytes + '\n');
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text;
}

} // namespace

QString IniDocument::decode(const QByteArray& bytes) {
    QStringDecoder decoder(kEncoding, QStringConverter::Flag::Stateless);
    return decodeAsLine(decoder, bytes);
}

namespace {

// The decoded text of each raw line. The whole file is converted in one call (converting line
// by line costs more than the parse); a line break never occurs inside a GB18030 character,
// so the decoded lines match the raw ones, which is checked before they are trusted.
QStringList decodedLines(const QByteArray& bytes, const QList<QByteArray>& rawLines) {
    QStringDecoder decoder(kEncoding, QStringConverter::Flag::Stateless);
    QStringList lines = decodeAsLine(decoder, bytes).split(QLatin1Char('\n'));
    if (bytes.endsWith('\n') && !lines.isEmpty()) {
        lines.removeLast();
    }
    if (lines.size() != rawLines.size()) {
        lines.clear();
        for (const QByteArray& raw : rawLines) {
            lines.append(decodeAsLine(decoder, raw));
        }
    }
    return lines;
}

} // namespace

IniDocument IniDocument::parse(const QByteArray& bytes) {
    IniDocument doc;
    if (bytes.isEmpty()) {
        return doc;
    }
    QList<QByteArray> rawLines = bytes.split('\n');
    doc.finalNewline_ = bytes.endsWith('\n');
    if (doc.finalNewline_) {
        rawLines.removeLast(); // the empty piece after the last line break
    }
    // New lines follow the file's own line ending; a file without any line break gets CRLF.
    doc.crlf_ = rawLines.isEmpty() || rawLines.first().endsWith('\r') ||
                (rawLines.size() == 1 && !doc.finalNewline_);
    const QStringList texts = decodedLines(bytes, rawLines);
    doc.keys_.reserve(static_cast<size_t>(rawLines.size()));
    doc.sectionIndex_.reserve(static_cast<size_t>(rawLines.size() / 2));
    int current = -1;
    bool indexed = false; // the current section is the first of its name
    for (qsizetype i = 0; i < rawLines.size(); ++i) {
        const QByteArray& raw = rawLines.at(i);
        QStringView text(texts.at(i));
        if (text.endsWith(QLatin1Char('\r'))) {
            text.chop(1);
        }
        const QStringView trimmed = trimBlanks(text);
        if (isHeader(trimmed)) {
            const QString name = headerName(trimmed);
            current = doc.appendSection(name, foldName(name));
            doc.sections_.back().header = raw;
            indexed = doc.sectionIndex_.at(foldName(name)) == current;
            continue;
        }
        if (current < 0) {
            doc.preamble_.push_back(raw);
            continue;
        }
        Section& section = doc.sections_.back();
        const int index = static_cast<int>(section.lines.size());
        section.lines.push_back(raw);
        QString key;
        QString value;
        if (splitKeyLine(trimmed, &key, &value)) {
            section.lastKeyLine = index;
            if (indexed) {
                doc.keys_.try_emplace(KeyId{current, foldName(key)}, Key{index, value});
            }
        }
    }
    return doc;
}

int IniDocument::appendSection(const QString& name, const QString& folded) {
    const int index = static_cast<int>(sections_.size());
    sections_.emplace_back();
    sections_.back().name = trimBlanks(name);
    sectionIndex_.try_emplace(folded, index);
    return index;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const auto sectionIt = sectionIndex_.find(foldName(section));
    if (sectionIt == sectionIndex_.end()) {
        return std::nullopt;
    }
    const auto keyIt = keys_.find(KeyId{sectionIt->second, foldName(key)});
    if (keyIt == keys_.end()) {
        return std::nullopt;
    }
    return keyIt->second.value;
}

void IniDocument::set(const QList<IniEntry>& entries) {
    // Every new line is encoded in one call, as a header line and a key line per entry; the
    // encoded text splits at its line breaks since the texts hold none of their own.
    QString text;
    qsizetype length = 0;
    for (const IniEntry& entry : entries) {
        length += entry.section.size() + entry.key.size() + entry.value.size() + 5;
    }
    text.reserve(length);
    for (const IniEntry& entry : entries) {
        text.append(QLatin1Char('['));
        text.append(trimBlanks(QStringView(entry.section)));
        text.append(QLatin1String("]\n"));
        text.append(trimBlanks(QStringView(entry.key)));
        text.append(QLatin1Char('='));
        text.append(entry.value);
        text.append(QLatin1Char('\n'));
    }
    const QByteArray encoded = encode(text);
    const QByteArrayView ending = crlf_ ? QByteArrayView("\r") : QByteArrayView();
    qsizetype pos = 0;
    const auto nextLine = [&]() {
        const qsizetype end = encoded.indexOf('\n', pos);
        const QByteArrayView line(encoded.constData() + pos, end - pos);
        pos = end + 1;
        return line;
    };
    keys_.reserve(keys_.size() + static_cast<size_t>(entries.size()));
    sectionIndex_.reserve(sectionIndex_.size() + static_cast<size_t>(entries.size() / 2));
    const QString* lastSection = nullptr;
    int index = -1;
    for (const IniEntry& entry : entries) {
        const QByteArrayView header = nextLine();
        const QByteArrayView keyLine = nextLine();
        // Runs of keys for one section (the usual case) look the section up once.
        if (lastSection == nullptr || *lastSection != entry.section) {
            index = sectionFor(entry.section, header);
            lastSection = &entry.section;
        }
        QByteArray line;
        line.reserve(keyLine.size() + ending.size());
        line.append(keyLine).append(ending);
        setKey(index, entry, std::move(line));
    }
}

int IniDocument::sectionFor(const QString& section, QByteArrayView encodedHeader) {
    const QString folded = foldName(section);
    const auto found = sectionIndex_.find(folded);
    if (found != sectionIndex_.end()) {
        return found->second;
    }
    const int index = appendSection(section, folded);
    QByteArray& header = sections_.back().header;
    header = encodedHeader.toByteArray();
    if (crlf_) {
        header.append('\r');
    }
    return index;
}

void IniDocument::setKey(int index, const IniEntry& entry, QByteArray line) {
    Section& target = sections_[static_cast<size_t>(index)];
    KeyId id{index, foldName(entry.key)};
    const auto keyIt = keys_.find(id);
    if (keyIt != keys_.end()) {
        target.lines[static_cast<size_t>(keyIt->second.line)] = std::move(line);
        keyIt->second.value = readForm(entry.value);
        return;
    }
    const int at = target.lastKeyLine + 1;
    if (at == static_cast<int>(target.lines.size()) &&
        index + 1 == static_cast<int>(sections_.size())) {
        finalNewline_ = true; // the new line is now the file's last line
    }
    target.lines.insert(target.lines.begin() + at, std::move(line));
    target.lastKeyLine = at;
    keys_.emplace(std::move(id), Key{at, readForm(entry.value)});
}

QStringList IniDocument::sectionNames() const {
    QStringList names;
    for (size_t i = 0; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        if (sectionIndex_.at(foldName(section.name)) == static_cast<int>(i)) {
            names.append(section.name);
        }
    }
    return names;
}

QByteArray IniDocument::toBytes() const {
    qsizetype total = 0;
    size_t count = preamble_.size();
    for (const QByteArray& line : preamble_) {
        total += line.size() + 1;
    }
    for (const Section& section : sections_) {
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
        if (written < count || finalNewline_) {
            out.append('\n');
        }
    };
    for (const QByteArray& line : preamble_) {
        put(line);
    }
    for (const Section& section : sections_) {
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
