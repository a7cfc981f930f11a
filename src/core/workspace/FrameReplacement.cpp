#include "core/workspace/FrameReplacement.h"

namespace portiqa {

void FrameReplacement::set(const QImage& source, const QImage& replaced) {
    if (source.isNull() || replaced.size() != source.size()) {
        clear();
        return;
    }
    source_ = source.convertToFormat(QImage::Format_RGB32);
    replaced_ = replaced.convertToFormat(QImage::Format_RGB32);
}

void FrameReplacement::clear() {
    source_ = QImage();
    replaced_ = QImage();
}

bool FrameReplacement::standsFor(const QImage& framed) const {
    return !replaced_.isNull() && framed.size() == source_.size() &&
           framed.convertToFormat(QImage::Format_RGB32) == source_;
}

} // namespace portiqa
