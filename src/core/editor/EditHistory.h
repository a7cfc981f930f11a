#pragma once

// The undo history of the editor: the pictures as they were before each committed edit (a
// brush stroke or a line of text), with zoom and view, so an undo gives back exactly what was
// on show. Redo keeps the states undone since the last edit.
//
// The kept pictures are bounded by a memory cap; when a new level would pass it, the oldest
// levels are dropped first. A level larger than the whole cap is not kept at all. The
// workspace's current picture is not counted: it is the workspace's.
//
// GUI thread only; the pictures themselves are shared and never changed.

#include "core/workspace/PhotoWorkspace.h"

#include <QtGlobal>

#include <deque>
#include <optional>

namespace portiqa {

class EditHistory {
public:
    using State = PhotoWorkspace::PictureState;
    static constexpr qint64 DefaultCapBytes = 256LL * 1024 * 1024;

    explicit EditHistory(qint64 capBytes = DefaultCapBytes) : capBytes_(capBytes) {}

    // An edit was committed; `before` is the state it replaced. Forgets what was undone.
    void recordEdit(State before);
    // The state to restore for an undo (or redo); `current` is kept for the way back.
    // Nothing when there is no level.
    std::optional<State> undo(State current);
    std::optional<State> redo(State current);
    // A new picture came in: the levels belong to the old one.
    void clear();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    int undoLevels() const { return static_cast<int>(undo_.size()); }
    int redoLevels() const { return static_cast<int>(redo_.size()); }
    qint64 keptBytes() const { return keptBytes_; }
    qint64 capBytes() const { return capBytes_; }

    // What keeping a state costs: its picture's pixels at every pyramid level.
    static qint64 stateBytes(const State& state);

private:
    void enforceCap();

    qint64 capBytes_;
    qint64 keptBytes_ = 0;
    std::deque<State> undo_; // oldest first
    std::deque<State> redo_; // nearest last
};

} // namespace portiqa
