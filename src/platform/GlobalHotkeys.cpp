#include "platform/GlobalHotkeys.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <array>
#include <utility>

namespace portiqa::platform {

namespace {

constexpr std::array<char, 4> kLetters{'A', 'S', 'D', 'F'};
// The lock keys must not matter: the same key is taken with CapsLock, NumLock (Mod2 on
// every usual layout) and both.
constexpr std::array<uint16_t, 4> kLockVariants{0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

} // namespace

// The grabs on the root window and the filter that takes their events out of Qt's stream.
class GlobalHotkeys::X11Grabs final : public QAbstractNativeEventFilter {
public:
    X11Grabs(GlobalHotkeys& owner, xcb_connection_t* connection)
        : owner_(owner), connection_(connection) {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        root_ = xcb_setup_roots_iterator(setup).data->root;
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection_);
        for (std::size_t i = 0; i < kLetters.size(); ++i) {
            const xcb_keysym_t lower = static_cast<xcb_keysym_t>(kLetters[i] - 'A' + 'a');
            xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, lower);
            keycodes_[i] = codes != nullptr ? codes[0] : 0;
            free(codes);
        }
        xcb_key_symbols_free(symbols);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~X11Grabs() override {
        release();
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    // Takes every key; returns the letters another program holds.
    QString grab() {
        QString refused;
        for (std::size_t i = 0; i < kLetters.size(); ++i) {
            bool taken = keycodes_[i] != 0;
            for (const uint16_t modifiers : kLockVariants) {
                if (keycodes_[i] == 0) {
                    break;
                }
                // Not owner_events: with the program's own window focused the key still
                // comes to the root grab, so it steps the run there too.
                const xcb_void_cookie_t cookie =
                    xcb_grab_key_checked(connection_, 0, root_, modifiers, keycodes_[i],
                                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
                if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
                    free(error);
                    if (modifiers == 0) {
                        taken = false;
                    }
                }
            }
            if (!taken) {
                refused += QLatin1Char(kLetters[i]);
            }
        }
        xcb_flush(connection_);
        active_ = true;
        return refused;
    }

    void release() {
        if (!active_) {
            return;
        }
        for (const xcb_keycode_t code : keycodes_) {
            for (const uint16_t modifiers : kLockVariants) {
                if (code != 0) {
                    xcb_ungrab_key(connection_, code, root_, modifiers);
                }
            }
        }
        // A round trip, so the keys are free for other programs once this returns, not
        // whenever the server gets to the ungrabs.
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        active_ = false;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (!active_ || eventType != "xcb_generic_event_t") {
            return false;
        }
        auto* event = static_cast<xcb_generic_event_t*>(message);
        const uint8_t type = event->response_type & 0x7f;
        if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
            return false;
        }
        auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
        if (key->event != root_) {
            return false;
        }
        for (std::size_t i = 0; i < kLetters.size(); ++i) {
            if (key->detail == keycodes_[i] && keycodes_[i] != 0) {
                if (type == XCB_KEY_RELEASE) {
                    down_[i] = false;
                    releasedAt_[i] = key->time;
                } else if (!isRepeat(i, key->time)) {
                    down_[i] = true;
                    const char letter = kLetters[i];
                    QMetaObject::invokeMethod(
                        &owner_, [this, letter] { emit owner_.hotkeyPressed(letter); },
                        Qt::QueuedConnection);
                }
                return true;
            }
        }
        return false;
    }

    // A held key repeats: as presses alone where the server is asked for detectable
    // auto-repeat, else as a release and a press with the same time stamp. Either way it is
    // the one press the operator made.
    bool isRepeat(std::size_t i, xcb_timestamp_t time) {
        const bool repeat = down_[i] || (releasedAt_[i] != 0 && releasedAt_[i] == time);
        down_[i] = true;
        return repeat;
    }

private:
    GlobalHotkeys& owner_;
    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    std::array<xcb_keycode_t, 4> keycodes_{};
    std::array<bool, 4> down_{};
    std::array<xcb_timestamp_t, 4> releasedAt_{};
    bool active_ = false;
};

GlobalHotkeys::GlobalHotkeys(QWidget* window, QObject* parent) : QObject(parent), window_(window) {
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        if (xcb_connection_t* connection = x11->connection()) {
            x11_ = std::make_unique<X11Grabs>(*this, connection);
        }
    }
}

GlobalHotkeys::~GlobalHotkeys() {
    unregisterKeys();
}

bool GlobalHotkeys::systemWide() const {
    return x11_ != nullptr;
}

QString GlobalHotkeys::focusOnlyHint() {
    return QStringLiteral("A、S、D、F键只在本程序窗口处于前台时有效。");
}

QString GlobalHotkeys::keyTakenHint(const QString& letters) {
    return QStringLiteral("%1键已被其他程序占用，批量截图时该键无效。").arg(letters);
}

void GlobalHotkeys::registerKeys() {
    if (registered_) {
        return;
    }
    registered_ = true;
    QString noticeText;
    if (x11_) {
        const QString refused = x11_->grab();
        if (!refused.isEmpty()) {
            QStringList letters;
            for (const QChar c : refused) {
                letters << QString(c);
            }
            noticeText = keyTakenHint(letters.join(QStringLiteral("、")));
        }
    } else {
        for (const char letter : kLetters) {
            auto* shortcut = new QShortcut(QKeySequence(QString(QLatin1Char(letter))), window_);
            shortcut->setContext(Qt::ApplicationShortcut);
            shortcut->setAutoRepeat(false); // a held key is one press
            connect(shortcut, &QShortcut::activated, this,
                    [this, letter] { emit hotkeyPressed(letter); });
            shortcuts_.append(shortcut);
        }
        noticeText = focusOnlyHint();
    }
    // Said once: the hint is the operator's, not a nag at every switch.
    if (!noticeText.isEmpty() && !noticeGiven_) {
        noticeGiven_ = true;
        emit notice(noticeText);
    }
}

void GlobalHotkeys::unregisterKeys() {
    if (!registered_) {
        return;
    }
    registered_ = false;
    if (x11_) {
        x11_->release();
    }
    qDeleteAll(shortcuts_);
    shortcuts_.clear();
}

} // namespace portiqa::platform
