#pragma once

// The colour rules of the editor: one colour serves the brush and the text, and the text
// entry box shows its text on the complement of that colour so the typing stays readable.

#include <QColor>

namespace portiqa::EditorColours {

// Each of red, green and blue replaced by 255 minus it; middle grey 0x808080, whose
// complement is almost the same grey, gets white instead.
QColor entryBackground(const QColor& textColour);

} // namespace portiqa::EditorColours
