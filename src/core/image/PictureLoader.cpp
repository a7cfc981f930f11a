#include "core/image/PictureLoader.h"

#include <QtConcurrent/QtConcurrentRun>
#include <QThread>

namespace portiqa {

struct PictureLoader::Job {
    quint64 id = 0;
    std::atomic<bool> cancelled{false};
    QFuture<DecodedPicture> future;
    std::function<void()> beforeFullDecode; // copied at the start: the worker reads it
    // GUI-thread state: what has been handed out.
    bool previewDelivered = false;
    bool finished = false;
};

PictureLoader::PictureLoader(DecodeLimits limits, QObject* parent)
    : QObject(parent), decoder_(limits) {
    // One thread for the full picture, one for its preview beside it (or, on two cores, for
    // a new request while a stale, uncancellable step of an old one still runs).
    pool_.setMaxThreadCount(2);
    // With two cores or fewer the preview would share a core with the full decode and come
    // later than if it went first; the first view is what the operator waits for.
    previewBesideFull_ = QThread::idealThreadCount() > 2;
}

PictureLoader::~PictureLoader() {
    cancel();
    pool_.waitForDone();
}

quint64 PictureLoader::loadFile(const QString& path, QSize previewArea) {
    return start(Source{path, {}}, previewArea);
}

quint64 PictureLoader::loadBytes(const QByteArray& bytes, QSize previewArea) {
    return start(Source{{}, bytes}, previewArea);
}

void PictureLoader::cancel() {
    if (current_) {
        current_->cancelled = true;
        current_.reset();
    }
}

bool PictureLoader::isLoading() const {
    return current_ && !current_->finished;
}

void PictureLoader::waitForPicture() {
    if (!isLoading()) {
        return;
    }
    const std::shared_ptr<Job> job = current_;
    job->future.waitForFinished();
    deliverFull(job, job->future.result());
}

quint64 PictureLoader::start(const Source& source, QSize previewArea) {
    cancel();
    auto job = std::make_shared<Job>();
    job->id = ++lastRequest_;
    job->beforeFullDecode = beforeFullDecode_;
    current_ = job;
    job->future = QtConcurrent::run(
        &pool_, [this, job, source, previewArea] { return run(job, source, previewArea); });
    return job->id;
}

// Worker side. Results travel to the GUI thread as queued calls; the loader's destructor
// waits for the workers, and Qt drops queued calls to a destroyed object.
DecodedPicture PictureLoader::run(const std::shared_ptr<Job>& job, const Source& source,
                                  QSize previewArea) {
    const auto post = [this, job](const DecodedPicture& result) {
        QMetaObject::invokeMethod(
            this, [this, job, result] { deliverFull(job, result); }, Qt::QueuedConnection);
        return result;
    };
    QByteArray bytes = source.bytes;
    DecodedPicture failure;
    if (!source.path.isEmpty() && !decoder_.readFile(source.path, bytes, failure)) {
        return post(failure);
    }
    const auto postPreview = [this, job](const DecodedPicture& first) {
        QMetaObject::invokeMethod(
            this, [this, job, first] { deliverPreview(job, first); }, Qt::QueuedConnection);
    };
    // Only JPEG decodes faster at a reduced scale.
    const bool wantsPreview =
        !previewArea.isEmpty() && PictureDecoder::formatOf(bytes) == PictureFormat::Jpeg;
    if (wantsPreview && !previewBesideFull_) {
        const DecodedPicture first = decoder_.decode(bytes, previewArea, &job->cancelled);
        // A failure, or a picture already small enough: that was the whole job.
        if (!first.isPreview()) {
            return post(first);
        }
        postPreview(first);
        if (job->beforeFullDecode) {
            job->beforeFullDecode();
        }
        return post(decoder_.decode(bytes, QSize(), &job->cancelled));
    }
    QFuture<void> preview;
    if (wantsPreview) {
        preview = QtConcurrent::run(&pool_, [this, job, bytes, previewArea, postPreview] {
            const DecodedPicture first = decoder_.decode(bytes, previewArea, &job->cancelled);
            if (first.isPreview()) {
                postPreview(first);
            }
        });
    }
    if (job->beforeFullDecode) {
        job->beforeFullDecode();
    }
    const DecodedPicture full = decoder_.decode(bytes, QSize(), &job->cancelled);
    // The preview, if any, is posted before the full picture, so the two arrive in order.
    preview.waitForFinished();
    return post(full);
}

void PictureLoader::deliverPreview(const std::shared_ptr<Job>& job, const DecodedPicture& preview) {
    if (job != current_ || job->finished || job->previewDelivered) {
        return;
    }
    job->previewDelivered = true;
    emit previewReady(job->id, preview.image, preview.fullSize);
}

void PictureLoader::deliverFull(const std::shared_ptr<Job>& job, const DecodedPicture& result) {
    if (job != current_ || job->finished) {
        return;
    }
    job->finished = true;
    if (result.ok()) {
        emit pictureReady(job->id, result.image);
    } else if (result.error != DecodeError::Cancelled) {
        emit loadFailed(job->id, result.message);
    }
}

} // namespace portiqa
