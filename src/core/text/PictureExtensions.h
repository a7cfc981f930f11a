#pragma once

// The picture types the program opens, lists and writes, told by the file name's extension.

#include <QString>

namespace portiqa {

// True for jpg, jpeg, bmp, gif and png in any letter case; `extension` is given without its dot.
bool isPictureExtension(const QString& extension);

// The text after the last dot, or the whole text when there is no dot (a file named "gif").
QString textAfterLastDot(const QString& name);

} // namespace portiqa
