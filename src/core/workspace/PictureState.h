#pragma once

// The workspace's picture with the zoom and view it was shown at: what a load replaces (so a
// load that fails after its preview can put everything back) and what the editor's undo keeps
// of a picture that a commit replaced whole.

#include "core/workspace/PicturePyramid.h"

#include <QSize>

namespace portiqa {

struct PictureState {
    PicturePyramidPtr picture;
    QSize pictureSize;
    bool preview = false;
    bool loaded = false;
    double zoom = 1.0;
    double fractionX = 0.5;
    double fractionY = 0.5;
};

} // namespace portiqa
