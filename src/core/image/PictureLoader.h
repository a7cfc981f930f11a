#pragma once

#include "core/image/DecodedPicture.h"
#include "core/image/PictureDecoder.h"

#include <QByteArray>
#include <QFuture>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace portiqa {

// Decodes pictures off the GUI thread. A request first reports a scaled preview (when the
// format allows one smaller than the picture) and then the full picture; both signals are
// emitted on the loader's thread (the GUI thread). Only the newest request counts: a new
// request, or cancel(), silences every earlier one and asks its worker to stop.
//
// Anything that must work on the full picture (save, copy, turn, commit) calls
// waitForPicture() first: it blocks until the current request is done and delivers its
// result through the same signals before returning.
class PictureLoader : public QObject {
    Q_OBJECT

public:
    explicit PictureLoader(DecodeLimits limits = {}, QObject* parent = nullptr);
    // Stops and waits for its workers; no signal is emitted afterwards.
    ~PictureLoader() override;

    // `previewMinimum`: the smallest preview worth showing, in upright pixels (the picture
    // area's size at the fitted zoom is a good choice; the full size is not known yet, so
    // the area's own size is the simple safe one). Empty: no preview. Returns the request id.
    quint64 loadFile(const QString& path, QSize previewMinimum = {});
    quint64 loadBytes(const QByteArray& bytes, QSize previewMinimum = {});

    void cancel();

    // The id of the newest request, 0 before the first.
    quint64 currentRequest() const { return lastRequest_; }
    // True while the newest request has not yet reported its full picture or its failure.
    bool isLoading() const;

    // Blocks until the newest request's full picture or failure has been emitted. Returns
    // at once when nothing is pending.
    void waitForPicture();

signals:
    void previewReady(quint64 request, const QImage& preview, const QSize& fullSize);
    void pictureReady(quint64 request, const QImage& picture);
    void loadFailed(quint64 request, const QString& message);

private:
    struct Job;
    struct Source {
        QString path; // read on the worker when not empty
        QByteArray bytes;
    };
    quint64 start(const Source& source, QSize previewMinimum);
    DecodedPicture run(const std::shared_ptr<Job>& job, const Source& source, QSize previewMinimum);
    void deliverPreview(const std::shared_ptr<Job>& job, const DecodedPicture& preview);
    void deliverFull(const std::shared_ptr<Job>& job, const DecodedPicture& result);

    PictureDecoder decoder_;
    QThreadPool pool_;
    std::shared_ptr<Job> current_;
    quint64 lastRequest_ = 0;
};

} // namespace portiqa
