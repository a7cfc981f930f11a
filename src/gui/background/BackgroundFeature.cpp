#include "gui/background/BackgroundFeature.h"

#include "core/background/FramedBackground.h"
#include "core/face/FramingPlacement.h"
#include "core/output/OutputOptionsSetting.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/PicturePyramid.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainWindow.h"
#include "gui/workspace/WorkspaceController.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

namespace portiqa {

namespace {

QString colourHint(const BackgroundColour& colour) {
    return QStringLiteral("背景颜色：%1").arg(colour.name());
}

} // namespace

BackgroundFeature::BackgroundFeature(MainWindow& window, WorkspaceController& workspace,
                                     OutputOptionsSetting& setting, FeatureLinks& links)
    : window_(window), workspace_(workspace), setting_(setting), links_(links) {
    colour_ = setting_.stored().background;
    if (colour_.replaces()) {
        lastChosen_ = colour_;
    }
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &BackgroundFeature::start);
    connect(&watcher_, &QFutureWatcher<BackgroundReplacement>::finished, this,
            &BackgroundFeature::finished);
    connect(&workspace_.workspace(), &PhotoWorkspace::viewChanged, this,
            &BackgroundFeature::frameChanged);
    workspace_.setBeforeCapture([this] { settle(); });
    links_.replaceShotBackground = [this](const QImage& shot) { return replacedShot(shot); };
    links_.backgroundAhead = [this] { return aheadWork(); };
    links_.outputOptionsStored = [this] { setColour(setting_.stored().background, false); };

    QMenu* menu = window.fileMenu();
    if (menu == nullptr) {
        return;
    }
    command_ = menu->addAction(commandText());
    command_->setCheckable(true);
    command_->setChecked(colour_.replaces());
    connect(command_, &QAction::hovered, &window, [this] {
        window_.setStatusHint(
            colour_.replaces()
                ? colourHint(colour_)
                : QStringLiteral("把采集框内照片的背景换成%1").arg(lastChosen_.name()));
    });
    connect(command_, &QAction::triggered, this, [this](bool on) {
        setColour(on ? lastChosen_ : BackgroundColour(), true);
        window_.setStatusHint(on ? colourHint(colour_) : QStringLiteral("不更换背景颜色"));
    });
}

void BackgroundFeature::tellUnreadColour() {
    const QString notice = OutputOptionsSetting::backgroundNotice(setting_.stored());
    if (!notice.isEmpty()) {
        window_.setStatusHint(notice);
    }
}

BackgroundFeature::~BackgroundFeature() {
    watcher_.waitForFinished();
}

void BackgroundFeature::setColour(const BackgroundColour& colour, bool store) {
    if (store) {
        setting_.storeBackground(colour);
    }
    colour_ = colour;
    if (colour.replaces()) {
        lastChosen_ = colour;
    }
    if (command_ != nullptr) {
        command_->setChecked(colour.replaces());
    }
    lastRefused_ = QImage();
    workspace_.workspace().clearFrameReplacement();
    frameChanged();
}

QImage BackgroundFeature::ownFrame() const {
    const PhotoWorkspace& photo = workspace_.workspace();
    if (!photo.pictureLoaded() || photo.showingPreview()) {
        return {};
    }
    return photo.captureOwnFramedImage();
}

void BackgroundFeature::frameChanged() {
    PhotoWorkspace& photo = workspace_.workspace();
    if (!colour_.replaces()) {
        settle_.stop();
        return;
    }
    const QImage own = ownFrame();
    if (!own.isNull() && own == lastRefused_) {
        // Back on pixels already refused: no new work, and the reason comes back after
        // whatever hint the framing itself leaves once this change is through.
        settle_.stop();
        QTimer::singleShot(0, this, [this, own] {
            if (own == lastRefused_ && ownFrame() == own) {
                window_.setStatusHint(refusalHint_);
            }
        });
        return;
    }
    if (own.isNull() || photo.frameReplacement().standsFor(own) || workingOn(own) ||
        takeAhead(own)) {
        return;
    }
    settle_.start(); // again from the start: work begins once the framing stays still
}

void BackgroundFeature::start() {
    if (watcher_.isRunning()) {
        return; // finished() looks at the frame again
    }
    const QImage own = ownFrame();
    if (own.isNull() || !colour_.replaces() ||
        workspace_.workspace().frameReplacement().standsFor(own)) {
        return;
    }
    working_ = own;
    const QRect part = workspace_.workspace().framedPicturePart();
    const QRgb colour = *colour_.colour;
    workingColour_ = colour;
    const auto findFaces = links_.findFaces;
    watcher_.setFuture(QtConcurrent::run([own, part, colour, findFaces] {
        return replaceFramedBackground(own, part, colour, findFaces);
    }));
}

void BackgroundFeature::finished() {
    if (working_.isNull()) {
        return; // a capture took the result already
    }
    const QImage source = working_;
    working_ = QImage();
    apply(source, workingColour_, watcher_.result());
    frameChanged(); // the framing may have moved on meanwhile
}

