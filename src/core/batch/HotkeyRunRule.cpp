#include "core/batch/HotkeyRunRule.h"

namespace portiqa {

bool HotkeyRunRule::keyPressed(HotkeyDirection direction) {
    if (stepped_ && direction == last_ && !settled_) {
        return false;
    }
    stepped_ = true;
    last_ = direction;
    settled_ = false;
    return true;
}

void HotkeyRunRule::reset() {
    stepped_ = false;
    settled_ = true;
}

bool hotkeyDirection(char letter, HotkeyDirection* direction) {
    switch (letter) {
    case 'A':
    case 'S':
        *direction = HotkeyDirection::Next;
        return true;
    case 'D':
    case 'F':
        *direction = HotkeyDirection::Previous;
        return true;
    default:
        return false;
    }
}

} // namespace portiqa
