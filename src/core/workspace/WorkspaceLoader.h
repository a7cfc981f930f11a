#pragma once

// The one owner of "what is loading and what to restore" for the photo workspace.
//
// Every picture that reaches the workspace goes through here: files (open, drop, command line,
// batch navigation) load in the background in stages (a scaled preview may show first, then
// the full picture is decoded, then its pyramid is built), pictures that arrive whole on the
// GUI thread (a paste) are shown at once. This object alone knows whether a load is in flight
// and which full picture was on show before it began (the restore point). Callers never ask
// which stage a load has reached.
//
// Promises:
// - A load ends in one of two states: its new full picture on show, or, when it fails at any
//   stage (unreadable, corrupt, out of memory), the restore point on show again with its exact
//   pixels, zoom and view, and a message through Dialogs. A preview is never left behind.
// - A new load or a whole picture that supersedes a pending one keeps the restore point of
//   the first: it is always a full picture (or no picture at all), never a preview.
// - A picture that cannot be shown changes nothing, and a pending load goes on.
// - Nothing here moves the keyboard focus: a load that finishes in the background leaves the
//   focus where the operator put it.
//
// GUI thread only. waitForPicture() is what everything that reads the picture itself (save,
// copy, turn, the editor's commit) calls first.

#include "core/dialogs/Dialogs.h"
#include "core/image/PictureLoader.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/PicturePrefetcher.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

namespace portiqa {

class WorkspaceLoader : public QObject {
    Q_OBJECT
public:
    WorkspaceLoader(PhotoWorkspace& workspace, Dialogs& dialogs, QObject* parent = nullptr);
    ~WorkspaceLoader() override;

    // Starts loading a file. The picture on show stays until the new one (or its preview)
    // arrives; a failure is told and puts the restore point back. A picture the prefetcher
    // holds is shown at once (or its scaled view, the whole one following), exactly as a
    // fresh load would show it.
    void loadFile(const QString& path);
    // While `when` answers true (batch crop mode), a file that cannot be shown leaves no
    // picture at all instead of the one before, which a save would otherwise take for it; its
    // message names the file and does not wait: the next load closes it.
    void setDropPictureOnFailure(std::function<bool()> when);
    // Pictures read ahead (batch crop); null for none. It must outlive this loader.
    void setPrefetcher(PicturePrefetcher* prefetcher);
    // A whole picture (a paste): shown at once, fitted, scroll fractions to the middle when
    // `resetScrollFractions`. It ends any pending load. False when it cannot be shown: then
    // nothing changes and a pending load goes on.
    bool showPicture(const QImage& picture, bool resetScrollFractions = true);

    // The message of a file that could not be shown while pictures are dropped on failure.
    static QString failedFileMessage(const QString& fileName, const QString& reason);

    // A batch step onto a file that is not there: a pending load is dropped (it belonged to
    // the step before) and no picture is on show.
    void showNothing();

    // True from loadFile() until the load has ended either way.
    bool isLoading() const { return request_ != 0; }
    // True while a load has put nothing of its picture on show yet (no preview either).
    bool firstViewPending() const { return isLoading() && !previewShown_; }
    // Blocks until the pending load has ended (its full picture on show, or its failure told
    // and the restore point back). Returns at once when nothing is loading.
    void waitForPicture();

    // For tests that must catch a load at a given stage: called on a worker thread as the
    // full decode and the pyramid build begin (the preview, if any, has been posted before).
    enum class Stage { FullDecode, PyramidBuild };
    void setStageHook(std::function<void(Stage)> hook);
    PictureLoader& pictureLoader() { return loader_; }

signals:
    // A load has ended: `shown` is true when its full picture is on show.
    void loadEnded(bool shown);

private:
    void previewArrived(quint64 request, const QImage& preview, const QSize& fullSize);
    void pictureArrived(quint64 request, const QImage& picture);
    void pyramidBuilt();
    void loadFailed(quint64 request, const QString& message);
    void fail(const QString& message);
    void end(bool shown);
    void applyPrefetched();

    PhotoWorkspace& workspace_;
    Dialogs& dialogs_;
    PictureLoader loader_;
    PhotoWorkspace::PictureState restorePoint_; // valid while request_ != 0
    quint64 request_ = 0;                       // the load in flight, 0 when none
    bool previewShown_ = false;                 // its preview is what the workspace shows
    bool pyramidPending_ = false;               // its full picture is being made ready
    QFuture<PicturePyramidPtr> pyramidJob_;
    QFutureWatcher<PicturePyramidPtr> pyramidWatcher_;
    std::function<void(Stage)> stageHook_;
    PicturePrefetcher* prefetcher_ = nullptr;
    std::function<bool()> dropPictureOnFailure_;
    PicturePrefetcher::EntryPtr awaiting_; // the prefetched picture this load shows
    QString path_;                         // the file being loaded
};

} // namespace portiqa
