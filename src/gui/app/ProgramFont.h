#pragma once

// The program's one font. Every window was laid out for CJK text of 12 pixels (9 points on a
// 96-dpi screen), so the font is chosen here rather than left to the desktop: WenQuanYi Micro
// Hei (Debian's fonts-wqy-microhei) at that size, its Latin letters and digits narrow enough
// for the fixed geometry, with the HanaMin faces (fonts-hanazono) behind it for names beyond
// the common characters, such as 𠮷 in CJK Extension B.

class QFont;

namespace portiqa {

// The font the program's windows use.
QFont programFont();

// Makes programFont() the application's font; before the first window is made.
void applyProgramFont();

} // namespace portiqa
