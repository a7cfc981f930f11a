#include "core/editor/EditHistory.h"

namespace portiqa {

void EditHistory::recordEdit(EditStep replaced) {
    if (replaced.isNull()) {
        return;
    }
    redo_.clear();
    const qint64 bytes = replaced.bytes();
    if (!canKeep(bytes)) {
        undo_.clear();
        return;
    }
    qint64 kept = keptBytes();
    while (!undo_.empty() && kept + bytes > capBytes_) {
        kept -= undo_.front().bytes();
        undo_.pop_front();
    }
    undo_.push_back(std::move(replaced));
}

bool EditHistory::move(std::deque<EditStep>& from, std::deque<EditStep>& to, const Apply& apply) {
    if (from.empty()) {
        return false;
    }
    EditStep step = std::move(from.back());
    from.pop_back();
    if (!apply(step)) {
        from.push_back(std::move(step));
        return false;
    }
    to.push_back(std::move(step));
    return true;
}

bool EditHistory::undo(const Apply& apply) {
    return move(undo_, redo_, apply);
}

bool EditHistory::redo(const Apply& apply) {
    return move(redo_, undo_, apply);
}

void EditHistory::clear() {
    undo_.clear();
    redo_.clear();
}

qint64 EditHistory::keptBytes() const {
    qint64 bytes = 0;
    for (const auto* side : {&undo_, &redo_}) {
        for (const EditStep& step : *side) {
            bytes += step.bytes();
        }
    }
    return bytes;
}

} // namespace portiqa
