#pragma once

// Pixels shown and captured in place of the frame's own: the framed picture with another
// background. It stands only while the pixels under the frame are still the ones it was made
// from, so a zoom, a scroll, a frame move, a turn, an edit or another picture puts the
// picture's own pixels back at once, before a new replacement is ready.

#include <QImage>

namespace portiqa {

class FrameReplacement {
public:
    // `replaced` stands for the frame's pixels while they are `source` (same size).
    void set(const QImage& source, const QImage& replaced);
    void clear();
    // Whether the replacement stands for `framed`, the frame's pixels now.
    bool standsFor(const QImage& framed) const;
    const QImage& replaced() const { return replaced_; }
    bool empty() const { return replaced_.isNull(); }

private:
    QImage source_;
    QImage replaced_;
};

} // namespace portiqa
