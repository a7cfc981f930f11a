#include "platform/DisplayCheck.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv) {
    const QString noDisplay = portiqa::platform::missingDisplayMessage();
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(noDisplay));
        return 2;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    return app.exec();
}
