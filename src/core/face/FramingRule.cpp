#include "core/face/FramingRule.h"

#include "core/workspace/WorkspaceGeometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace portiqa {

namespace {

// The frame's place along one direction: `wanted` when the zoomed picture is smaller than the
// frame (nothing can avoid the bands then), else the nearest place inside the picture.
int keepInside(double wanted, int zoomedLength, int frameLength) {
    const int place = static_cast<int>(std::lround(wanted));
    if (zoomedLength < frameLength) {
        return place;
    }
    return std::clamp(place, 0, zoomedLength - frameLength);
}

// A range of eye-line heights (shares of the frame's height above its bottom edge).
struct Range {
    double low;
    double high;
};

// Narrows `range` to `wanted`. When they do not meet, keeps the end of `range` nearest to
// `wanted` and returns by how much it misses.
double narrow(Range& range, Range wanted) {
    const Range both{std::max(range.low, wanted.low), std::min(range.high, wanted.high)};
    if (both.low <= both.high) {
        range = both;
        return 0;
    }
    if (wanted.high < range.low) {
        range.high = range.low;
        return range.low - wanted.high;
    }
    range.low = range.high;
    return wanted.low - range.high;
}

// One way to frame the head: a zoom and an eye-line height, with what it costs. Compared in
// order: hair cut off, white bands (both in pixels of the photo), then the distance from the
// middle of the ranges and from the top's margin.
struct Candidate {
    double zoom = 1;
    double eyeLine = 0; // share of the height above the bottom edge
    double hairMissed = 0;
    double bands = 0;
    double marginMissed = 0;
    double offCentre = 0;

    bool betterThan(const Candidate& other) const {
        // Misses are compared in whole half pixels (exactly, so the order stays transitive):
        // smaller differences are the detection's noise.
        auto halves = [](double miss) { return std::lround(miss * 2); };
        for (const auto& [mine, theirs] :
             {std::pair{hairMissed, other.hairMissed}, std::pair{bands, other.bands}}) {
            if (halves(mine) != halves(theirs)) {
                return halves(mine) < halves(theirs);
            }
        }
        return offCentre < other.offCentre;
    }
};

struct Problem {
    HeadMeasures head;
    QSize picture;
    QSize output;
    IdPhotoTarget target;
    double measured = 0; // face width or head height, picture pixels
    double length = 0;   // the output's width or height the size is a share of
};

// The ranges less a little at each end: the measures come from a detection a few pixels off,
// and a framing pushed to the end of a range would leave it on such an error.
IdPhotoTarget keptInside(IdPhotoTarget t) {
    constexpr double kSafety = 0.15; // of each range's width, at each end
    for (auto [low, high] :
         {std::pair{&t.sizeLow, &t.sizeHigh}, std::pair{&t.eyeLineLow, &t.eyeLineHigh},
          std::pair{&t.topLow, &t.topHigh}}) {
        const double margin = kSafety * (*high - *low);
        *low += margin;
        *high -= margin;
    }
    return t;
}

Candidate evaluate(const Problem& p, double size) {
    const double width = p.output.width();
    const double height = p.output.height();
    Candidate c;
    c.zoom = size * p.length / p.measured;
    const int zoomedWidth = WorkspaceGeometry::zoomedSide(p.picture.width(), c.zoom);
    const int zoomedHeight = WorkspaceGeometry::zoomedSide(p.picture.height(), c.zoom);
    const double sy = double(zoomedHeight) / p.picture.height();
    const double eye = p.head.eyeLineY * sy;
    const double headAboveEyes = (p.head.eyeLineY - p.head.crownY) * sy;
    const IdPhotoTarget& t = p.target;

    // The frame's top lies at eye - height x (1 - eyeLine) on the zoomed picture; each wish
    // below is a range of eyeLine.
    Range eyeLine{t.eyeLineLow, t.eyeLineHigh};
    const double hairFree = 1 - headAboveEyes / height; // the hair's top on the frame's edge
    if (!p.head.crownCut) {
        c.hairMissed = height * narrow(eyeLine, {-1e9, hairFree});
    }
    c.bands = std::max(0.0, width - zoomedWidth);
    if (zoomedHeight >= p.output.height()) {
        c.bands += height * narrow(eyeLine, {1 - eye / height, (zoomedHeight - eye) / height});
    } else {
        c.bands += height - zoomedHeight;
    }
    if (!p.head.crownCut) {
        c.marginMissed = height * narrow(eyeLine, {hairFree - t.topHigh, hairFree - t.topLow});
    }
    c.eyeLine = std::clamp(t.eyeLineAim(), eyeLine.low, eyeLine.high);
    const double sizeOff = (size - t.sizeAim()) / (t.sizeHigh - t.sizeLow);
    const double eyeOff = (c.eyeLine - t.eyeLineAim()) / (t.eyeLineHigh - t.eyeLineLow);
    // A margin short by 2.5 % of the height weighs as much as a size or eye line at the end of
    // its range: the top found may lie a little off, and a margin pushed for at any price would
    // throw both to the ends of their ranges for it.
    const double marginOff = c.marginMissed / (0.025 * height);
    c.offCentre = sizeOff * sizeOff + eyeOff * eyeOff + marginOff * marginOff;
    return c;
}

} // namespace

