// The background change on drawn head-and-shoulders pictures whose outline is known exactly:
// outside a 3-px band around the outline the person is untouched and the background is the
// new colour exactly; a busy background and a picture without a face are refused unchanged.

#include "core/background/BackgroundReplacer.h"
#include "core/background/BackgroundColour.h"
#include "core/face/FaceDetector.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <opencv2/core.hpp>

#include <cstdint>
#include <limits>

namespace portiqa {
namespace {

constexpr QSize kFrame(358, 441);

// The closed outline through `corners`.
QPainterPath outline(const QPolygonF& corners) {
    QPainterPath path;
    path.addPolygon(corners);
    path.closeSubpath();
    return path;
}

// The shirt's outline: shoulders falling to both sides and reaching the bottom edge.
QPainterPath shoulders() {
    return outline({{120, 320}, {238, 320}, {358, 380}, {358, 441}, {0, 441}, {0, 380}});
}

// A head (skin, with dark hair on top), a neck and shoulders in a shirt reaching the bottom
// edge, as an ID photo frames them, over `background`; `person` receives the person's mask.
QImage drawn(const std::function<void(QImage&)>& background, QImage* person) {
    QImage picture(kFrame, QImage::Format_RGB32);
    background(picture);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 30, 25)); // hair
    painter.drawEllipse(QRectF(79, 40, 200, 250));
    painter.setBrush(QColor(225, 180, 150)); // skin below the hairline
    painter.drawEllipse(QRectF(99, 95, 160, 190));
    painter.drawRect(QRectF(149, 270, 60, 60));
    painter.setBrush(QColor(40, 70, 140)); // shirt
    painter.drawPath(shoulders());
    painter.setBrush(QColor(30, 30, 30)); // eyes
    painter.drawEllipse(QPointF(139, 175), 8, 5);
    painter.drawEllipse(QPointF(219, 175), 8, 5);
    painter.end();
    if (person != nullptr) {
        *person = QImage(kFrame, QImage::Format_Grayscale8);
        person->fill(0);
        QPainter mask(person);
        mask.setPen(Qt::NoPen);
        mask.setBrush(Qt::white);
        mask.drawEllipse(QRectF(79, 40, 200, 250));
        mask.drawRect(QRectF(149, 270, 60, 60));
        mask.drawPath(shoulders());
    }
    return picture;
}

// The face as the detector reports it for the drawing: eyes, chin and cheeks.
DetectedFaces drawnFace() {
    DetectedFace face;
    face.box = QRectF(99, 110, 160, 160);
    face.eyesFound = true;
    face.landmarksFound = true;
    face.leftEye = QPointF(139, 175);
    face.rightEye = QPointF(219, 175);
    face.chin = QPointF(179, 284);
    face.leftCheek = QPointF(100, 200);
    face.rightCheek = QPointF(258, 200);
    return {face};
}

// Intersection over union of two person masks (person at grey 128 and above).
double overlap(const QImage& ours, const QImage& truth) {
    long both = 0;
    long either = 0;
    for (int y = 0; y < truth.height(); ++y) {
        for (int x = 0; x < truth.width(); ++x) {
            const bool a = qGray(ours.pixel(x, y)) >= 128;
            const bool b = qGray(truth.pixel(x, y)) >= 128;
            both += a && b ? 1 : 0;
            either += a || b ? 1 : 0;
        }
    }
    return either > 0 ? double(both) / double(either) : 0.0;
}

bool nearOutline(const QImage& person, int x, int y, int band) {
    const bool inside = qGray(person.pixel(x, y)) >= 128;
    for (int dy = -band; dy <= band; ++dy) {
        for (int dx = -band; dx <= band; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (person.rect().contains(p) && (qGray(person.pixel(p)) >= 128) != inside) {
                return true;
            }
        }
    }
    return false;
}

