#include "core/face/FaceDetector.h"

#include "core/face/FaceLandmarks.h"
#include "core/face/GreyView.h"
#include "core/face/HeadTop.h"

#include <QDir>
#include <QFileInfo>

#include <opencv2/imgproc.hpp>
#include <opencv2/objdetect.hpp>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace portiqa {

namespace {

const char* const kFaceCascade = "haarcascade_frontalface_alt2.xml";
const char* const kEyeCascade = "haarcascade_eye.xml";

// The detector scans windows 10 % apart in size; four overlapping hits make a face, which
// keeps textures and shadows out while a real face, found at several nearby places, stays.
constexpr double kScaleStep = 1.1;
constexpr int kFaceNeighbours = 4;
constexpr int kEyeNeighbours = 3;
// Faces smaller than this share of the long side are not looked for: they cannot become an
// ID photo anyway, and skipping them halves the work.
constexpr int kMinFaceShare = 10;
// Pictures at least twice this long are searched coarse to fine.
constexpr int kCoarseFrom = 200;

struct EyeSearch {
    bool found = false;
    cv::Point2d left;
    cv::Point2d right;
};

// The eyes lie in the upper part of the box, one on each side of its middle, about level.
EyeSearch findEyes(cv::CascadeClassifier& eyes, const cv::Mat& gray, const cv::Rect& face) {
    const int s = face.width;
    const cv::Rect upper(face.x, face.y + s / 8, s, s * 9 / 20);
    std::vector<cv::Rect> hits;
    eyes.detectMultiScale(gray(upper & cv::Rect(0, 0, gray.cols, gray.rows)), hits, kScaleStep,
                          kEyeNeighbours, 0, cv::Size(std::max(6, s / 10), std::max(6, s / 10)),
                          cv::Size(s / 3, s / 3));
    EyeSearch best;
    double bestError = 1e9;
    for (const cv::Rect& a : hits) {
        for (const cv::Rect& b : hits) {
            const cv::Point2d ca(upper.x + a.x + a.width / 2.0, upper.y + a.y + a.height / 2.0);
            const cv::Point2d cb(upper.x + b.x + b.width / 2.0, upper.y + b.y + b.height / 2.0);
            const double mid = face.x + s / 2.0;
            if (!(ca.x < mid && cb.x > mid)) {
                continue;
            }
            const double spread = (cb.x - ca.x) / s;
            const double tilt = std::abs(cb.y - ca.y) / s;
            if (spread < 0.25 || spread > 0.6 || tilt > 0.12) {
                continue;
            }
            // Closest to where eyes sit in a frontal face box.
            const double error = std::abs((ca.x - face.x) / s - 0.3) +
                                 std::abs((cb.x - face.x) / s - 0.7) +
                                 std::abs((ca.y + cb.y) / 2 - face.y - 0.38 * s) / s;
            if (error < bestError) {
                bestError = error;
                best = {true, ca, cb};
            }
        }
    }
    return best;
}

// Faces of `gray`. The search runs first on a half-size copy, which costs a quarter; each face
// found there is then searched again at full size only around itself and only at sizes near
// its own, which gives the full-size box at a fraction of a whole full-size search.
std::vector<cv::Rect> findFaceBoxes(cv::CascadeClassifier& cascade, const cv::Mat& gray) {
    const int longSide = std::max(gray.cols, gray.rows);
    const int minSide = std::max(24, longSide / kMinFaceShare);
    std::vector<cv::Rect> faces;
    if (longSide < 2 * kCoarseFrom) {
        cascade.detectMultiScale(gray, faces, kScaleStep, kFaceNeighbours, 0,
                                 cv::Size(minSide, minSide));
        return faces;
    }
    cv::Mat half;
    cv::resize(gray, half, cv::Size(gray.cols / 2, gray.rows / 2), 0, 0, cv::INTER_AREA);
    std::vector<cv::Rect> coarse;
    const int coarseMin = std::max(20, minSide / 2);
    cascade.detectMultiScale(half, coarse, kScaleStep, kFaceNeighbours, 0,
                             cv::Size(coarseMin, coarseMin));
    const cv::Rect whole(0, 0, gray.cols, gray.rows);
    std::vector<int> agreement; // how many windows back each of `faces`
    // A face found twice (at two nearby sizes) keeps the finding more windows agree on.
    auto add = [&faces, &agreement](const cv::Rect& box, int windows) {
        for (size_t i = 0; i < faces.size(); ++i) {
            const cv::Rect common = faces[i] & box;
            if (common.area() * 2 > std::min(faces[i].area(), box.area())) {
                if (windows > agreement[i]) {
                    faces[i] = box;
                    agreement[i] = windows;
                }
                return;
            }
        }
        faces.push_back(box);
        agreement.push_back(windows);
    };
    for (const cv::Rect& c : coarse) {
        const cv::Rect box(c.x * 2, c.y * 2, c.width * 2, c.height * 2);
        const int margin = box.width * 3 / 10;
        const cv::Rect around = cv::Rect(box.x - margin, box.y - margin, box.width + 2 * margin,
                                         box.height + 2 * margin) &
                                whole;
        std::vector<cv::Rect> fine;
        std::vector<int> hits;
        const int low = box.width * 3 / 4;
        const int high = std::min(around.width, around.height);
        if (low >= 20 && high >= low) {
            cascade.detectMultiScale(gray(around), fine, hits, kScaleStep, kFaceNeighbours, 0,
                                     cv::Size(low, low), cv::Size(high, high));
        }
        if (fine.empty() || hits.size() != fine.size()) {
            add(box, 0);
            continue;
        }
        // The refined box the most windows agree on.
        size_t best = 0;
        for (size_t i = 1; i < fine.size(); ++i) {
            if (hits[i] > hits[best]) {
                best = i;
            }
        }
        add(cv::Rect(fine[best].x + around.x, fine[best].y + around.y, fine[best].width,
                     fine[best].height),
            hits[best]);
    }
    return faces;
}

} // namespace

