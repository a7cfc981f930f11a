#pragma once

// The current picture and its halvings. Level 0 is the picture itself as opaque RGB32 (a
// picture with alpha is blended over white once, here); every further level is the exact 2 x 2
// average of the level below (an odd last row or column averages the pixels it has). The
// resampler reads the level just at or above the resolution it needs, so its cost per output
// pixel does not grow with the picture's size.
//
// A pyramid is immutable once built, so it may be built on a worker thread and handed to the
// GUI thread by shared pointer.

#include <QImage>
#include <QSize>

#include <memory>
#include <vector>

namespace portiqa {

class PicturePyramid {
public:
    // Builds all levels. Returns nullptr for a null picture or when memory runs out.
    static std::shared_ptr<const PicturePyramid> build(const QImage& picture);

    // The picture as opaque RGB32, alpha already blended over white.
    static QImage opaqueOverWhite(const QImage& picture);

    const QImage& base() const { return levels_.front(); }
    QSize size() const { return levels_.front().size(); }
    int levelCount() const { return static_cast<int>(levels_.size()); }
    const QImage& level(int index) const { return levels_.at(static_cast<size_t>(index)); }

private:
    explicit PicturePyramid(QImage base);
    bool buildLevels();

    std::vector<QImage> levels_;
};

using PicturePyramidPtr = std::shared_ptr<const PicturePyramid>;

} // namespace portiqa
