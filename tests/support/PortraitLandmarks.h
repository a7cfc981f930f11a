#pragma once

// The reference landmarks of the real portraits in tests/fixtures/faces (68-point landmarks,
// see the README there), and how a framed crop measures against the ID-photo targets. Shared
// by the face tests and the accuracy benchmark. References: landmarks.txt (dlib's predictor,
// the chin on the jaw's edge), landmarks_faceapi.txt (face-api's net, a model the program does
// not use) and chin_by_hand.txt (the chins read by eye).

#include "core/face/IdPhotoTargets.h"
#include "core/workspace/PhotoWorkspace.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>
#include <QTextStream>

namespace portiqa::test {

struct PortraitLandmarks {
    QString name; // file name without ".jpg"
    QPointF leftEye;
    QPointF rightEye;
    double chinY = 0;
    double faceWidth = 0;
    double eyeLineY() const { return (leftEye.y() + rightEye.y()) / 2; }
    // Chin to crown. The crown is not a landmark: it lies 0.78 face widths above the eye line
    // (halfway between chin and crown on average over these portraits).
    double headHeight() const { return chinY - eyeLineY() + 0.78 * faceWidth; }
};

inline QList<PortraitLandmarks>
readPortraitLandmarks(const QString& facesFolder,
                      const QString& fileName = QStringLiteral("landmarks.txt")) {
    QList<PortraitLandmarks> list;
    QFile file(facesFolder + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return list;
    }
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList p = in.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (p.size() != 7 || p[0].startsWith(QLatin1Char('#'))) {
            continue;
        }
        list.append({p[0], QPointF(p[1].toDouble(), p[2].toDouble()),
                     QPointF(p[3].toDouble(), p[4].toDouble()), p[5].toDouble(), p[6].toDouble()});
    }
    return list;
}

// `list` with each chin replaced by the one of `chinFile` (lines "name chinY", "#" comments,
// anything after the number ignored); portraits without a line there are left out.
inline QList<PortraitLandmarks> withChinsFrom(const QList<PortraitLandmarks>& list,
                                              const QString& chinFile) {
    QHash<QString, double> chins;
    QFile file(chinFile);
    if (file.open(QIODevice::ReadOnly)) {
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QStringList p = in.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (p.size() >= 2 && !p[0].startsWith(QLatin1Char('#'))) {
                chins.insert(p[0], p[1].toDouble());
            }
        }
    }
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
    return m;
}

// Within every range of the output size's targets (size and eye line).
inline bool meetsTargets(const CropMeasures& m, QSize output) {
    const IdPhotoTarget t = IdPhotoTargets::forOutputSize(output);
    const double size = t.measure == IdPhotoTarget::Measure::FaceWidth
                            ? m.faceWidth / output.width()
                            : m.headHeight / output.height();
    const double eye = m.eyeAboveBottom / output.height();
    return size >= t.sizeLow && size <= t.sizeHigh && eye >= t.eyeLineLow && eye <= t.eyeLineHigh;
}

} // namespace portiqa::test
