#pragma once

// The reference landmarks of the real portraits in tests/fixtures/faces (68-point landmarks,
// see the README there), and how a framed crop measures against the ID-photo targets. Shared
// by the face tests and the accuracy benchmark. References: landmarks.txt (dlib's predictor,
// the chin on the jaw's edge), landmarks_faceapi.txt (face-api's net, a model the program does
// not use) and chin_by_hand.txt (the chins read by eye); the top of the head, hair included,
// always comes from top_by_hand.txt (read by eye).

#include "core/face/IdPhotoTargets.h"
#include "core/workspace/PhotoWorkspace.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QTextStream>

namespace portiqa::test {

struct PortraitLandmarks {
    QString name; // file name without ".jpg"
    QPointF leftEye;
    QPointF rightEye;
    double chinY = 0;
    double faceWidth = 0;
    double topY = -1; // the top of the head with its hair (or a cap), read by eye; -1: unknown
    double eyeLineY() const { return (leftEye.y() + rightEye.y()) / 2; }
    // The top of the head. Without a reading: the skull, 0.78 face widths above the eye line
    // (halfway between chin and crown on average over these portraits).
    double crownY() const { return topY >= 0 ? topY : eyeLineY() - 0.78 * faceWidth; }
    // Chin to the top of the head, hair included.
    double headHeight() const { return chinY - crownY(); }
};

// Lines "name value", "#" comments, anything after the number ignored.
inline QHash<QString, double> readNamedValues(const QString& path) {
    QHash<QString, double> values;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QStringList p = in.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (p.size() >= 2 && !p[0].startsWith(QLatin1Char('#'))) {
                values.insert(p[0], p[1].toDouble());
            }
        }
    }
    return values;
}

inline QList<PortraitLandmarks>
readPortraitLandmarks(const QString& facesFolder,
                      const QString& fileName = QStringLiteral("landmarks.txt")) {
    QList<PortraitLandmarks> list;
    QFile file(facesFolder + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return list;
    }
    const QHash<QString, double> tops =
        readNamedValues(facesFolder + QStringLiteral("/top_by_hand.txt"));
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList p = in.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (p.size() != 7 || p[0].startsWith(QLatin1Char('#'))) {
            continue;
        }
        list.append({p[0], QPointF(p[1].toDouble(), p[2].toDouble()),
                     QPointF(p[3].toDouble(), p[4].toDouble()), p[5].toDouble(), p[6].toDouble(),
                     tops.value(p[0], -1)});
    }
    return list;
}

// `list` with each chin replaced by the one of `chinFile` (lines "name chinY", "#" comments,
// anything after the number ignored); portraits without a line there are left out.
inline QList<PortraitLandmarks> withChinsFrom(const QList<PortraitLandmarks>& list,
                                              const QString& chinFile) {
    const QHash<QString, double> chins = readNamedValues(chinFile);
    QList<PortraitLandmarks> out;
    for (PortraitLandmarks l : list) {
        if (chins.contains(l.name)) {
            l.chinY = chins.value(l.name);
            out.append(l);
        }
    }
    return out;
}

// The portrait's head as the crop under the workspace's frame shows it.
struct CropMeasures {
    double faceWidth = 0;      // pixels of the crop
    double headHeight = 0;     // pixels of the crop
    double eyeAboveBottom = 0; // pixels from the crop's bottom edge
    double centreOffset = 0;   // eye midpoint minus the crop's middle, pixels
    double topBelowEdge = 0;   // the head's top (hair included) below the crop's top edge;
                               // negative: that much is cut off
    bool band = false;         // the crop reaches beyond the picture (white there)
};

inline CropMeasures measureCrop(const PortraitLandmarks& l, const PhotoWorkspace& workspace) {
    const QSize picture = workspace.pictureSize();
    const double sx = double(workspace.zoomedSize().width()) / picture.width();
    const double sy = double(workspace.zoomedSize().height()) / picture.height();
    // Zoomed picture -> crop: minus the scroll, plus the centring offset, minus the frame.
    const QPointF shift =
        QPointF(workspace.offset() - workspace.scrollPosition() - workspace.frame().topLeft());
    const QSize crop = workspace.frame().size();
    CropMeasures m;
    m.faceWidth = l.faceWidth * sx;
    m.headHeight = l.headHeight() * sy;
    m.eyeAboveBottom = crop.height() - (l.eyeLineY() * sy + shift.y());
    m.centreOffset = (l.leftEye.x() + l.rightEye.x()) / 2 * sx + shift.x() - crop.width() / 2.0;
    m.topBelowEdge = l.crownY() * sy + shift.y();
    const QRect onZoomed(-shift.toPoint(), crop);
    m.band = !QRect(QPoint(0, 0), workspace.zoomedSize()).contains(onZoomed);
    return m;
}

// Within every range of the output size's targets (size and eye line), the whole head with
// its hair inside the crop and no white band.
inline bool meetsTargets(const CropMeasures& m, QSize output) {
    const IdPhotoTarget t = IdPhotoTargets::forOutputSize(output);
    const double size = t.measure == IdPhotoTarget::Measure::FaceWidth
                            ? m.faceWidth / output.width()
                            : m.headHeight / output.height();
    const double eye = m.eyeAboveBottom / output.height();
    return size >= t.sizeLow && size <= t.sizeHigh && eye >= t.eyeLineLow && eye <= t.eyeLineHigh &&
           m.topBelowEdge >= 0 && !m.band;
}

} // namespace portiqa::test
