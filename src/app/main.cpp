#include "gui/app/PortiqaApp.h"
#include "platform/DisplayCheck.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Portiqa 2.7\n");
            return 0;
        }
    }
    const QString noDisplay = portiqa::platform::missingDisplayMessage();
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(noDisplay));
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Portiqa"));
    QApplication::setApplicationVersion(QStringLiteral("2.7"));

    QString error;
    const portiqa::LaunchOptions options =
        portiqa::parseLaunchOptions(QApplication::arguments(), &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "portiqa: %s\n", qPrintable(error));
        return 2;
    }
    portiqa::PortiqaApp portiqaApp(options);
    portiqaApp.start();
    return app.exec();
}
