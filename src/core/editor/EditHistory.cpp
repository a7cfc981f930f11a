#include "core/editor/EditHistory.h"

namespace portiqa {

qint64 EditHistory::stateBytes(const State& state) {
    if (!state.picture) {
        return 0;
    }
    qint64 bytes = 0;
    for (int i = 0; i < state.picture->levelCount(); ++i) {
        bytes += state.picture->level(i).sizeInBytes();
    }
    return bytes;
}

void EditHistory::recordEdit(State before) {
    for (const State& s : redo_) {
        keptBytes_ -= stateBytes(s);
    }
    redo_.clear();
    keptBytes_ += stateBytes(before);
    undo_.push_back(std::move(before));
    enforceCap();
}

std::optional<EditHistory::State> EditHistory::undo(State current) {
    if (undo_.empty()) {
        return std::nullopt;
    }
    State back = std::move(undo_.back());
    undo_.pop_back();
    keptBytes_ -= stateBytes(back);
    keptBytes_ += stateBytes(current);
    redo_.push_back(std::move(current));
    enforceCap();
    return back;
}

std::optional<EditHistory::State> EditHistory::redo(State current) {
    if (redo_.empty()) {
        return std::nullopt;
    }
    State forward = std::move(redo_.back());
    redo_.pop_back();
    keptBytes_ -= stateBytes(forward);
    keptBytes_ += stateBytes(current);
    undo_.push_back(std::move(current));
    enforceCap();
    return forward;
}

void EditHistory::clear() {
    undo_.clear();
    redo_.clear();
    keptBytes_ = 0;
}

void EditHistory::enforceCap() {
    // The oldest edits go first, then the redo states farthest from the present.
    while (keptBytes_ > capBytes_ && !undo_.empty()) {
        keptBytes_ -= stateBytes(undo_.front());
        undo_.pop_front();
    }
    while (keptBytes_ > capBytes_ && !redo_.empty()) {
        keptBytes_ -= stateBytes(redo_.front());
        redo_.pop_front();
    }
}

} // namespace portiqa
