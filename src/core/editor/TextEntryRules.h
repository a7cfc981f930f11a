#pragma once

// The geometry rules of the text tool's entry box, which sits inside the picture area where
// the line will be written.
//
// The box grows with the typed text by its length in the program's GBK byte count: a Latin
// letter counts one, a Chinese character two (characters GBK lacks count as their GB18030
// length, never less than one), so the box always keeps room for what is typed.

#include <QPoint>
#include <QString>

namespace portiqa::TextEntryRules {

// The character cell of the text tool's font ("a") before a font is chosen.
constexpr int InitialCharWidth = 6;
constexpr int InitialCharHeight = 12;
// The written text lies this far below the box's top edge, where the box shows it.
constexpr int WriteDrop = 3;

int gbkByteLength(const QString& text);
// charWidth x 2 + charWidth x the text's byte length.
int boxWidth(int charWidth, const QString& text);
// The box's top-left for a click at `click`: (x, y - charHeight + 4).
QPoint boxTopLeftForClick(QPoint click, int charHeight);
// Where the line is written for a box whose top-left is `boxTopLeft`.
QPoint writeOrigin(QPoint boxTopLeft);
// The box's height for a font whose "a" is charHeight high.
int boxHeight(int charHeight);

} // namespace portiqa::TextEntryRules
