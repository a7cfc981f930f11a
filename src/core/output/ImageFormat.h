#pragma once

// The output formats and the codes that select them. The codes are the program's own numbering
// (4 is not used) and travel as plain integers between the save paths and the codec.

namespace portiqa {

enum class ImageFormat : int { Bmp = 1, Jpeg = 2, Gif = 3, Png = 5 };

} // namespace portiqa