struct FaceDetector::Cascades {
    explicit Cascades(const QString& landmarkModel) : landmarks(landmarkModel) {}
    std::mutex mutex;
    cv::CascadeClassifier face;
    cv::CascadeClassifier eyes;
    QString error;
    FaceLandmarks landmarks;
};

QString FaceDetector::defaultCascadeFolder() {
    return QStringLiteral("/usr/share/opencv4/haarcascades");
}

FaceDetector::FaceDetector(const QString& cascadeFolder, const QString& landmarkModel)
    : cascades_(std::make_unique<Cascades>(landmarkModel)) {
    const QDir folder(cascadeFolder);
    for (auto [classifier, name] :
         {std::pair{&cascades_->face, kFaceCascade}, std::pair{&cascades_->eyes, kEyeCascade}}) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        bool loaded = false;
        try {
            loaded = QFileInfo(path).isFile() && classifier->load(path.toStdString());
        } catch (const cv::Exception&) {
            loaded = false;
        }
        if (!loaded && cascades_->error.isEmpty()) {
            cascades_->error = QStringLiteral("无法读取人脸检测数据：%1").arg(path);
        }
    }
}

FaceDetector::~FaceDetector() = default;

bool FaceDetector::ready() const {
    return cascades_->error.isEmpty();
}

QString FaceDetector::error() const {
    return cascades_->error;
}

QString FaceDetector::landmarkError() const {
    return cascades_->landmarks.error();
}

DetectedFaces FaceDetector::detect(const QImage& picture) const {
    DetectedFaces found;
    if (picture.isNull() || !ready()) {
        return found;
    }
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    if (grey.isNull()) {
        return found;
    }
    const cv::Mat view = greyView(grey);
    std::lock_guard<std::mutex> lock(cascades_->mutex);
    try {
        cv::Mat gray;
        cv::equalizeHist(view, gray);
        std::vector<cv::Rect> faces = findFaceBoxes(cascades_->face, gray);
        std::sort(faces.begin(), faces.end(),
                  [](const cv::Rect& a, const cv::Rect& b) { return a.area() > b.area(); });
        std::vector<QRectF> boxes;
        for (const cv::Rect& box : faces) {
            boxes.emplace_back(box.x, box.y, box.width, box.height);
        }
        const bool haarFound = !boxes.empty();
        if (!haarFound) {
            const int longSide = std::max(grey.width(), grey.height());
            boxes = cascades_->landmarks.searchFaces(grey, std::max(24, longSide / kMinFaceShare));
        }
        for (const QRectF& box : boxes) {
            DetectedFace face;
            face.box = box;
            if (const auto points = cascades_->landmarks.fit(grey, box)) {
                face.landmarksFound = true;
                face.eyesFound = true;
                face.leftEye = points->leftEye;
                face.rightEye = points->rightEye;
                face.chin = points->chin;
                face.leftCheek = points->leftCheek;
                face.rightCheek = points->rightCheek;
            } else if (haarFound) {
                // Without landmarks (no model), the eye cascade gives the eye line at least.
                const EyeSearch eyes = findEyes(
                    cascades_->eyes, gray,
                    cv::Rect(int(box.x()), int(box.y()), int(box.width()), int(box.height())));
                face.eyesFound = eyes.found;
                face.leftEye = QPointF(eyes.left.x, eyes.left.y);
                face.rightEye = QPointF(eyes.right.x, eyes.right.y);
            } else {
                continue; // a HOG box is only trusted with the landmarks that confirm it
            }
            if (found.empty()) {
                // The framing takes the largest face: only its head is followed to the top.
                const HeadMeasures head = HeadEstimate::measure(face);
                if (const auto top =
                        HeadTop::find(picture, {head.centreX, head.eyeLineY, head.faceWidth})) {
                    face.topFound = true;
                    face.topY = top->y;
                    face.topAtPictureEdge = top->atPictureTop;
                }
            }
            found.push_back(face);
        }
    } catch (const cv::Exception&) {
        found.clear();
    }
    return found;
}

} // namespace portiqa
