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
#include <functional>
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

    // `previewArea`: the picture area the new picture will be fitted into; the preview is
    // just large enough for that (see PictureDecoder::decodePreview). Empty: no preview.
    // Returns the request id.
    quint64 loadFile(const QString& path, QSize previewArea = {});
    quint64 loadBytes(const QByteArray& bytes, QSize previewArea = {});

    void cancel();

    // Whether a JPEG's preview decodes on a second thread beside the full picture (the full
    // picture comes sooner) or before it (the preview comes sooner where cores are scarce).
    // Default: beside it when the machine has more than two cores. For requests made later.
    void setPreviewBesideFull(bool beside) { previewBesideFull_ = beside; }

    // Called on the worker just before the full decode of each later request (after its
    // preview, when decoded first, has been posted). Lets a test hold a load at that stage.
    void setBeforeFullDecode(std::function<void()> hook) { beforeFullDecode_ = std::move(hook); }

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
    quint64 start(const Source& source, QSize previewArea);
    DecodedPicture run(const std::shared_ptr<Job>& job, const Source& source, QSize previewArea);
    void deliverPreview(const std::shared_ptr<Job>& job, const DecodedPicture& preview);
    void deliverFull(const std::shared_ptr<Job>& job, const DecodedPicture& result);

    PictureDecoder decoder_;
    QThreadPool pool_;
    std::shared_ptr<Job> current_;
    quint64 lastRequest_ = 0;
    bool previewBesideFull_ = false;
    std::function<void()> beforeFullDecode_;
};

} // namespace portiqa
