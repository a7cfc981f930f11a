// Quick-shoot with a background colour set: each shot goes through the background change
// before it is written, replaced or left as it is with the reason in the status bar.

#include "../camera/CameraAppFixture.h"

#include "gui/background/BackgroundFeature.h"

#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

TEST(BackgroundQuickShot, AShotIsWrittenAfterItsBackgroundIsDealtWith) {
    test::CameraApp t;
    const QString folder = t.quickShootIntoFolder(QStringLiteral("out"));
    t.app->background().setColour(BackgroundColour::white(), false);
    CameraWindow* w = t.openCamera();
    w->quickBox()->click();
    t.camera->advance();
    t.app->window().setStatusHint(QString());
    w->shootButton()->click();
    const QImage written(folder + QStringLiteral("/0001.png"));
    ASSERT_FALSE(written.isNull());
    // The pattern's drawn figure on stripes is refused and written as taken, with the reason
    // in the status bar; a replacement would name the colour there instead. Either way the
    // shot went through the background change.
    const QString hint = t.app->window().statusHintText();
    EXPECT_TRUE(hint == QStringLiteral("背景颜色：白色") ||
                hint.endsWith(QStringLiteral("未更换背景颜色")))
        << hint.toStdString();
}

} // namespace
} // namespace portiqa
