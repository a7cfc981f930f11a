#pragma once

// Texts a window cannot show whole at its geometry: labels, check boxes, radio buttons, push
// buttons, group box titles and every item of a combo box, measured with the font each widget
// draws with against the room its style gives the text.

#include <QStringList>

class QWidget;

namespace portiqa::test {

// One line per clipped text: the widget's name, the text, the width it needs and has.
QStringList clippedTexts(const QWidget& window);

} // namespace portiqa::test
