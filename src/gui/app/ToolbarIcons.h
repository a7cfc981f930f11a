#pragma once

// The toolbar's 24 x 24 pictures, drawn with simple strokes so they stay crisp and need no
// image files.

#include <QIcon>

namespace portiqa {

QIcon toolbarIcon(const char* name);
QIcon windowIcon();

} // namespace portiqa
