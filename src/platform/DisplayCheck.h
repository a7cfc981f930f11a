#pragma once

// Whether the program can open windows at all, decided before Qt is started (Qt aborts the
// process when its platform cannot start). On X11 desktops the server named by DISPLAY must
// answer; a Wayland session or an explicit non-X11 Qt platform (offscreen, minimal, ...) is
// taken as given.
//
// The check's connection stays open until close(): a bare X server (Xvfb, as xvfb-run starts
// it) resets when its last client leaves and refuses connections meanwhile, so the check must
// not be that last client before Qt has connected. Close it once QApplication exists.

#include <QString>

struct _XDisplay;

namespace portiqa::platform {

class DisplayCheck {
public:
    // `platformArgument` is Qt's -platform NAME from the command line (empty when not given);
    // it wins over QT_QPA_PLATFORM, as in Qt itself.
    explicit DisplayCheck(const QString& platformArgument = {});
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

    // Empty when a display is available, otherwise a one-line explanation for the terminal
    // that starts with "portiqa: 找不到显示器".
    const QString& problem() const { return problem_; }

    // Ends the check's own connection.
    void close();

private:
    QString problem_;
    _XDisplay* connection_ = nullptr;
};

} // namespace portiqa::platform
