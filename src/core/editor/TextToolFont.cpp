#include "core/editor/TextToolFont.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

namespace portiqa::TextToolFont {

namespace {
const QString kSongFace = QStringLiteral("宋体");
} // namespace

void registerSongFace() {
    if (QFont::substitutes(kSongFace).isEmpty()) {
        QFont::insertSubstitutions(
            kSongFace, {QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Micro Hei")});
    }
}

QFont initial() {
    registerSongFace();
    QFont font(kSongFace);
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

QFont dialogPreset() {
    registerSongFace();
    QFont font(kSongFace);
    font.setPointSize(9);
    // The dialog lists real families: name the one "宋体" stands for here, so it is selected.
    const QString actual = QFontInfo(font).family();
    if (!actual.isEmpty()) {
        font.setFamily(actual);
    }
    return font;
}

QSize characterCell(const QFont& font) {
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(QLatin1Char('a')), metrics.height()};
}

} // namespace portiqa::TextToolFont
