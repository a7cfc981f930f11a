#pragma once

// The output picture's size in pixels (also the capture frame's size on screen) and the
// largest JPEG file size in KB. Edited through the capture settings group of the main window.

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace portiqa {

struct OutputSpec {
    std::int32_t outputWidth = 160;
    std::int32_t outputHeight = 210;
    double sizeLimitKb = 500;

    // Sizes outside this range are kept as typed but nothing is captured or saved with them:
    // the frame stays at the last usable size until the size is usable again.
    static constexpr std::int32_t kMaxSide = 10000;
    static bool usableSide(std::int32_t side) { return side >= 1 && side <= kMaxSide; }
    bool usable() const { return usableSide(outputWidth) && usableSide(outputHeight); }
};

// The status hint shown while the typed output size cannot be used.
QString unusableOutputSizeHint();

// The size list's entries in index order, as the size-type list shows them.
const QStringList& sizePresetNames();

// The size types of the size list: index 0..7. nullopt for 自定义 and unknown indices.
std::optional<QSize> sizePreset(int index);

// The resolution a size is printed at, in dots per inch: the identity-card photo (358 x 441)
// at 350 dpi, every other size type and any custom size at 300 dpi.
int standardResolution(QSize outputSize);

// The output width or height typed into its edit: the leading number, truncated.
std::int32_t outputSideFromText(const QString& text);

// The size limit edit's text with every space dropped, read as a number.
double sizeLimitFromText(const QString& text);

} // namespace portiqa
