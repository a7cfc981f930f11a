#pragma once

// End-to-end helpers that talk to the X server the tests run under (xvfb-run): find a
// program's window by its title, read its pixels as the screen shows them, and ask it to
// close the way a window manager's close button does.

#include <QImage>
#include <QString>

struct _XDisplay;

namespace portiqa::test {

class X11Session {
public:
    X11Session();
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool connected() const { return display_ != nullptr; }

    // Waits up to `timeoutMs` for a mapped top-level window with this exact title; 0 if none.
    unsigned long waitForWindow(const QString& title, int timeoutMs);
    // The window's pixels (its own area, no decoration).
    QImage grab(unsigned long window);
    // Sends WM_DELETE_WINDOW, as a close button does.
    void requestClose(unsigned long window);

private:
    unsigned long findWindow(unsigned long root, const QString& title);

    ::_XDisplay* display_ = nullptr;
};

} // namespace portiqa::test
