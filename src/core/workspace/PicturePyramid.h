#pragma once

// The current picture and its halvings. Level 0 is the picture itself as opaque RGB32 (a
// picture with alpha is blended over white once, here); every further level is the exact 2 x 2
// average of the level below (an odd last row or column averages the pixels it has). The
// resampler reads the level just at or above the resolution it needs, so its cost per output
// pixel does not grow with the picture's size.
//
// A pyramid is immutable once built, so it may be built on a worker thread and handed to the
// GUI thread by shared pointer. A change of some pixels makes a new pyramid (patched()) that
// shares the levels' pixel buffers with the old one through QImage's implicit sharing: when
// nobody else holds the old one any more its buffers are written in place, otherwise they are
// copied first and every other holder keeps the pixels it had.

#include <QImage>
#include <QPoint>
#include <QSize>

#include <memory>
#include <vector>

namespace portiqa {

class PicturePyramid {
public:
    // Builds all levels (large levels on all cores). Returns nullptr for a null picture or
    // when memory runs out.
    static std::shared_ptr<const PicturePyramid> build(const QImage& picture);

    // `source` with `block` written into level 0 at `at` (the block must lie inside the
    // picture) and the levels above recomputed where they change, to the same pixels a full
    // build would give. `source` is released first, so buffers nobody else holds are reused
    // in place. `replaced` receives level 0's previous pixels under the block. Returns null
    // when memory runs out; `source` then holds the old pixels again.
    static std::shared_ptr<const PicturePyramid>
    patched(std::shared_ptr<const PicturePyramid>& source, QPoint at, const QImage& block,
            QImage* replaced);

    // The picture as opaque RGB32, alpha already blended over white.
    static QImage opaqueOverWhite(const QImage& picture);

    const QImage& base() const { return levels_.front(); }
    QSize size() const { return levels_.front().size(); }
    int levelCount() const { return static_cast<int>(levels_.size()); }
    const QImage& level(int index) const { return levels_.at(static_cast<size_t>(index)); }
    // The bytes of all levels' pixels.
    qint64 bytes() const;

private:
    explicit PicturePyramid(std::vector<QImage> levels);
    bool buildLevels();

    std::vector<QImage> levels_;
};

using PicturePyramidPtr = std::shared_ptr<const PicturePyramid>;

} // namespace portiqa
