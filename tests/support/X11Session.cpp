#include "support/X11Session.h"

#include <QElapsedTimer>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace portiqa::test {

X11Session::X11Session() : display_(XOpenDisplay(nullptr)) {}

X11Session::~X11Session() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

unsigned long X11Session::findWindow(unsigned long root, const QString& title) {
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, root, &rootReturn, &parent, &children, &count) == 0) {
        return 0;
    }
    const Atom netWmName = XInternAtom(display_, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    unsigned long found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display_, children[i], &attributes) == 0 ||
            attributes.map_state != IsViewable) {
            continue;
        }
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, children[i], netWmName, 0, 1024, False, utf8, &type,
                               &format, &items, &after, &data) == Success &&
            data != nullptr) {
            if (QString::fromUtf8(reinterpret_cast<char*>(data), int(items)) == title) {
                found = children[i];
            }
            XFree(data);
        }
        if (found == 0) {
            found = findWindow(children[i], title);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

unsigned long X11Session::waitForWindow(const QString& title, int timeoutMs) {
    if (display_ == nullptr) {
        return 0;
    }
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        XSync(display_, False);
        if (const unsigned long w = findWindow(DefaultRootWindow(display_), title)) {
            return w;
        }
        QThread::msleep(20);
    }
    return 0;
}

QImage X11Session::grab(unsigned long window) {
    XWindowAttributes attributes;
    if (display_ == nullptr || XGetWindowAttributes(display_, window, &attributes) == 0) {
        return {};
    }
    XImage* image = XGetImage(display_, window, 0, 0, unsigned(attributes.width),
                              unsigned(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return {};
    }
    QImage result(attributes.width, attributes.height, QImage::Format_RGB32);
    for (int y = 0; y < attributes.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            line[x] = qRgb(int((pixel >> 16) & 0xff), int((pixel >> 8) & 0xff), int(pixel & 0xff));
        }
    }
    XDestroyImage(image);
    return result;
}

void X11Session::requestClose(unsigned long window) {
    if (display_ == nullptr) {
        return;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

} // namespace portiqa::test
