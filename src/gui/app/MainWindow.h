#pragma once

// The program's main window: the controls at their design places, the menu, the toolbar, the
// status bar with its hover hints, and the routing of each event to the command that owns it.
// The window owns no picture logic; subsystems connect to its controls and signals.

#include "core/app/SettingsLocation.h"
#include "core/app/StatusHint.h"
#include "gui/app/MainControls.h"

#include <QMainWindow>
#include <QUrl>

#include <functional>
#include <memory>

namespace portiqa {

class Dialogs;
class MainCommands;

struct AppServices {
    Dialogs* dialogs = nullptr;
    SettingsLocation location;
    // Opens a file or address with the desktop's default handler. False when nothing could be
    // started; when a started handler fails afterwards, the second argument runs.
    std::function<bool(const QUrl&, const std::function<void()>&)> openUrl;
};

// Flags owned elsewhere that the hover hints read; each defaults to false until its owner
// provides it.
struct HintSources {
    std::function<bool()> pictureLoaded = [] { return false; };
    std::function<bool()> hotkeysRegistered = [] { return false; };
    std::function<bool()> textEntryVisible = [] { return false; };
};

// Start-up and shutdown steps owned by other subsystems; the window runs them in its order.
struct LifecycleSteps {
    std::function<void()> loadSettings = [] {};
    std::function<void()> enableFileDrops = [] {};
    std::function<void()> loadEditorToolWindow = [] {};
    std::function<void()> releasePicture = [] {};
    std::function<void()> disconnectCameraIfOpen = [] {};
    std::function<void()> releaseRosterIfLoaded = [] {};
    std::function<void()> unregisterHotkeysIfRegistered = [] {};
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Brings the window into its first state; runs once before the window is first shown.
    void startUp();
    // Releases what the subsystems hold; runs once when the window closes.
    void shutDown();

    const MainControls& controls() const { return controls_; }
    // Menu 文件 (the one holding 打开), where features beyond the design add their items.
    QMenu* fileMenu() const;
    const AppServices& services() const { return services_; }
    Dialogs& dialogs() const { return *services_.dialogs; }
    HintSources& hintSources() { return hintSources_; }
    LifecycleSteps& lifecycleSteps() { return lifecycle_; }

    // Every hint change goes through here: the panel is written only on a real change.
    void setStatusHint(const QString& text) { statusHint_.set(text); }
    QString statusHintText() const { return statusHint_.text(); }
    // The status bar's own hint, as it stands when nothing else speaks: the batch keys while
    // they are registered, else the start hint while no picture is on show. Shown when the
    // picture on show is dropped, so nothing said of it stays.
    QString restingHint() const;

    // The design size of the window: the client area plus the design frame (8 x 54).
    int effectiveWidth() const;
    int effectiveHeight() const;
    void setEffectiveSize(int effectiveWidth, int effectiveHeight);

    // The command table behind the toolbar and the menu; the window does not own it.
    void setCommands(MainCommands* commands) { commands_ = commands; }
    void dispatchToolbar(int index);

    void setBatchSwitchChecked(bool checked);

signals:
    // The client area changed size; the workspace lays its parts out from these numbers.
    void clientResized(int effectiveWidth, int effectiveHeight);
    void windowMoved(const QPoint& topLeft);
    void batchSwitchPressed();
    void batchSettingsRequested();
    void clientLeftButtonReleased();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectCommands();
    void installHoverHints();
    QString statusBarHint(int x) const;
    QString pictureAreaHint() const;
    void centreOnScreen();

    AppServices services_;
    MainControls controls_;
    StatusHint statusHint_;
    HintSources hintSources_;
    LifecycleSteps lifecycle_;
    MainCommands* commands_ = nullptr;
    std::unique_ptr<QHash<QObject*, std::function<QString()>>> hoverHints_;
    struct HandledMove {
        quint64 timestamp = 0;
        QPoint global;
        bool operator==(const HandledMove& o) const {
            return timestamp == o.timestamp && global == o.global;
        }
    };
    HandledMove lastHintMove_;
    bool started_ = false;
    bool shutDown_ = false;
    QSize screenSize_;
};

} // namespace portiqa
