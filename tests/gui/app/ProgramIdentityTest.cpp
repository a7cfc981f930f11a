// The icon a desktop shows for the program's windows comes from the carried PNGs: a missing or
// misnamed resource would leave every window with the platform's blank icon.

#include "gui/app/ProgramIdentity.h"
#include "core/app/BuildInfo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>

using namespace portiqa;

TEST(ProgramIdentity, IconAtEverySizeAndTheDesktopEntryNamed) {
    const QIcon icon = programIcon();
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
        const QImage drawn = icon.pixmap(QSize(size, size), 1.0).toImage();
        ASSERT_EQ(drawn.size(), QSize(size, size));
        EXPECT_GT(qAlpha(drawn.pixel(size / 2, size / 2)), 200); // drawn, not empty
    }

    applyProgramIdentity(*qApp);
    EXPECT_EQ(QGuiApplication::desktopFileName(), QString::fromUtf8(build::appId));
    EXPECT_FALSE(QApplication::windowIcon().isNull());
}
