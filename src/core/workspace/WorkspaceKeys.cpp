#include "core/workspace/WorkspaceKeys.h"

namespace portiqa {

WorkspaceKeyAction WorkspaceKeys::action(int key, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    const Qt::KeyboardModifiers chord = modifiers & ~Qt::KeypadModifier;
    switch (key) {
    case Qt::Key_Left:
        return WorkspaceKeyAction::FrameLeft;
    case Qt::Key_Up:
        return WorkspaceKeyAction::FrameUp;
    case Qt::Key_Right:
        return WorkspaceKeyAction::FrameRight;
    case Qt::Key_Down:
        return WorkspaceKeyAction::FrameDown;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return keypad ? WorkspaceKeyAction::None : WorkspaceKeyAction::ZoomIn;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return keypad ? WorkspaceKeyAction::None : WorkspaceKeyAction::ZoomOut;
    case Qt::Key_V:
        return chord == Qt::ControlModifier ? WorkspaceKeyAction::Paste : WorkspaceKeyAction::None;
    case Qt::Key_C:
        return chord == Qt::ControlModifier ? WorkspaceKeyAction::Copy : WorkspaceKeyAction::None;
    default:
        return WorkspaceKeyAction::None;
    }
}

} // namespace portiqa