ZoomRange ZoomRange::forPicture(QSize picture, int maxZoomedSide) {
    const int shortSide = std::max(1, std::min(picture.width(), picture.height()));
    const int longSide = std::max(1, std::max(picture.width(), picture.height()));
    ZoomRange range;
    range.low = 1.0 / shortSide;
    while (WorkspaceGeometry::zoomedSide(shortSide, range.low) < 1) {
        range.low = std::nextafter(range.low, 2.0);
    }
    range.high = static_cast<double>(maxZoomedSide) / longSide;
    while (WorkspaceGeometry::zoomedSide(longSide, range.high) > maxZoomedSide) {
        range.high = std::nextafter(range.high, 0.0);
    }
    range.high = std::max(range.high, range.low);
    return range;
}

std::optional<FaceFraming> FramingRule::frame(const DetectedFaces& faces, QSize picture,
                                              QSize output, ZoomRange zoomRange) {
    const DetectedFace* face = HeadEstimate::largest(faces);
    if (face == nullptr || picture.isEmpty() || output.isEmpty()) {
        return std::nullopt;
    }
    return frameHead(HeadEstimate::measure(*face), picture, output, zoomRange);
}

FaceFraming FramingRule::frameHead(const HeadMeasures& head, QSize picture, QSize output,
                                   ZoomRange zoomRange) {
    Problem p{head, picture, output, keptInside(IdPhotoTargets::forOutputSize(output))};
    const IdPhotoTarget& t = p.target;
    const bool byWidth = t.measure == IdPhotoTarget::Measure::FaceWidth;
    p.measured = byWidth ? head.faceWidth : head.headHeight();
    p.length = byWidth ? output.width() : output.height();

    FaceFraming framing;
    Candidate best;
    if (p.measured <= 0) {
        best.zoom = std::clamp(1.0, zoomRange.low, zoomRange.high);
        best.eyeLine = t.eyeLineAim();
        framing.zoomLimited = true;
    } else {
        // The sizes the zoom bounds allow, within the size's range.
        const double perZoom = p.measured / p.length; // size share per unit of zoom
        const double low = std::max(t.sizeLow, zoomRange.low * perZoom);
        const double high = std::min(t.sizeHigh, zoomRange.high * perZoom);
        std::vector<double> sizes;
        if (low > high) {
            sizes.push_back(
                std::clamp(t.sizeAim(), zoomRange.low * perZoom, zoomRange.high * perZoom));
            framing.zoomLimited = true;
        } else {
            constexpr int kSteps = 64;
            for (int i = 0; i <= kSteps; ++i) {
                sizes.push_back(low + (high - low) * i / kSteps);
            }
            sizes.push_back(std::clamp(t.sizeAim(), low, high));
            // The smallest zooms at which the picture covers the frame's width and height.
            for (const double cover : {(output.width() + 0.5) / picture.width(),
                                       (output.height() + 0.5) / picture.height()}) {
                if (cover * perZoom >= low && cover * perZoom <= high) {
                    sizes.push_back(cover * perZoom);
                }
            }
        }
        best = evaluate(p, sizes.back());
        for (const double size : sizes) {
            const Candidate c = evaluate(p, size);
            if (c.betterThan(best)) {
                best = c;
            }
        }
    }

    framing.zoom = best.zoom;
    const int zoomedWidth = WorkspaceGeometry::zoomedSide(picture.width(), framing.zoom);
    const int zoomedHeight = WorkspaceGeometry::zoomedSide(picture.height(), framing.zoom);
    // Picture pixel x lies at x * zoomed / picture on the zoomed picture.
    const double sx = double(zoomedWidth) / picture.width();
    const double sy = double(zoomedHeight) / picture.height();
    const double width = output.width();
    const double height = output.height();
    const int x = keepInside(head.centreX * sx - width / 2, zoomedWidth, output.width());
    int y = static_cast<int>(std::lround(head.eyeLineY * sy - height * (1 - best.eyeLine)));
    if (best.bands == 0 && zoomedHeight >= output.height()) {
        y = std::clamp(y, 0, zoomedHeight - output.height()); // rounding made no band
    }
    framing.frameOnZoomed = QPoint(x, y);
    framing.hairCut = head.crownCut || head.crownY * sy - y < -0.5;
    framing.band =
        x < 0 || y < 0 || x + output.width() > zoomedWidth || y + output.height() > zoomedHeight;
    return framing;
}

} // namespace portiqa
