#include "core/workspace/WorkspaceLoader.h"

#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

#include <limits>

namespace portiqa {

WorkspaceLoader::WorkspaceLoader(PhotoWorkspace& workspace, Dialogs& dialogs, QObject* parent)
    : QObject(parent), workspace_(workspace), dialogs_(dialogs) {
    connect(&loader_, &PictureLoader::previewReady, this, &WorkspaceLoader::previewArrived);
    connect(&loader_, &PictureLoader::pictureReady, this, &WorkspaceLoader::pictureArrived);
    connect(&loader_, &PictureLoader::loadFailed, this, &WorkspaceLoader::loadFailed);
    connect(&pyramidWatcher_, &QFutureWatcher<PicturePyramidPtr>::finished, this,
            &WorkspaceLoader::pyramidBuilt);
}

WorkspaceLoader::~WorkspaceLoader() {
    // The pyramid job holds nothing of ours, but a test's stage hook may wait on its caller.
    pyramidJob_.waitForFinished();
}

void WorkspaceLoader::setStageHook(std::function<void(Stage)> hook) {
    stageHook_ = std::move(hook);
    if (stageHook_) {
        loader_.setBeforeFullDecode([hook = stageHook_] { hook(Stage::FullDecode); });
    } else {
        loader_.setBeforeFullDecode({});
    }
}

void WorkspaceLoader::setPrefetcher(PicturePrefetcher* prefetcher) {
    if (prefetcher_ != nullptr) {
        disconnect(prefetcher_, nullptr, this, nullptr);
    }
    prefetcher_ = prefetcher;
    if (prefetcher_ != nullptr) {
        connect(prefetcher_, &PicturePrefetcher::progressed, this, [this](const QString& path) {
            if (awaiting_ && awaiting_->path == path) {
                applyPrefetched();
            }
        });
    }
}

void WorkspaceLoader::setDropPictureOnFailure(std::function<bool()> when) {
    dropPictureOnFailure_ = std::move(when);
}

void WorkspaceLoader::loadFile(const QString& path) {
    dialogs_.closeNotice(); // a message about the picture before is stale now
    // A load that supersedes a pending one keeps the first one's restore point: whatever the
    // pending load has put on show since (its preview) is not a picture to go back to.
    if (!isLoading()) {
        restorePoint_ = workspace_.pictureState();
    }
    pyramidPending_ = false;
    // A preview on show belongs to the superseded load: the new picture must be fitted
    // afresh, not take over that preview's zoom.
    previewShown_ = false;
    path_ = path;
    awaiting_ = prefetcher_ != nullptr ? prefetcher_->find(path) : nullptr;
    if (awaiting_) {
        loader_.cancel();
        request_ = std::numeric_limits<quint64>::max(); // no loader request has this id
        applyPrefetched();
        return;
    }
    request_ = loader_.loadFile(path, workspace_.areaSize());
}

void WorkspaceLoader::applyPrefetched() {
    QImage preview;
    QSize fullSize;
    PicturePyramidPtr picture;
    std::function<void()> beforeShow;
    bool done = false;
    {
        std::lock_guard<std::mutex> guard(awaiting_->lock);
        preview = awaiting_->preview;
        fullSize = awaiting_->fullSize;
        picture = awaiting_->picture;
        beforeShow = awaiting_->beforeShow;
        done = awaiting_->done;
    }
    if (picture) {
        awaiting_.reset();
        if (beforeShow) {
            beforeShow();
        }
        // Over its own preview the full picture keeps the zoom and view, as a fresh load's.
        const bool shown = previewShown_ ? workspace_.upgradePicture(std::move(picture))
                                         : workspace_.showNewPicture(std::move(picture), true);
        if (!shown) {
            fail(PictureDecoder().messageFor(DecodeError::OutOfMemory));
            return;
        }
        end(true);
    } else if (done) {
        // The read-ahead came to nothing: a fresh load tells the operator why.
        awaiting_.reset();
        request_ = loader_.loadFile(path_, workspace_.areaSize());
    } else if (!preview.isNull() && !previewShown_) {
        if (workspace_.showNewPicture(PicturePyramid::build(preview), true, fullSize)) {
            previewShown_ = workspace_.showingPreview();
        }
    }
}

void WorkspaceLoader::showNothing() {
    dialogs_.closeNotice();
    if (isLoading()) {
        loader_.cancel();
        awaiting_.reset();
        end(false);
    }
    workspace_.dropPicture();
}

bool WorkspaceLoader::showPicture(const QImage& picture, bool resetScrollFractions) {
    if (!workspace_.showNewPicture(picture, resetScrollFractions)) {
        return false;
    }
    if (isLoading()) {
        loader_.cancel();
        awaiting_.reset();
        end(false);
    }
    return true;
}

void WorkspaceLoader::previewArrived(quint64 request, const QImage& preview,
                                     const QSize& fullSize) {
    if (request != request_ || pyramidPending_) {
        return;
    }
    if (workspace_.showNewPicture(PicturePyramid::build(preview), true, fullSize)) {
        previewShown_ = workspace_.showingPreview();
    }
}

void WorkspaceLoader::pictureArrived(quint64 request, const QImage& picture) {
    if (request != request_) {
        return;
    }
    pyramidPending_ = true;
    pyramidJob_ = QtConcurrent::run([picture, hook = stageHook_] {
        if (hook) {
            hook(Stage::PyramidBuild);
        }
        return PicturePyramid::build(picture);
    });
    pyramidWatcher_.setFuture(pyramidJob_);
}

void WorkspaceLoader::pyramidBuilt() {
    // A superseded job may still report; only the pending one's finished result counts.
    if (!pyramidPending_ || !pyramidJob_.isFinished()) {
        return;
    }
    pyramidPending_ = false;
    PicturePyramidPtr pyramid = pyramidJob_.result();
    if (!pyramid) {
        fail(PictureDecoder().messageFor(DecodeError::OutOfMemory));
        return;
    }
    // Over its own preview the full picture keeps the zoom and view the operator may have
    // changed meanwhile; otherwise it is a new picture.
    const bool shown = previewShown_ ? workspace_.upgradePicture(std::move(pyramid))
                                     : workspace_.showNewPicture(std::move(pyramid), true);
    if (!shown) {
        fail(PictureDecoder().messageFor(DecodeError::OutOfMemory));
        return;
    }
    end(true);
}

void WorkspaceLoader::loadFailed(quint64 request, const QString& message) {
    if (request == request_) {
        fail(message);
    }
}

void WorkspaceLoader::fail(const QString& message) {
    if (dropPictureOnFailure_ && dropPictureOnFailure_()) {
        // In a batch run the picture before belongs to another person: nothing is on show,
        // so nothing can be saved under this file's name.
        const QString file = QFileInfo(path_).fileName();
        workspace_.dropPicture();
        end(false);
        dialogs_.showNotice(PictureDecoder::messageCaption(), failedFileMessage(file, message),
                            MessageIcon::Warning);
        return;
    }
    // Whatever this load (or one it superseded) put on show goes; the picture that was on
    // show before comes back exactly. Untouched, it stays as the operator left it.
    if (workspace_.showingPreview() || workspace_.pyramid() != restorePoint_.picture) {
        workspace_.restorePictureState(restorePoint_);
    }
    end(false);
    dialogs_.inform(PictureDecoder::messageCaption(), message, MessageIcon::Warning);
}

QString WorkspaceLoader::failedFileMessage(const QString& fileName, const QString& reason) {
    return QStringLiteral("文件“%1”：%2").arg(fileName, reason);
}

void WorkspaceLoader::end(bool shown) {
    if (shown && prefetcher_ != nullptr) {
        prefetcher_->adopt(path_, workspace_.pyramid()); // a step back costs nothing
    }
    awaiting_.reset();
    request_ = 0;
    previewShown_ = false;
    pyramidPending_ = false;
    restorePoint_ = {};
    emit loadEnded(shown);
}

void WorkspaceLoader::waitForPicture() {
    if (!isLoading()) {
        return;
    }
    if (awaiting_) {
        const PicturePrefetcher::EntryPtr entry = awaiting_;
        PicturePrefetcher::wait(entry);
        applyPrefetched(); // shown, or a fresh load started in its place
        if (!isLoading()) {
            return;
        }
    }
    loader_.waitForPicture(); // delivers the full picture or the failure before returning
    if (pyramidPending_) {
        pyramidJob_.waitForFinished();
        pyramidBuilt();
    }
}

} // namespace portiqa
