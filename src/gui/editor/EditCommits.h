#pragma once

// The editor's commits and their undo history.
//
// A commit makes what was drawn on the picture area part of the picture
// (PhotoWorkspace::commitEdits) and records what it replaced, so Ctrl+Z gives back exactly the
// picture, zoom and view of before and Ctrl+Y (or Ctrl+Shift+Z) the edit again. A commit that
// cannot be made (the zoomed picture is too large) is told, and the view goes back to what the
// picture holds. A commit whose step the history cannot keep is told before it is made: it
// cannot be undone, and neither can the edits before it.
//
// A commit at a zoom other than 1 builds the new picture on worker threads. Meanwhile the
// window keeps painting under the wait cursor, and the operator's input waits until the
// commit is done; then it arrives in order.
//
// GUI thread only. The workspace and the dialogs must outlive it.

#include "core/editor/EditHistory.h"
#include "core/workspace/PicturePyramid.h"

#include <QFuture>
#include <QObject>

#include <functional>

class QWidget;

namespace portiqa {

class Dialogs;
class PhotoWorkspace;

class EditCommits : public QObject {
    Q_OBJECT
public:
    EditCommits(PhotoWorkspace& photo, Dialogs& dialogs, QObject* parent = nullptr);
    ~EditCommits() override;

    EditHistory& history() { return history_; }

    // What was drawn on the composition becomes part of the picture, undoably where it can.
    void commit();
    // Nothing while a stroke is held (`strokeHeld`) or without a picture.
    void undo();
    void redo();
    void setStrokeHeld(std::function<bool()> strokeHeld) { strokeHeld_ = std::move(strokeHeld); }
    // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z on the main window. They work while the tool window is
    // active too: a tool window keeps its parent's shortcuts, so a second set there would
    // make every press ambiguous and do nothing.
    void addKeysTo(QWidget* mainWindow);

    // How the program waits for a commit's worker threads: wait cursor, window painting,
    // input held back until the job is done.
    static void waitHoldingInput(const QFuture<PicturePyramidPtr>& job);

    static QString refusedMessage();
    static QString notUndoableMessage();

private:
    PhotoWorkspace& photo_;
    Dialogs& dialogs_;
    EditHistory history_;
    std::function<bool()> strokeHeld_;
};

} // namespace portiqa
