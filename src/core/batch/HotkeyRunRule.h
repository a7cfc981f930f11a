#pragma once

// When a navigation hotkey steps the batch run. A key held down repeats faster than large
// pictures can be shown, and repeats queued behind a slow step must not turn into a backlog
// that runs on after the key is released. So:
//   - a key in the same direction as the last step acts only once the last step's picture is
//     on show (or the step showed nothing): back-to-back presses act once, and a held key
//     steps at most once per displayed picture;
//   - a key in the other direction always acts (next right after previous moves back);
//   - released hotkeys forget the last direction.
//
// GUI thread only.

namespace portiqa {

enum class HotkeyDirection { Next, Previous };

class HotkeyRunRule {
public:
    // A hotkey press; true when it steps the run.
    bool keyPressed(HotkeyDirection direction);
    // The last step's picture is on show, failed, or the step showed none.
    void pictureSettled() { settled_ = true; }
    // The hotkeys were released.
    void reset();

    bool waitingForPicture() const { return stepped_ && !settled_; }

private:
    bool stepped_ = false;
    HotkeyDirection last_ = HotkeyDirection::Next;
    bool settled_ = true;
};

// The direction of a hotkey letter: A or S next, D or F previous; nothing else is a hotkey.
bool hotkeyDirection(char letter, HotkeyDirection* direction);

} // namespace portiqa
