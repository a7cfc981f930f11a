#pragma once

// The batch crop hotkeys A, S, D and F, taken for the whole desktop while they are on: the
// letters step the run whichever program has the keyboard, and reach other programs again
// once they are off.
//
// On X11 they are passive key grabs on the root window through Qt's own xcb connection, one
// per key for no modifier and for CapsLock, NumLock and both, so the lock keys do not
// matter. A key another program already holds cannot be taken; that is said once in the
// status hint and the other keys still work. Where there is no X11 (Wayland, offscreen),
// application-wide shortcuts take their place and the hint says the keys work only while
// the program has the focus.
//
// GUI thread only. Presses are delivered through the event loop, never from inside the
// platform's event dispatch, so what a key does may open message boxes.

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class QShortcut;
class QWidget;

namespace portiqa::platform {

class GlobalHotkeys : public QObject {
    Q_OBJECT
public:
    // `window` carries the fallback shortcuts; it must outlive this object.
    explicit GlobalHotkeys(QWidget* window, QObject* parent = nullptr);
    ~GlobalHotkeys() override;

    // Takes the four keys; nothing when they are taken already.
    void registerKeys();
    // Gives them back; nothing when they are not taken.
    void unregisterKeys();
    bool registered() const { return registered_; }

    // Whether the keys reach the program from every window (X11 grabs) or only while it has
    // the focus (shortcuts).
    bool systemWide() const;

    static QString focusOnlyHint();
    static QString keyTakenHint(const QString& letters);

signals:
    // 'A', 'S', 'D' or 'F'.
    void hotkeyPressed(char letter);
    // Something the operator should know about the keys, for the status hint.
    void notice(const QString& text);

private:
    class X11Grabs;

    QWidget* window_;
    std::unique_ptr<X11Grabs> x11_;
    QList<QShortcut*> shortcuts_;
    bool registered_ = false;
    bool noticeGiven_ = false;
};

} // namespace portiqa::platform
