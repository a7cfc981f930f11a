// Real portraits framed by face at the other standard sizes, as the window and `portiqa crop`
// frame them: a wider or smaller frame brings more of a busy room beside the shoulders into
// the picture, where GrabCut and the plain model of the wall can both take shelves or a
// backdrop for the person. Those must be refused; plain walls, and a textured wall whose
// separation agrees closely with the plain model, are still replaced.

#include "core/crop/PictureCropper.h"
#include "core/face/FaceDetector.h"

#include <QString>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

TEST(BackgroundAtOtherSizes, BusyRoomsBesideTheShouldersAreRefusedAndPlainWallsReplaced) {
    FaceDetector detector;
    ASSERT_TRUE(detector.ready()) << detector.error().toStdString();
    struct Case {
        const char* portrait;
        QSize size;
        bool refused;
    } cases[] = {
        {"opencv_230501201_0", {160, 210}, true}, // dark foliage above the hair
        {"bieber_small_0", {413, 626}, true},     // a lorry's sign at the lower left
        {"sample2_0", {260, 390}, true},          // a purple backdrop beside her arm
        {"cage_0", {160, 210}, false},
        {"sean_connery_0", {413, 626}, false},
        {"opencv_227943776_0", {160, 210}, false}, // a textured wall, separated cleanly
    };
    for (const Case& c : cases) {
        CropSettings settings;
        settings.outputSize = c.size;
        settings.extension = ".png";
        settings.background = BackgroundColour::red();
        PictureCropper cropper(settings, &detector);
        CroppedPicture result;
        const QImage framed =
            cropper.frame(QStringLiteral(PORTIQA_FIXTURES "/faces/%1.jpg").arg(c.portrait), result);
        ASSERT_EQ(framed.size(), c.size) << c.portrait;
        EXPECT_EQ(!result.backgroundRefusal.isEmpty(), c.refused)
            << c.portrait << " " << c.size.width() << "x" << c.size.height() << ": "
            << result.backgroundRefusal.toStdString();
    }
}

} // namespace
} // namespace portiqa
