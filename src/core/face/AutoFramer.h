#pragma once

// Frames the face of the picture on show: the command (自动框选人脸) and, while automatic
// framing is on, every new picture as soon as its faces are known.
//
// Each picture a loader shows is searched for faces on a worker at once (FaceFinder); a new
// picture drops the search of the one before. The command uses the faces already found for
// the picture on show, or searches here and now. Automatic framing leaves a picture alone
// when the operator has zoomed, scrolled or moved the frame before its faces arrived.
//
// What happened is told through the status hint; no face changes nothing. GUI thread only.

#include "core/face/DetectedFace.h"
#include "core/face/FaceFinder.h"
#include "core/face/FramingRule.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <vector>

namespace portiqa {

class Dialogs;
class FaceDetector;
class PhotoWorkspace;

class AutoFramer : public QObject {
    Q_OBJECT
public:
    static QString noFaceHint() { return QStringLiteral("未检测到人脸"); }
    static QString framedHint() {
        return QStringLiteral("已按证件照标准框选人脸，可用缩放和移动微调");
    }
    static QString zoomLimitedHint() {
        return QStringLiteral("人脸大小超出缩放范围，已按最接近的缩放框选");
    }
    // The standard's size and eye line were kept; what they could not keep is said.
    static QString hairCutHint() { return QStringLiteral("头发顶部超出照片，已按眼睛位置截取"); }
    static QString bandHint() { return QStringLiteral("照片边缘不足，截图含空白边"); }
    static QString hairCutAndBandHint() {
        return QStringLiteral("头发顶部超出照片，照片边缘不足，截图含空白边");
    }
    static QString hintFor(const FaceFraming& framing);
    // What the standard's framing could not keep (the hair's top, a band); the framed hint
    // when it kept everything.
    static QString keptHint(bool hairCut, bool band);

    AutoFramer(PhotoWorkspace& workspace, const FaceDetector& detector, Dialogs& dialogs,
               std::function<void(const QString&)> statusHint, QObject* parent = nullptr);

    bool automatic() const { return automatic_; }
    void setAutomatic(bool on) { automatic_ = on; }

    // The command: frames the largest face of the picture on show. Without a picture it says
    // so in a message; returns whether a face was framed.
    bool frameNow();

    // A search for the picture on show is still running.
    bool searching() const { return finder_.searching(); }

    // Faces found ahead of time for a picture about to be shown (a prefetch runs the search on
    // its own worker): when `picture` is shown it is framed at once, without a search. Only
    // the last few are kept.
    void acceptPrefetchedFaces(PicturePyramidPtr picture, DetectedFaces faces);

signals:
    // The faces of the picture on show are known (and, with automatic framing, applied).
    void facesKnown();

private:
    struct ViewStamp {
        double zoom = 0;
        double fractionX = 0;
        double fractionY = 0;
        QPoint frame;
        bool operator==(const ViewStamp& other) const;
    };
    ViewStamp viewNow() const;
    void pictureShown();
    void facesFound(quint64 request, const DetectedFaces& faces);
    bool frame(const DetectedFaces& faces);

    PhotoWorkspace& workspace_;
    const FaceDetector& detector_;
    Dialogs& dialogs_;
    std::function<void(const QString&)> statusHint_;
    FaceFinder finder_;
    bool automatic_ = false;
    quint64 request_ = 0;
    quint64 searchedGeneration_ = 0; // the picture the running search looks at
    ViewStamp shownView_;            // the view as the loader left it
    bool known_ = false;
    quint64 knownGeneration_ = 0;
    DetectedFaces faces_;
    struct Prefetched {
        PicturePyramidPtr picture;
        DetectedFaces faces;
    };
    std::vector<Prefetched> prefetched_;
};

} // namespace portiqa
