#pragma once

// Finds frontal faces and their eyes in a picture with OpenCV's Haar cascades (the files of
// Debian's opencv-data; nothing is fetched), then fits dlib's 68 landmarks in each face box
// (FaceLandmarks) for the chin and the face's width. Without the landmark model the faces
// come with the box and the Haar eyes only, which frames less exactly. Meant for a reduced copy of
// about 640 px on the long side: the cost grows with the pixels it is given.
//
// Thread-safe: detect() may be called from any thread; calls on one detector take turns.
// A detector whose cascade files are missing or unreadable finds nothing and says why.

#include "core/face/DetectedFace.h"
#include "core/face/FaceLandmarks.h"

#include <QImage>
#include <QString>

#include <memory>

namespace portiqa {

class FaceDetector {
public:
    // The folder where Debian's opencv-data puts the cascades.
    static QString defaultCascadeFolder();

    explicit FaceDetector(const QString& cascadeFolder = defaultCascadeFolder(),
                          const QString& landmarkModel = FaceLandmarks::defaultModelPath());
    ~FaceDetector();
    FaceDetector(const FaceDetector&) = delete;
    FaceDetector& operator=(const FaceDetector&) = delete;

    bool ready() const;
    // Why the detector is not ready; empty when it is.
    QString error() const;
    // Why faces come without landmarks, once a face has been searched; empty otherwise.
    QString landmarkError() const;

    // The faces in `picture`, in its pixel coordinates, largest first. Nothing for a null
    // picture or a detector that is not ready.
    DetectedFaces detect(const QImage& picture) const;

private:
    struct Cascades;
    std::unique_ptr<Cascades> cascades_;
};

} // namespace portiqa
