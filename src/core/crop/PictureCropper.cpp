#include "core/crop/PictureCropper.h"

#include "core/app/MainWindowLayout.h"
#include "core/background/FramedBackground.h"
#include "core/face/FaceFinder.h"
#include "core/face/FramingPlacement.h"
#include "core/output/BmpWriter.h"
#include "core/output/OutputEncoder.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/PicturePyramid.h"

#include <new>

namespace portiqa {

PictureCropper::PictureCropper(const CropSettings& settings, const FaceDetector* detector)
    : settings_(settings), detector_(detector) {}

PictureCropper::~PictureCropper() = default;

QString PictureCropper::noFaceReason() {
    return QStringLiteral("未检测到人脸");
}

QImage PictureCropper::frame(const QString& path, CroppedPicture& result) {
    result = CroppedPicture();
    const DecodedPicture decoded = decoder_.decodeFile(path);
    if (!decoded.ok()) {
        result.reason = decoded.message;
        return {};
    }
    PicturePyramidPtr pyramid;
    try {
        pyramid = PicturePyramid::build(decoded.image);
    } catch (const std::bad_alloc&) {
        pyramid.reset();
    }
    if (!pyramid) {
        result.reason = decoder_.messageFor(DecodeError::OutOfMemory, decoded.fullSize);
        return {};
    }

    // The window's state after start-up with this output size typed in, then the picture
    // opened: area, frame centred in it, picture fitted with its middle on show.
    PhotoWorkspace workspace;
    const QSize area = pictureAreaForOutput(settings_.outputSize);
    workspace.setAreaSize(area);
    workspace.setFrameSize(settings_.outputSize);
    workspace.moveFrameTo(centredFramePosition(area, settings_.outputSize));
    if (!workspace.showNewPicture(pyramid)) {
        result.reason = decoder_.messageFor(DecodeError::OutOfMemory, decoded.fullSize);
        return {};
    }

    if (settings_.framing == CropFraming::Face && detector_) {
        const DetectedFaces faces = FaceFinder::findNow(*detector_, *pyramid, decoded.fullSize);
        const std::optional<FaceFraming> framing = FramingPlacement::apply(workspace, faces);
        result.faceFound = framing.has_value();
        result.hairCut = framing && framing->hairCut;
        result.band = framing && framing->band;
        if (!result.faceFound && settings_.noFace == NoFacePolicy::Skip) {
            result.status = CropStatus::Skipped;
            result.reason = noFaceReason();
            return {};
        }
    }
    QImage framed = workspace.captureFramedImage();
    if (framed.isNull()) {
        result.reason = QStringLiteral("无法截取图片");
        return framed;
    }
    if (settings_.background.replaces() && detector_) {
        const BackgroundReplacement replaced = replaceFramedBackground(
            framed, workspace.framedPicturePart(), *settings_.background.colour,
            FaceFinder::searchWith(*detector_));
        result.backgroundRefusal = replaced.refusal();
        framed = replaced.picture;
    }
    return framed;
}

CroppedPicture PictureCropper::crop(const QString& path) {
    CroppedPicture result;
    const QImage framed = frame(path, result);
    if (framed.isNull()) {
        return result;
    }
    OutputEncoder encoder(codec_);
    const OutputEncoding encoding = encoder.encodeForOutput(
        encodeBmp24(framed), settings_.extension, settings_.maxKb, settings_.output);
    codec_.release();
    if (!encoding.hasFile()) {
        result.status = CropStatus::Failed;
        result.reason = QStringLiteral("无法生成图片文件");
        return result;
    }
    result.status = CropStatus::Written;
    result.bytes = encoding.bytes;
    result.quality = encoding.quality;
    result.overLimit = encoding.status == OutputStatus::SizeUnreachable;
    result.belowMinimum = encoding.belowMinimum;
    return result;
}

} // namespace portiqa
