#pragma once

// The 68 face landmarks of dlib's shape predictor (Debian's libdlib-data; nothing is fetched),
// fitted inside a face box the Haar detector found. They give what the box can only guess:
// where the chin is and how wide the face is, to a few pixels.
//
// The model (about 100 MB, 0.6 s to read) is read on the first fit, on the thread that asks, so
// a program that never meets a face never pays for it. Thread-safe: calls take turns.

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace portiqa {

struct FacePoints {
    QPointF leftEye;  // centre of the eye on the picture's left
    QPointF rightEye; // centre of the eye on the picture's right
    QPointF chin;     // lowest point of the jaw line
    QPointF leftCheek;
    QPointF rightCheek; // cheek to cheek at the height of the nose's root
};

class FaceLandmarks {
public:
    static QString defaultModelPath();

    explicit FaceLandmarks(const QString& modelPath = defaultModelPath());
    ~FaceLandmarks();
    FaceLandmarks(const FaceLandmarks&) = delete;
    FaceLandmarks& operator=(const FaceLandmarks&) = delete;

    // The points of the face the Haar detector boxed as `haarBox` in `grey` (8-bit, the same
    // pixels the box was found in). Nothing when the model cannot be read or the fitted points
    // do not make a face that matches the box.
    std::optional<FacePoints> fit(const QImage& grey, const QRectF& haarBox) const;

    // Faces found by dlib's HOG detector, for the pictures the Haar cascade finds none in
    // (it misses some faces with strong shadows or a slight turn). Boxes as the Haar detector
    // would have drawn them, so fit() and the eye search take them alike; largest first.
    std::vector<QRectF> searchFaces(const QImage& grey, int minSide) const;

    // Why fits give nothing, once a fit has tried to read the model; empty otherwise.
    QString error() const;

private:
    struct Model;
    struct Search;
    bool loadOnce() const;

    QString modelPath_;
    mutable std::mutex mutex_;
    mutable std::unique_ptr<Model> model_;
    mutable std::unique_ptr<Search> search_;
    mutable bool triedLoading_ = false;
    mutable QString error_;
};

} // namespace portiqa
