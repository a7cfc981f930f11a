#include "core/workspace/PicturePrefetcher.h"

#include <QFileInfo>
#include <QImageReader>

namespace portiqa {

namespace {

bool unchanged(const PicturePrefetcher::Entry& entry) {
    const QFileInfo info(entry.path);
    return info.size() == entry.fileSize && info.lastModified() == entry.modified;
}

// What keeping an entry costs: its picture when it has one, else the size its file declares.
qint64 entryBytes(const PicturePrefetcher::EntryPtr& entry, const QString& path) {
    if (entry) {
        std::lock_guard<std::mutex> guard(entry->lock);
        if (entry->picture) {
            return PicturePrefetcher::pictureBytes(entry->picture->size());
        }
        if (entry->fullSize.isValid()) {
            return PicturePrefetcher::pictureBytes(entry->fullSize);
        }
    }
    // Only the header is read; an unreadable file costs nothing (its read fails at once).
    const QSize size = QImageReader(path).size();
    return size.isValid() ? PicturePrefetcher::pictureBytes(size) : 0;
}

} // namespace

qint64 PicturePrefetcher::pictureBytes(QSize size) {
    // Four bytes a pixel; the halved levels of the pyramid add a third.
    return qint64(size.width()) * size.height() * 4 * 4 / 3;
}

PicturePrefetcher::PicturePrefetcher(DecodeLimits limits, QObject* parent)
    : QObject(parent), decoder_(limits) {
    // One worker: the picture on show loads on the loader's own threads and must not wait
    // behind its neighbours on a small machine.
    pool_.setMaxThreadCount(1);
}

PicturePrefetcher::~PicturePrefetcher() {
    for (const EntryPtr& entry : std::as_const(entries_)) {
        entry->cancelled = true;
    }
    pool_.waitForDone();
}

void PicturePrefetcher::prefetch(const QStringList& paths, QSize area, const QString& current) {
    QHash<QString, EntryPtr> kept;
    // The picture on show becomes a neighbour with the next step: kept, not read again.
    if (const EntryPtr shown = entries_.value(current); shown && !paths.contains(current)) {
        kept.insert(current, shown);
    }
    qint64 held = 0;
    bool first = true;
    for (const QString& path : paths) {
        if (path.isEmpty() || kept.contains(path)) {
            continue;
        }
        EntryPtr entry = entries_.value(path);
        if (entry && (entry->failed || !unchanged(*entry))) {
            entry->cancelled = true;
            entry.reset();
        }
        const qint64 bytes = entryBytes(entry, path);
        if (!first && held + bytes > budget_) {
            continue; // dropped below with the other entries not kept
        }
        first = false;
        held += bytes;
        if (!entry) {
            entry = std::make_shared<Entry>();
            entry->path = path;
            const QFileInfo info(path);
            entry->fileSize = info.size();
            entry->modified = info.lastModified();
            pool_.start(
                [this, entry, area, preparation = preparation_] { run(entry, area, preparation); });
        }
        kept.insert(path, entry);
    }
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) {
        if (!kept.contains(it.key())) {
            it.value()->cancelled = true; // stale: its worker stops at the next stage
        }
    }
    entries_ = std::move(kept);
    active_ = !paths.isEmpty();
}

void PicturePrefetcher::adopt(const QString& path, PicturePyramidPtr picture) {
    if (!active_ || path.isEmpty() || !picture) {
        return;
    }
    auto entry = std::make_shared<Entry>();
    entry->path = path;
    const QFileInfo info(path);
    entry->fileSize = info.size();
    entry->modified = info.lastModified();
    entry->fullSize = picture->size();
    entry->picture = std::move(picture);
    entry->done = true;
    if (EntryPtr old = entries_.value(path)) {
        old->cancelled = true;
    }
    entries_.insert(path, entry);
}

PicturePrefetcher::EntryPtr PicturePrefetcher::find(const QString& path) const {
    EntryPtr entry = entries_.value(path);
    if (!entry || !unchanged(*entry)) {
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(entry->lock);
    return entry->failed ? nullptr : entry;
}

void PicturePrefetcher::wait(const EntryPtr& entry) {
    std::unique_lock<std::mutex> guard(entry->lock);
    entry->changed.wait(guard, [&entry] { return entry->done; });
}

void PicturePrefetcher::post(const QString& path) {
    QMetaObject::invokeMethod(
        this, [this, path] { emit progressed(path); }, Qt::QueuedConnection);
}

void PicturePrefetcher::run(const EntryPtr& entry, QSize area, const Preparation& preparation) {
    const auto finish = [&](PicturePyramidPtr picture) {
        {
            std::lock_guard<std::mutex> guard(entry->lock);
            entry->picture = std::move(picture);
            entry->failed = !entry->picture;
            entry->done = true;
        }
        entry->changed.notify_all();
        post(entry->path);
    };
    QByteArray bytes;
    DecodedPicture failure;
    if (entry->cancelled || !decoder_.readFile(entry->path, bytes, failure)) {
        return finish(nullptr);
    }
    // The same first view a fresh load would show, for the area the picture is shown in.
    if (!area.isEmpty() && PictureDecoder::formatOf(bytes) == PictureFormat::Jpeg) {
        const DecodedPicture first = decoder_.decode(bytes, area, &entry->cancelled);
        if (first.isPreview()) {
            {
                std::lock_guard<std::mutex> guard(entry->lock);
                entry->preview = first.image;
                entry->fullSize = first.fullSize;
            }
            entry->changed.notify_all();
            post(entry->path);
        }
    }
    if (entry->cancelled) {
        return finish(nullptr);
    }
    const DecodedPicture full = decoder_.decode(bytes, QSize(), &entry->cancelled);
    if (!full.ok() || entry->cancelled) {
        return finish(nullptr);
    }
    {
        std::lock_guard<std::mutex> guard(entry->lock);
        entry->fullSize = full.image.size();
    }
    PicturePyramidPtr picture = PicturePyramid::build(full.image);
    if (picture && preparation && !entry->cancelled) {
        std::function<void()> beforeShow = preparation(picture);
        std::lock_guard<std::mutex> guard(entry->lock);
        entry->beforeShow = std::move(beforeShow);
    }
    finish(std::move(picture));
}

} // namespace portiqa
