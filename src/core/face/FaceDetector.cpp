#include "core/face/FaceDetector.h"

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

} // namespace

struct FaceDetector::Cascades {
    std::mutex mutex;
    cv::CascadeClassifier face;
    cv::CascadeClassifier eyes;
    QString error;
};

QString FaceDetector::defaultCascadeFolder() {
    return QStringLiteral("/usr/share/opencv4/haarcascades");
}

FaceDetector::FaceDetector(const QString& cascadeFolder) : cascades_(std::make_unique<Cascades>()) {
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

DetectedFaces FaceDetector::detect(const QImage& picture) const {
    DetectedFaces found;
    if (picture.isNull() || !ready()) {
        return found;
    }
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    if (grey.isNull()) {
        return found;
    }
    const cv::Mat view(grey.height(), grey.width(), CV_8UC1, const_cast<uchar*>(grey.constBits()),
                       static_cast<size_t>(grey.bytesPerLine()));
    std::lock_guard<std::mutex> lock(cascades_->mutex);
    try {
        cv::Mat gray;
        cv::equalizeHist(view, gray);
        const int minSide = std::max(24, std::max(gray.cols, gray.rows) / kMinFaceShare);
        std::vector<cv::Rect> faces;
        cascades_->face.detectMultiScale(gray, faces, kScaleStep, kFaceNeighbours, 0,
                                         cv::Size(minSide, minSide));
        std::sort(faces.begin(), faces.end(),
                  [](const cv::Rect& a, const cv::Rect& b) { return a.area() > b.area(); });
        for (const cv::Rect& box : faces) {
            DetectedFace face;
            face.box = QRectF(box.x, box.y, box.width, box.height);
            const EyeSearch eyes = findEyes(cascades_->eyes, gray, box);
            face.eyesFound = eyes.found;
            face.leftEye = QPointF(eyes.left.x, eyes.left.y);
            face.rightEye = QPointF(eyes.right.x, eyes.right.y);
            found.push_back(face);
        }
    } catch (const cv::Exception&) {
        found.clear();
    }
    return found;
}

} // namespace portiqa
