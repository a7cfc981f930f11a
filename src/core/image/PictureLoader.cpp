#include "core/image/PictureLoader.h"

#include <QtConcurrent/QtConcurrentRun>

namespace portiqa {

struct PictureLoader::Job {
    quint64 id = 0;
    std::atomic<bool> cancelled{false};
    QFuture<DecodedPicture> future;
    // GUI-thread state: what has been handed out.
    bool previewDelivered = false;
    bool finished = false;
};

PictureLoader::PictureLoader(DecodeLimits limits, QObject* parent)
    : QObject(parent), decoder_(limits) {
    // A picture decodes on one core; the second lets a new request start while a stale,
    // uncancellable step (a PNG, a GIF) still runs.
    pool_.setMaxThreadCount(2);
}

PictureLoader::~PictureLoader() {
    cancel();
    pool_.waitForDone();
}

quint64 PictureLoader::loadFile(const QString& path, QSize previewMinimum) {
    return start(Source{path, {}}, previewMinimum);
}

quint64 PictureLoader::loadBytes(const QByteArray& bytes, QSize previewMinimum) {
    return start(Source{{}, bytes}, previewMinimum);
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

quint64 PictureLoader::start(const Source& source, QSize previewMinimum) {
    cancel();
    auto job = std::make_shared<Job>();
    job->id = ++lastRequest_;
    current_ = job;
    job->future = QtConcurrent::run(
        &pool_, [this, job, source, previewMinimum] { return run(job, source, previewMinimum); });
    return job->id;
}

// Worker side. Results travel to the GUI thread as queued calls; the loader's destructor
// waits for the workers, and Qt drops queued calls to a destroyed object.
DecodedPicture PictureLoader::run(const std::shared_ptr<Job>& job, const Source& source,
                                  QSize previewMinimum) {
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
    if (!previewMinimum.isEmpty()) {
        const DecodedPicture first = decoder_.decode(bytes, previewMinimum, &job->cancelled);
        // A failure, or a format that cannot scale, or a picture already small: done.
        if (!first.isPreview()) {
            return post(first);
        }
        QMetaObject::invokeMethod(
            this, [this, job, first] { deliverPreview(job, first); }, Qt::QueuedConnection);
    }
    return post(decoder_.decode(bytes, QSize(), &job->cancelled));
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
