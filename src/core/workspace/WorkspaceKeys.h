#pragma once

// What a key pressed in the picture area means. Arrow keys move the frame whatever the
// modifiers; '=' / '+' and '-' (the main keyboard's keys, not the keypad's) zoom whatever the
// modifiers; V and C paste and copy only with Ctrl alone.

#include <Qt>

namespace portiqa {

enum class WorkspaceKeyAction {
    None,
    FrameLeft,
    FrameUp,
    FrameRight,
    FrameDown,
    ZoomIn,
    ZoomOut,
    Paste,
    Copy
};

class WorkspaceKeys {
public:
    static WorkspaceKeyAction action(int key, Qt::KeyboardModifiers modifiers);
};

} // namespace portiqa
