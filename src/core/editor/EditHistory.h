#pragma once

// The undo history of the editor: for each committed edit (a brush stroke or a line of text)
// what the commit replaced (EditStep), so an undo gives back exactly the picture, zoom and
// view of before. Redo keeps the steps undone since the last edit.
//
// What the steps keep is bounded by a memory cap, checked when an edit is recorded: the oldest
// steps are dropped first to make room. A step larger than the whole cap cannot be kept, and
// then the steps before it are forgotten too, since they no longer lead back from the picture
// the edit leaves; the editor tells the operator so before such a commit (canKeep()). Undo and
// redo only move steps between the two sides and the workspace, which costs no memory, so they
// never drop one.
//
// GUI thread only.

#include "core/workspace/EditStep.h"

#include <QtGlobal>

#include <deque>
#include <functional>

namespace portiqa {

class EditHistory {
public:
    static constexpr qint64 DefaultCapBytes = 256LL * 1024 * 1024;

    explicit EditHistory(qint64 capBytes = DefaultCapBytes) : capBytes_(capBytes) {}

    // Whether a step of `bytes` can be kept at all.
    bool canKeep(qint64 bytes) const { return bytes <= capBytes_; }
    // An edit was committed; `replaced` is what it replaced (a null step records nothing).
    // Forgets what was undone.
    void recordEdit(EditStep replaced);

    // `apply` puts a step into the picture and leaves in it what it replaced (as
    // PhotoWorkspace::exchangeEdit does). Undo hands it the newest step and keeps what comes
    // back for the redo; redo the other way round. False when there is nothing to do or
    // `apply` fails, and the step stays where it was.
    using Apply = std::function<bool(EditStep&)>;
    bool undo(const Apply& apply);
    bool redo(const Apply& apply);
    // A new picture came in: the steps belong to the old one.
    void clear();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    int undoLevels() const { return static_cast<int>(undo_.size()); }
    int redoLevels() const { return static_cast<int>(redo_.size()); }
    qint64 keptBytes() const;
    qint64 capBytes() const { return capBytes_; }
    void setCapBytes(qint64 capBytes) { capBytes_ = capBytes; }

private:
    static bool move(std::deque<EditStep>& from, std::deque<EditStep>& to, const Apply& apply);

    qint64 capBytes_;
    std::deque<EditStep> undo_; // oldest first
    std::deque<EditStep> redo_; // nearest last
};

} // namespace portiqa
