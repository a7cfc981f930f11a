#pragma once

// The background of a captured frame replaced, as the window shows it and the crop command
// writes it: faces are found in the frame's pixels and the person separated there. Where the
// frame passes the photo's edge, only the photo's part is separated (the band is no wall to
// learn from, and its straight edge no outline), and the band takes the colour too.

#include "core/background/BackgroundReplacer.h"
#include "core/face/FaceSearch.h"

#include <QRect>

namespace portiqa {

// `part` is the photo's part of `framed` (PhotoWorkspace::framedPicturePart()); null for all.
BackgroundReplacement replaceFramedBackground(const QImage& framed, const QRect& part, QRgb colour,
                                              const FaceSearch& findFaces);

} // namespace portiqa
