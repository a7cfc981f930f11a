#include "core/background/FramedBackground.h"

#include "core/workspace/PicturePyramid.h"

namespace portiqa {

BackgroundReplacement replaceFramedBackground(const QImage& framed, const QRect& part, QRgb colour,
                                              const FaceSearch& findFaces) {
    const QRect inside = part.isNull() ? framed.rect() : part.intersected(framed.rect());
    if (inside.isEmpty()) {
        BackgroundReplacement none;
        none.picture = framed;
        return none;
    }
    const QImage picture = inside == framed.rect() ? framed : framed.copy(inside);
    const PicturePyramidPtr pyramid = PicturePyramid::build(picture);
    const DetectedFaces faces = pyramid ? findFaces(*pyramid, picture.size()) : DetectedFaces();
    const BackgroundReplacement replaced = replaceBackground(picture, faces, colour);
    return inside == framed.rect() ? replaced : placedInFrame(framed, inside, replaced, colour);
}

} // namespace portiqa
