#include "core/face/AutoFramer.h"

#include "core/dialogs/Dialogs.h"
#include "core/face/FaceDetector.h"
#include "core/face/FramingPlacement.h"
#include "core/workspace/PhotoWorkspace.h"

namespace portiqa {

bool AutoFramer::ViewStamp::operator==(const ViewStamp& other) const {
    return zoom == other.zoom && fractionX == other.fractionX && fractionY == other.fractionY &&
           frame == other.frame;
}

AutoFramer::AutoFramer(PhotoWorkspace& workspace, const FaceDetector& detector, Dialogs& dialogs,
                       std::function<void(const QString&)> statusHint, QObject* parent)
    : QObject(parent), workspace_(workspace), detector_(detector), dialogs_(dialogs),
      statusHint_(std::move(statusHint)), finder_(detector) {
    connect(&workspace_, &PhotoWorkspace::newPictureShown, this, &AutoFramer::pictureShown);
    connect(&finder_, &FaceFinder::facesFound, this, &AutoFramer::facesFound);
}

AutoFramer::ViewStamp AutoFramer::viewNow() const {
    return {workspace_.zoom(), workspace_.scrollFractionX(), workspace_.scrollFractionY(),
            workspace_.frame().topLeft()};
}

void AutoFramer::acceptPrefetchedFaces(PicturePyramidPtr picture, DetectedFaces faces) {
    constexpr size_t kKept = 4;
    if (prefetched_.size() >= kKept) {
        prefetched_.erase(prefetched_.begin());
    }
    prefetched_.push_back({std::move(picture), std::move(faces)});
}

void AutoFramer::pictureShown() {
    known_ = false;
    faces_.clear();
    searchedGeneration_ = workspace_.pictureGeneration();
    shownView_ = viewNow();
    for (auto it = prefetched_.begin(); it != prefetched_.end(); ++it) {
        if (it->picture == workspace_.pyramid()) {
            finder_.cancel();
            const DetectedFaces faces = std::move(it->faces);
            prefetched_.erase(it);
            request_ = 0;
            facesFound(0, faces);
            return;
        }
    }
    request_ = finder_.find(workspace_.pyramid(), workspace_.pictureSize());
}

void AutoFramer::facesFound(quint64 request, const DetectedFaces& faces) {
    if (request != request_ || searchedGeneration_ != workspace_.pictureGeneration()) {
        return; // the picture it looked at is gone
    }
    known_ = true;
    knownGeneration_ = searchedGeneration_;
    faces_ = faces;
    if (automatic_ && viewNow() == shownView_) {
        frame(faces_);
    }
    emit facesKnown();
}

bool AutoFramer::frameNow() {
    if (!workspace_.pictureLoaded()) {
        dialogs_.inform(QStringLiteral("提示"),
                        QStringLiteral("请打开一张图片或拍照一幅图象再进行操作。"),
                        MessageIcon::None);
        return false;
    }
    workspace_.commitPendingText();
    if (!known_ || knownGeneration_ != workspace_.pictureGeneration()) {
        finder_.cancel();
        faces_ = FaceFinder::findNow(detector_, *workspace_.pyramid(), workspace_.pictureSize());
        known_ = true;
        knownGeneration_ = workspace_.pictureGeneration();
    }
    return frame(faces_);
}

bool AutoFramer::frame(const DetectedFaces& faces) {
    if (!detector_.ready()) {
        statusHint_(detector_.error());
        return false;
    }
    const std::optional<FaceFraming> framing = FramingPlacement::apply(workspace_, faces);
    if (!framing) {
        statusHint_(noFaceHint());
        return false;
    }
    statusHint_(hintFor(*framing));
    return true;
}

QString AutoFramer::hintFor(const FaceFraming& framing) {
    if (framing.zoomLimited) {
        return zoomLimitedHint();
    }
    return keptHint(framing.hairCut, framing.band);
}

QString AutoFramer::keptHint(bool hairCut, bool band) {
    if (hairCut) {
        return band ? hairCutAndBandHint() : hairCutHint();
    }
    return band ? bandHint() : framedHint();
}

} // namespace portiqa
