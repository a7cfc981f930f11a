#pragma once

// The text tool's font. Its design face is "宋体" (a Song face) 12 pixels high; on this
// platform "宋体" is mapped to AR PL UMing (Debian's fonts-arphic-uming, a Song face with
// the GB2312 set), falling back to WenQuanYi Micro Hei, so the name the operator sees in the
// font dialog stays "宋体".

#include <QFont>
#include <QSize>

namespace portiqa::TextToolFont {

// Registers the "宋体" substitution once; safe to call again.
void registerSongFace();
// "宋体", 12 pixels high, normal weight: the font at start.
QFont initial();
// The face and size the font dialog starts with: "宋体", 9 points.
QFont dialogPreset();
// The width and height of "a" in the font (charWidth, charHeight).
QSize characterCell(const QFont& font);

} // namespace portiqa::TextToolFont
