#include "core/app/StatusHint.h"

namespace portiqa {

bool StatusHint::set(const QString& text) {
    if (text == text_) {
        return false;
    }
    text_ = text;
    if (writer_) {
        writer_(text_);
    }
    return true;
}

} // namespace portiqa
