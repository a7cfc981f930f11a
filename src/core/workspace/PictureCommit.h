#pragma once

// The workspace's commit and its reversal: how what was drawn on the composition becomes part
// of the picture, and how an EditStep puts the picture back.
//
// The picture takes the resolution it has on screen. At zoom 1 that is its own, and only the
// visible block changes: it is written into the picture in place and the pyramid is updated
// where the block reaches (PicturePyramid::patched), so the cost follows the picture area,
// not the picture, and the step keeps only the block's previous pixels. In place means the
// workspace lets go of its picture first: pixels nobody else holds are reused, others are
// copied once. At any other zoom the whole zoomed picture becomes the new picture: rebuilt()
// computes it from the pyramid with AreaResampler (the display's own pixels), writes the drawn
// block over it and builds its pyramid, on all cores of a worker thread, while the GUI thread
// runs the long-work wait. The step keeps the previous picture itself, shared, never copied.
//
// Part of PhotoWorkspace (its friend, since it replaces the workspace's picture); reached
// through PhotoWorkspace::commitEdits() and exchangeEdit(). GUI thread only, apart from
// rebuilt(), which touches nothing but its arguments.

#include "core/workspace/EditStep.h"
#include "core/workspace/PicturePyramid.h"

#include <QFuture>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <functional>

namespace portiqa {

class PhotoWorkspace;

class PictureCommit {
public:
    using LongWorkWait = std::function<void(const QFuture<PicturePyramidPtr>&)>;

    explicit PictureCommit(PhotoWorkspace& workspace) : workspace_(workspace) {}

    bool canCommit() const;
    qint64 stepBytes() const;
    bool commit(EditStep* replaced);
    bool exchange(EditStep& step);
    void setLongWorkWait(LongWorkWait wait) { wait_ = std::move(wait); }

    // The picture zoomed to `zoomedSize` with `block` written at `at` (zoomed coordinates),
    // as a new pyramid; null when memory runs out.
    static PicturePyramidPtr rebuilt(const PicturePyramidPtr& picture, QSize zoomedSize,
                                     const QImage& block, QPoint at);

private:
    PhotoWorkspace& workspace_;
    LongWorkWait wait_;
};

} // namespace portiqa
