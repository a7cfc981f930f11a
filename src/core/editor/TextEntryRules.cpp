#include "core/editor/TextEntryRules.h"

#include <QStringEncoder>

namespace portiqa::TextEntryRules {

int gbkByteLength(const QString& text) {
    QStringEncoder encoder("GB18030");
    if (!encoder.isValid()) {
        // Without the converter, count as GBK would: one byte below 0x80, two above.
        int bytes = 0;
        for (const QChar c : text) {
            bytes += c.unicode() < 0x80 ? 1 : 2;
        }
        return bytes;
    }
    const QByteArray bytes = encoder.encode(text);
    return static_cast<int>(bytes.size());
}

int boxWidth(int charWidth, const QString& text) {
    return charWidth * 2 + charWidth * gbkByteLength(text);
}

QPoint boxTopLeftForClick(QPoint click, int charHeight) {
    return {click.x(), click.y() - charHeight + 4};
}

QPoint writeOrigin(QPoint boxTopLeft) {
    return {boxTopLeft.x(), boxTopLeft.y() + WriteDrop};
}

int boxHeight(int charHeight) {
    return charHeight + 6;
}

} // namespace portiqa::TextEntryRules
