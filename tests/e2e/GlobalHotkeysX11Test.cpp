// The X11 grabs in this process under the test X server: a key that another client already
// holds is said once in a notice, and the others are still taken; taking and giving back the
// keys twice has no further effect.

#include "platform/GlobalHotkeys.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QSignalSpy>
#include <QWidget>

#include <X11/keysym.h>
#include <X11/Xlib.h>

using portiqa::platform::GlobalHotkeys;

namespace {

bool refused = false;
int recordRefusal(Display*, XErrorEvent* error) {
    refused = refused || error->error_code == BadAccess;
    return 0;
}

// Whether `display` can grab the key of `symbol` on the root window right now.
bool canGrab(Display* display, KeySym symbol) {
    refused = false;
    XErrorHandler previous = XSetErrorHandler(recordRefusal);
    const KeyCode code = XKeysymToKeycode(display, symbol);
    XGrabKey(display, code, 0, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync);
    XSync(display, False);
    XUngrabKey(display, code, 0, DefaultRootWindow(display));
    XSync(display, False);
    XSetErrorHandler(previous);
    return !refused;
}

} // namespace

TEST(GlobalHotkeysX11, AKeyHeldByAnotherClientIsSaidOnce) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "not on X11 (run the suite under xvfb-run)";
    }
    // Another client takes "f" first, as a desktop shortcut might.
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    const KeyCode f = XKeysymToKeycode(other, XK_f);
    XGrabKey(other, f, 0, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync);
    XSync(other, False);

    QWidget window;
    GlobalHotkeys keys(&window);
    EXPECT_TRUE(keys.systemWide());
    QSignalSpy notices(&keys, &GlobalHotkeys::notice);
    keys.registerKeys();
    keys.registerKeys();
    EXPECT_TRUE(keys.registered());
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0][0].toString(),
              QStringLiteral("F键已被其他程序占用，批量截图时该键无效。"));
    keys.unregisterKeys();
    keys.unregisterKeys();
    EXPECT_FALSE(keys.registered());
    keys.registerKeys(); // said once: not again at the next switch-on
    EXPECT_EQ(notices.size(), 1);
    EXPECT_FALSE(canGrab(other, XK_a)); // ours while taken
    keys.unregisterKeys();
    EXPECT_TRUE(canGrab(other, XK_a)); // and free again once given back
    XCloseDisplay(other);
}