TEST(BackgroundReplacer, APlainBackgroundIsReplacedExactlyOutsideTheEdgeBand) {
    for (const QColor wall : {QColor(120, 170, 120), QColor(200, 200, 205), QColor(60, 60, 70)}) {
        QImage person;
        const QImage picture = drawn([&](QImage& p) { p.fill(wall); }, &person);
        const QRgb blue = *BackgroundColour::blue().colour;
        const BackgroundReplacement r = replaceBackground(picture, drawnFace(), blue);
        ASSERT_TRUE(r.replaced()) << qPrintable(r.refusal()) << " on " << qPrintable(wall.name());
        int wrong = 0;
        for (int y = 0; y < kFrame.height(); ++y) {
            for (int x = 0; x < kFrame.width(); ++x) {
                if (nearOutline(person, x, y, 3)) {
                    continue;
                }
                const bool inside = qGray(person.pixel(x, y)) >= 128;
                const QRgb expected = inside ? picture.pixel(x, y) : (blue | 0xff000000u);
                wrong += r.picture.pixel(x, y) != expected ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << "on " << qPrintable(wall.name());
    }
}

// A photo taken small and enlarged: its outline is a ramp some pixels deep where hair and wall
// mix. Those pixels take the new colour in their wall's share, so no rim of the old wall stays
// round the hair.
TEST(BackgroundReplacer, NoRimOfTheOldWallStaysRoundABlurredOutline) {
    const QColor wall(120, 170, 120);
    const QColor hair(40, 30, 25);
    QImage person;
    const QImage sharp = drawn([&](QImage& p) { p.fill(wall); }, &person);
    const QImage picture = sharp.scaled(kFrame / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               .scaled(kFrame, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               .convertToFormat(QImage::Format_RGB32);
    const QRgb red = *BackgroundColour::red().colour;
    const BackgroundReplacement r = replaceBackground(picture, drawnFace(), red);
    ASSERT_TRUE(r.replaced()) << qPrintable(r.refusal());
    // The hair along its outline: a mix of hair and red has no more green than the hair.
    int greenest = 0;
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < kFrame.width(); ++x) {
            if (sharp.pixel(x, y) == hair.rgb() && nearOutline(person, x, y, 4)) {
                greenest = std::max(greenest, qGreen(r.picture.pixel(x, y)));
            }
        }
    }
    EXPECT_LE(greenest, hair.green() + 15);
}

// A frame of the largest sizes is separated on a smaller copy, its edge brought back up: the
// person and the wall are still exact outside the (wider) edge band.
TEST(BackgroundReplacer, AFramePastAMillionPixelsIsReplacedExactlyOutsideTheEdgeBand) {
    constexpr int kTimes = 3;
    QImage person;
    const QImage drawing = drawn([](QImage& p) { p.fill(QColor(200, 200, 205)); }, &person);
    const QSize big = kFrame * kTimes;
    const QImage picture = drawing.scaled(big, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    person = person.scaled(big, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    DetectedFaces faces = drawnFace();
    faces[0] = faces[0].scaled(kTimes, kTimes);
    const QRgb red = qRgb(255, 0, 0);
    const BackgroundReplacement r = replaceBackground(picture, faces, red);
    ASSERT_TRUE(r.replaced()) << qPrintable(r.refusal());
    ASSERT_EQ(r.picture.size(), big);
    ASSERT_EQ(r.alpha.size(), big);
    EXPECT_GT(overlap(r.alpha, person), 0.97);
    int wrong = 0;
    for (int y = 0; y < big.height(); y += 2) {
        for (int x = 0; x < big.width(); x += 2) {
            if (nearOutline(person, x, y, 3 * kTimes)) {
                continue;
            }
            const bool inside = qGray(person.pixel(x, y)) >= 128;
            wrong += r.picture.pixel(x, y) != (inside ? picture.pixel(x, y) : red) ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(BackgroundReplacer, RefusesWithoutAFaceAndOnABusyBackground) {
    const QImage plain = drawn([](QImage& p) { p.fill(QColor(200, 200, 205)); }, nullptr);
    const BackgroundReplacement noFace = replaceBackground(plain, {}, qRgb(255, 255, 255));
    EXPECT_EQ(noFace.outcome, BackgroundReplacement::Outcome::NoFace);
    EXPECT_EQ(noFace.picture, plain);
    EXPECT_EQ(noFace.refusal(), QStringLiteral("未检测到人脸，未更换背景颜色"));

    // Leaves and branches: a texture of strong, random colour steps.
    QRandomGenerator random(5);
    const QImage busy = drawn(
        [&](QImage& p) {
            for (int y = 0; y < p.height(); y += 4) {
                for (int x = 0; x < p.width(); x += 4) {
                    const QRgb c =
                        qRgb(random.bounded(256), random.bounded(256), random.bounded(256));
                    for (int dy = 0; dy < 4 && y + dy < p.height(); ++dy) {
                        for (int dx = 0; dx < 4 && x + dx < p.width(); ++dx) {
                            p.setPixel(x + dx, y + dy, c);
                        }
                    }
                }
            }
        },
        nullptr);
    const BackgroundReplacement refused = replaceBackground(busy, drawnFace(), qRgb(255, 0, 0));
    EXPECT_EQ(refused.outcome, BackgroundReplacement::Outcome::BusyBackground);
    EXPECT_EQ(refused.picture, busy);
    EXPECT_EQ(refused.refusal(), QStringLiteral("背景较复杂，未更换背景颜色"));
}

// Measures no face in the frame can have are no face: the picture comes back at once,
// unchanged, instead of seeds drawn to them.
TEST(BackgroundReplacer, AFaceWithImpossibleMeasuresIsNoFace) {
    const QImage plain = drawn([](QImage& p) { p.fill(QColor(200, 200, 205)); }, nullptr);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        QPointF chin;
        QPointF leftCheek;
        QPointF rightCheek;
    } cases[] = {
        {"not a number", {nan, nan}, {nan, nan}, {nan, nan}},
        {"chin far below", {179, 1e12}, {100, 200}, {258, 200}},
        {"cheeks far apart", {179, 284}, {-1e12, 200}, {1e12, 200}},
        {"chin above the eyes", {179, 100}, {100, 200}, {258, 200}},
    };
    for (const auto& c : cases) {
        DetectedFaces faces = drawnFace();
        faces[0].chin = c.chin;
        faces[0].leftCheek = c.leftCheek;
        faces[0].rightCheek = c.rightCheek;
        const BackgroundReplacement r = replaceBackground(plain, faces, qRgb(255, 0, 0));
        EXPECT_EQ(r.outcome, BackgroundReplacement::Outcome::NoFace) << c.name;
        EXPECT_EQ(r.picture, plain) << c.name;
    }
}

// A light collar rising high at the frame's side, under a dark wall: the shoulders' edge, not
// where the face expects the body, says it is the person.
TEST(BackgroundReplacer, KeepsClothesBelowTheShouldersEdgeWhereverTheyReach) {
    const QPainterPath collar = outline({{0, 250}, {100, 300}, {130, 441}, {0, 441}});
    QImage person;
    QImage picture = drawn([](QImage& p) { p.fill(QColor(55, 65, 60)); }, &person);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(215, 220, 230));
    painter.drawPath(collar);
    painter.end();
    QPainter mask(&person);
    mask.setPen(Qt::NoPen);
    mask.setBrush(Qt::white);
    mask.drawPath(collar);
    mask.end();

    const BackgroundReplacement r = replaceBackground(picture, drawnFace(), qRgb(255, 255, 255));
    ASSERT_TRUE(r.replaced()) << qPrintable(r.refusal());
    EXPECT_GT(overlap(r.alpha, person), 0.97);
}

// A body turned aside, so that the wall comes down beside the neck to the bottom edge where
// the face expects the chest: what the wall's smooth surface reaches there is the wall.
TEST(BackgroundReplacer, TheWallBesideATurnedBodyIsNotTakenForItsChest) {
    QImage picture(kFrame, QImage::Format_RGB32);
    picture.fill(QColor(200, 195, 185));
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    const QPainterPath body = outline({{60, 330}, {209, 310}, {212, 441}, {0, 441}, {0, 400}});
    painter.setBrush(QColor(40, 30, 25));
    painter.drawEllipse(QRectF(79, 40, 200, 250));
    painter.setBrush(QColor(225, 180, 150));
    painter.drawEllipse(QRectF(99, 95, 160, 190));
    painter.drawRect(QRectF(149, 270, 60, 60));
    painter.setBrush(QColor(120, 160, 190));
    painter.drawPath(body);
    painter.setBrush(QColor(30, 30, 30));
    painter.drawEllipse(QPointF(139, 175), 8, 5);
    painter.drawEllipse(QPointF(219, 175), 8, 5);
    painter.end();

    const BackgroundReplacement r = replaceBackground(picture, drawnFace(), qRgb(255, 0, 0));
    ASSERT_TRUE(r.replaced()) << qPrintable(r.refusal());
    int wallKept = 0;
    for (int y = 400; y < kFrame.height(); ++y) {
        for (int x = 220; x < 300; ++x) {
            wallKept += qGray(r.alpha.pixel(x, y)) >= 128 ? 1 : 0;
        }
    }
    EXPECT_EQ(wallKept, 0);
}

// A studio wall with a photographer's logo in one top corner and, as in a collage, a dark
// seam along one side: one plain surface covers most of the background, and the wall is
// replaced although the corners GrabCut learns it from are not all of its colour.
TEST(BackgroundReplacer, ALogoAndASeamAtTheFramesEdgesDoNotMakeAPlainWallBusy) {
    QImage person;
    const QImage picture = drawn(
        [](QImage& p) {
            p.fill(QColor(238, 238, 240));
            QPainter painter(&p);
            painter.fillRect(QRect(12, 0, 70, 38), QColor(25, 25, 28));
            painter.fillRect(QRect(24, 8, 46, 10), QColor(190, 200, 40));
            painter.fillRect(QRect(346, 0, 12, 441), QColor(45, 38, 36));
        },
        &person);
    const BackgroundReplacement r = replaceBackground(picture, drawnFace(), qRgb(255, 0, 0));
    ASSERT_TRUE(r.replaced()) << qPrintable(r.refusal());
    EXPECT_GT(overlap(r.alpha, person), 0.97);
}

// A warm wall about the colour of the face, filling the frame beside a head as wide as an ID
// frame makes it: the wall either side of the head must stay background (it was once taken
// for the person on one side and replaced as such). Measured against the portrait's
// reference mask from an independent segmenter.
TEST(BackgroundReplacer, AWallOfTheFacesColourIsNotTakenForThePerson) {
    FaceDetector detector;
    ASSERT_TRUE(detector.ready()) << detector.error().toStdString();
    const QString folder = QStringLiteral(PORTIQA_FIXTURES "/background/");
    const QImage framed =
        QImage(folder + "framed/sean_connery_0.png").convertToFormat(QImage::Format_RGB32);
    const QImage reference =
        QImage(folder + "reference/sean_connery_0.png").convertToFormat(QImage::Format_Grayscale8);
    ASSERT_FALSE(framed.isNull());
    ASSERT_EQ(reference.size(), framed.size());
    const BackgroundReplacement r =
        replaceBackground(framed, detector.detect(framed), qRgb(255, 255, 255));
    ASSERT_TRUE(r.replaced()) << r.refusal().toStdString();
    EXPECT_GE(overlap(r.alpha, reference), 0.95);
}

// GrabCut draws on the thread's random generator: whatever used it before, the same picture
// must be separated the same way (and so refused or replaced the same way) in the window, its
// read-ahead and the crop command.
TEST(BackgroundReplacer, TheSamePictureIsSeparatedTheSameWhateverRanBefore) {
    FaceDetector detector;
    ASSERT_TRUE(detector.ready()) << detector.error().toStdString();
    for (const char* name : {"sean_connery_0", "opencv_230501201_0", "cage_0"}) {
        const QImage framed =
            QImage(QStringLiteral(PORTIQA_FIXTURES "/background/framed/%1.png").arg(name))
                .convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(framed.isNull()) << name;
        const DetectedFaces faces = detector.detect(framed);
        QImage first;
        for (const std::uint64_t state : {1u, 7u, 12345u}) {
            cv::theRNG() = cv::RNG(state);
            BackgroundMeasures measures;
            replaceBackground(framed, faces, qRgb(255, 255, 255), &measures);
            if (first.isNull()) {
                first = measures.person;
            } else {
                EXPECT_EQ(measures.person, first) << name << " after state " << state;
            }
        }
    }
}

TEST(BackgroundColour, StoredValuesReadBack) {
    struct Case {
        const char* text;
        bool valid;
        const char* stored;
        const char* name;
    } cases[] = {
        {"", true, "", ""},
        {"#FFFFFF", true, "#FFFFFF", "白色"},
        {"#438edb", true, "#438EDB", "蓝色"},
        {" #FF0000 ", true, "#FF0000", "红色"},
        {"#123456", true, "#123456", "#123456"},
        {"#12345", false, "", ""},
        {"white", false, "", ""},
        {"#GGGGGG", false, "", ""},
    };
    for (const Case& c : cases) {
        const auto colour = BackgroundColour::fromStored(QString::fromUtf8(c.text));
        ASSERT_EQ(colour.has_value(), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(colour->stored(), QString::fromUtf8(c.stored)) << c.text;
            if (colour->replaces()) {
                EXPECT_EQ(colour->name(), QString::fromUtf8(c.name)) << c.text;
            }
        }
    }
}

} // namespace
} // namespace portiqa
