#include "gui/app/ProgramFont.h"

#include <QApplication>
#include <QFont>
#include <QStringList>

namespace portiqa {

QFont programFont() {
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("HanaMinA"),
                      QStringLiteral("HanaMinB")});
    font.setPixelSize(12);
    return font;
}

void applyProgramFont() {
    QApplication::setFont(programFont());
}

} // namespace portiqa
