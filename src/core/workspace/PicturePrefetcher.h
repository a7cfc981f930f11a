#pragma once

// Pictures decoded ahead of need: while a batch run shows one picture, the next and the
// previous one are read in the background, first as the scaled view they will be shown at,
// then whole with their pyramid, so a step shows its picture at once.
//
// Promises:
// - At most the pictures last asked for are kept: prefetch() drops every other entry and
//   stops its work at the next stage boundary (the decoder is asked to stop early too).
// - Read-ahead is bounded by bytes as well: besides the picture on show, the pictures kept
//   (with their pyramids) stay within byteBudget(), the first one asked for excepted, so that
//   a run of large pictures holds the one on show and the next, not three of them.
// - A picture is only offered while its file is unchanged (same size and modification
//   time as when it was read); a changed file is a miss and loads afresh.
// - A picture that cannot be decoded is never offered: the fresh load reports it.
//
// GUI thread only, except the workers, which touch nothing but their own entry.

#include "core/image/PictureDecoder.h"
#include "core/workspace/PicturePyramid.h"

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace portiqa {

class PicturePrefetcher : public QObject {
    Q_OBJECT
public:
    // One picture's work: written by its worker under the lock, read by the GUI thread.
    struct Entry {
        QString path;
        qint64 fileSize = -1;
        QDateTime modified;
        std::atomic<bool> cancelled{false};
        mutable std::mutex lock;
        std::condition_variable changed;
        QImage preview; // the scaled first view, when the format has one
        QSize fullSize;
        PicturePyramidPtr picture; // the whole picture, ready to show
        // Prepared with the whole picture on the worker; run on the GUI thread just before
        // the picture is shown.
        std::function<void()> beforeShow;
        bool done = false;   // no more work will come
        bool failed = false; // nothing to show: load afresh
    };
    using EntryPtr = std::shared_ptr<Entry>;
    // Extra work on a whole picture, done on the worker before the picture is offered; what
    // it returns runs on the GUI thread just before that picture is shown. The face framing
    // finds the faces of the next picture this way, so it appears framed at once.
    using Preparation = std::function<std::function<void()>(const PicturePyramidPtr&)>;

    explicit PicturePrefetcher(DecodeLimits limits = {}, QObject* parent = nullptr);
    // Stops and waits for its workers.
    ~PicturePrefetcher() override;

    // About one 20-megapixel picture with its pyramid: both neighbours of pictures up to
    // about 8 megapixels are read ahead, only the next one of larger pictures.
    static constexpr qint64 DefaultByteBudget = qint64(160) << 20;

    // Keeps these pictures (decoding those not yet read, in order) for an area of `area`,
    // as far as the byte budget allows (the first always), and the picture on show,
    // `current`, when it is held already (it is never read here: its own load is under way
    // or done, and the workspace holds it anyway).
    void prefetch(const QStringList& paths, QSize area, const QString& current = {});
    // The preparation for the reads that start from now on; empty for none.
    void setPreparation(Preparation preparation) { preparation_ = std::move(preparation); }
    // A picture already decoded elsewhere (the one just shown), kept as if prefetched so a
    // step back to it costs nothing; it goes with the next prefetch() unless asked for
    // there. Ignored while nothing is being prefetched.
    void adopt(const QString& path, PicturePyramidPtr picture);
    // The entry for a path when it may be used (file unchanged, not failed), else null.
    EntryPtr find(const QString& path) const;
    // Blocks until the entry's work is done.
    static void wait(const EntryPtr& entry);

    void setByteBudget(qint64 bytes) { budget_ = bytes; }
    qint64 byteBudget() const { return budget_; }
    // What a picture of this size holds with its pyramid.
    static qint64 pictureBytes(QSize size);

    // How many entries are kept; for tests and the memory benchmark.
    int entryCount() const { return int(entries_.size()); }

signals:
    // An entry's preview or whole picture has arrived (GUI thread).
    void progressed(const QString& path);

private:
    void run(const EntryPtr& entry, QSize area, const Preparation& preparation);
    void post(const QString& path);

    PictureDecoder decoder_;
    QThreadPool pool_;
    QHash<QString, EntryPtr> entries_;
    bool active_ = false;
    Preparation preparation_;
    qint64 budget_ = DefaultByteBudget;
};

} // namespace portiqa