bool BackgroundFeature::workingOn(const QImage& own) const {
    return !working_.isNull() && working_ == own && colour_.replaces() &&
           *colour_.colour == workingColour_;
}

void BackgroundFeature::apply(const QImage& source, QRgb colour,
                              const BackgroundReplacement& result) {
    if (!colour_.replaces() || *colour_.colour != colour || ownFrame() != source) {
        return; // made for pixels no longer under the frame, or in a colour no longer chosen
    }
    if (result.replaced()) {
        workspace_.workspace().setFrameReplacement(source, result.picture);
        window_.setStatusHint(colourHint(colour_));
        return;
    }
    lastRefused_ = source;
    lastRefusal_ = result.refusal();
    refusalHint_ = lastRefusal_;
    window_.setStatusHint(refusalHint_);
}

void BackgroundFeature::settle() {
    if (!colour_.replaces()) {
        return;
    }
    const bool batch = links_.batchCropMode();
    if (batch != countingBatch_) {
        countingBatch_ = batch;
        refusedPictures_.clear();
    }
    const QImage own = ownFrame();
    if (own.isNull()) {
        return;
    }
    const bool replaced = workspace_.workspace().frameReplacement().standsFor(own);
    if (!replaced && own != lastRefused_ && !takeAhead(own)) {
        settle_.stop();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (watcher_.isRunning()) {
            watcher_.waitForFinished();
        }
        const QRgb colour = *colour_.colour;
        if (workingOn(own)) {
            working_ = QImage();
            apply(own, colour, watcher_.result());
        } else {
            working_ = QImage();
            apply(own, colour,
                  replaceFramedBackground(own, workspace_.workspace().framedPicturePart(), colour,
                                          links_.findFaces));
        }
        QApplication::restoreOverrideCursor();
    }
    if (!batch) {
        return;
    }
    const QString picture = links_.batchPicturePath();
    if (!workspace_.workspace().frameReplacement().standsFor(own)) {
        refusedPictures_.insert(picture);
        refusalHint_ = QStringLiteral("%1（本轮批量截图已有%2张未更换背景）")
                           .arg(lastRefusal_)
                           .arg(refusedCount());
        window_.setStatusHint(refusalHint_);
    } else {
        refusedPictures_.remove(picture); // framed anew and replaced this time
    }
}

bool BackgroundFeature::takeAhead(const QImage& own) {
    if (!colour_.replaces()) {
        return false;
    }
    for (auto entry = ahead_.begin(); entry != ahead_.end(); ++entry) {
        if (entry->colour == *colour_.colour && entry->framed == own) {
            const Ahead ahead = *entry;
            ahead_.erase(entry);
            apply(own, ahead.colour, ahead.result);
            return true;
        }
    }
    return false;
}

std::function<std::function<void()>(const PicturePyramidPtr&, const DetectedFaces&)>
BackgroundFeature::aheadWork() const {
    if (!colour_.replaces()) {
        return {};
    }
    const PhotoWorkspace& photo = workspace_.workspace();
    const QSize area = photo.areaSize();
    const QRect frame = photo.frame().rect();
    const QRgb colour = *colour_.colour;
    const auto findFaces = links_.findFaces;
    const QPointer<const BackgroundFeature> guard(this);
    return [area, frame, colour, findFaces, guard](const PicturePyramidPtr& picture,
                                                   const DetectedFaces& faces) {
        std::function<void()> keep;
        if (!picture) {
            return keep;
        }
        // The window's workspace as it will be: same area and frame, the picture framed
        // by its faces.
        PhotoWorkspace ahead;
        ahead.setAreaSize(area);
        ahead.setFrameSize(frame.size());
        ahead.moveFrameTo(frame.topLeft());
        if (!ahead.showNewPicture(picture) || !FramingPlacement::apply(ahead, faces)) {
            return keep;
        }
        const QImage framed = ahead.captureOwnFramedImage();
        if (framed.isNull()) {
            return keep;
        }
        BackgroundReplacement result =
            replaceFramedBackground(framed, ahead.framedPicturePart(), colour, findFaces);
        keep = [guard, framed, colour, result] {
            if (auto* feature = const_cast<BackgroundFeature*>(guard.data())) {
                feature->ahead_.push_back({framed, colour, result});
                if (feature->ahead_.size() > 4) {
                    feature->ahead_.erase(feature->ahead_.begin());
                }
            }
        };
        return keep;
    };
}

QImage BackgroundFeature::replacedShot(const QImage& shot) {
    if (!colour_.replaces() || shot.isNull()) {
        return shot;
    }
    const BackgroundReplacement result =
        replaceFramedBackground(shot, QRect(), *colour_.colour, links_.findFaces);
    window_.setStatusHint(result.replaced() ? colourHint(colour_) : result.refusal());
    return result.picture;
}

} // namespace portiqa
