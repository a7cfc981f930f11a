#include "gui/app/MainWindow.h"

#include "core/app/AppTexts.h"
#include "core/app/MainCommands.h"
#include "core/app/MainWindowLayout.h"
#include "core/app/StatusBarBand.h"
#include "core/app/ToolbarDispatch.h"
#include "gui/app/ColourPickerButton.h"
#include "gui/app/StatusBarWidget.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/app/UpDownEdit.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>

namespace portiqa {

namespace {
// The frame the window was designed with: outer size = client size + these.
constexpr int kDesignFrameWidth = 8;
constexpr int kDesignFrameHeight = 54;
constexpr int kClientWidth = 586;
constexpr int kClientHeight = 360;
} // namespace

MainWindow::MainWindow(AppServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)),
      statusHint_([this](const QString& text) { controls_.statusBar->setHintText(text); }),
      hoverHints_(std::make_unique<QHash<QObject*, std::function<QString()>>>()) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(windowIcon());
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    controls_ = buildMainControls(client, menuBar(), *services_.dialogs);
    connectCommands();
    installHoverHints();
    move(50, 50);
}

MainWindow::~MainWindow() = default;

QMenu* MainWindow::fileMenu() const {
    for (QObject* holder : controls_.menuOpen->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(holder)) {
            return menu;
        }
    }
    return nullptr;
}

int MainWindow::effectiveWidth() const {
    return centralWidget()->width() + kDesignFrameWidth;
}

int MainWindow::effectiveHeight() const {
    return centralWidget()->height() + kDesignFrameHeight;
}

void MainWindow::setEffectiveSize(int effectiveWidth, int effectiveHeight) {
    // Size the window from what surrounds the client area (the menu bar) as measured now, so
    // the client area gets exactly the asked size whatever the style's menu height is.
    if (QLayout* l = layout()) {
        l->activate();
    }
    const QSize around = size() - centralWidget()->size();
    resize(effectiveWidth - kDesignFrameWidth + around.width(),
           effectiveHeight - kDesignFrameHeight + around.height());
    if (QLayout* l = layout()) {
        l->activate();
    }
}

void MainWindow::startUp() {
    if (started_) {
        return;
    }
    if (const QScreen* screen = this->screen()) {
        screenSize_ = screen->size();
    }
    setEffectiveSize(kClientWidth + kDesignFrameWidth, kClientHeight + kDesignFrameHeight);
    setWindowTitle(texts::windowTitle());
    setStatusHint(texts::defaultHint());
    controls_.horizontalBar->setEnabled(false);
    controls_.verticalBar->setEnabled(false);
    controls_.sizeTypeCombo->setCurrentIndex(0);
    // The first capture frame (160 x 210) sits centred in the picture area.
    const QWidget* area = controls_.pictureArea;
    controls_.capturePanel->setGeometry(area->width() / 2 - 80, area->height() / 2 - 105, 160, 210);
    ensureSettingsFolder(services_.location);
    lifecycle_.loadSettings();
    lifecycle_.enableFileDrops();
    lifecycle_.loadEditorToolWindow();
    started_ = true;
}

void MainWindow::shutDown() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    lifecycle_.releasePicture();
    lifecycle_.disconnectCameraIfOpen();
    lifecycle_.releaseRosterIfLoaded();
    lifecycle_.unregisterHotkeysIfRegistered();
}

void MainWindow::dispatchToolbar(int index) {
    if (commands_ != nullptr) {
        portiqa::dispatchToolbar(index, *commands_);
    }
}

void MainWindow::setBatchSwitchChecked(bool checked) {
    controls_.statusBar->setSwitchChecked(checked);
}

void MainWindow::connectCommands() {
    for (int i = 0; i < controls_.toolbarActions.size(); ++i) {
        connect(controls_.toolbarActions[i], &QAction::triggered, this,
                [this, i] { dispatchToolbar(i); });
    }
    auto run = [this](void (MainCommands::*command)()) {
        return [this, command] {
            if (commands_ != nullptr) {
                (commands_->*command)();
            }
        };
    };
    connect(controls_.menuOpen, &QAction::triggered, this, [this] {
        if (commands_ != nullptr) {
            commands_->openPicture();
        }
        controls_.pictureArea->setFocus();
    });
    connect(controls_.menuEdit, &QAction::triggered, this, run(&MainCommands::toggleEditor));
    connect(controls_.menuCamera, &QAction::triggered, this, run(&MainCommands::openCamera));
    connect(controls_.menuAbout, &QAction::triggered, this, run(&MainCommands::showAbout));
    connect(controls_.menuHelp, &QAction::triggered, this, run(&MainCommands::showHelpFile));
    connect(controls_.saveButton, &QPushButton::clicked, this, run(&MainCommands::savePicture));
    connect(controls_.statusBar, &StatusBarWidget::switchLeftPressed, this,
            &MainWindow::batchSwitchPressed);
    connect(controls_.statusBar, &StatusBarWidget::switchRightPressed, this,
            &MainWindow::batchSettingsRequested);
    connect(controls_.statusBar, &StatusBarWidget::hovered, this,
            [this](int x) { setStatusHint(statusBarHint(x)); });
    // The two helper edits of the size-limit field pass the focus on to the limit itself.
    for (QLineEdit* helper :
         {static_cast<QLineEdit*>(controls_.sizeLimitStepper), controls_.lessEqualEdit}) {
        helper->installEventFilter(this);
    }
}

void MainWindow::installHoverHints() {
    auto fixed = [](const QString& text) { return [text] { return text; }; };
    auto& hints = *hoverHints_;
    hints[controls_.saveButton] = fixed(QStringLiteral("保存采集框内图片"));
    hints[controls_.moveUpButton] = fixed(QStringLiteral("上移采集框"));
    hints[controls_.moveDownButton] = fixed(QStringLiteral("下移采集框"));
    hints[controls_.moveLeftButton] = fixed(QStringLiteral("左移采集框"));
    hints[controls_.moveRightButton] = fixed(QStringLiteral("右移采集框"));
    auto group = [&hints, &fixed](std::initializer_list<QObject*> objects, const QString& text) {
        for (QObject* o : objects) {
            hints[o] = fixed(text);
        }
    };
    group({controls_.widthEdit, controls_.widthLabel}, QStringLiteral("设置输出图片宽度"));
    group({controls_.heightEdit, controls_.heightLabel}, QStringLiteral("设置输出图片高度"));
    group({controls_.sizeLimitLabel, controls_.lessEqualEdit, controls_.sizeLimitEdit},
          QStringLiteral("预设JPG图片输出体积"));
    group({controls_.colourPicker, controls_.colourLabel},
          QStringLiteral("采集框颜色不会影响输出图片颜色"));
    hints[controls_.horizontalBar] = fixed(QStringLiteral("左右移动图片"));
    hints[controls_.verticalBar] = fixed(QStringLiteral("上下移动图片"));
    hints[controls_.client] = fixed(QString());
    hints[controls_.toolbar] = [this] {
        return hintSources_.pictureLoaded() ? QString() : texts::defaultHint();
    };
    hints[controls_.pictureArea] = [this] { return pictureAreaHint(); };
    for (auto it = hints.cbegin(); it != hints.cend(); ++it) {
        it.key()->installEventFilter(this);
    }
    // Tool buttons inside the toolbar get the moves, not the bar itself.
    for (QAction* action : controls_.toolbarActions) {
        if (QWidget* w = controls_.toolbar->widgetForAction(action)) {
            w->setMouseTracking(true);
            w->installEventFilter(this);
            hints[w] = hints[controls_.toolbar];
        }
    }
}

QString MainWindow::pictureAreaHint() const {
    if (!hintSources_.pictureLoaded()) {
        return texts::defaultHint();
    }
    if (hintSources_.textEntryVisible()) {
        return statusHint_.text(); // the editor's text entry keeps the hint as it is
    }
    return hintSources_.hotkeysRegistered() ? texts::batchKeysZoomHint() : texts::zoomHint();
}

QString MainWindow::statusBarHint(int x) const {
    if (inBatchSwitchBand(x, effectiveWidth())) {
        return texts::batchSwitchHint();
    }
    return restingHint();
}

QString MainWindow::restingHint() const {
    if (hintSources_.hotkeysRegistered()) {
        return texts::batchKeysHint();
    }
    return hintSources_.pictureLoaded() ? QString() : texts::defaultHint();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        // A move the innermost control ignores travels on to its parents; only the innermost
        // control with a hint speaks for it.
        const auto* move = static_cast<QMouseEvent*>(event);
        const auto it = hoverHints_->constFind(watched);
        const HandledMove key{move->timestamp(), move->globalPosition().toPoint()};
        // The client area's own hint is for the bare client area only: a control without a
        // hint of its own (a label, the group box) leaves the current hint as it is.
        const bool overChildControl =
            watched == controls_.client &&
            controls_.client->childAt(move->position().toPoint()) != nullptr;
        if (it != hoverHints_->constEnd() && !(key == lastHintMove_) && !overChildControl) {
            lastHintMove_ = key;
            setStatusHint(it.value()());
        }
        break;
    }
    case QEvent::FocusIn:
        if (watched == controls_.sizeLimitStepper || watched == controls_.lessEqualEdit) {
            controls_.sizeLimitEdit->setFocus();
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == controls_.client &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            emit clientLeftButtonReleased();
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const int e = effectiveWidth();
    const int f = effectiveHeight();
    QWidget* client = centralWidget();
    const MainWindowLayout layout = computeMainWindowLayout(e, f);
    controls_.pictureArea->setGeometry(layout.pictureArea);
    controls_.compositionPanel->setGeometry(layout.pictureArea);
    controls_.horizontalBar->setGeometry(layout.horizontalBar);
    controls_.verticalBar->setGeometry(layout.verticalBar);
    controls_.settingsGroup->setGeometry(layout.settingsGroup);
    controls_.statusBar->setGeometry(0, client->height() - 20, client->width() + 2, 20);
    controls_.statusBar->setEffectiveWidth(e);
    QWidget* frame = controls_.capturePanel;
    frame->move(centredFramePosition(layout.pictureArea.size(), frame->size()));
    emit clientResized(e, f);
    if (started_) {
        centreOnScreen();
    }
}

void MainWindow::centreOnScreen() {
    if (isMinimized() || isMaximized()) {
        showNormal();
    }
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    emit windowMoved(pos());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    shutDown();
    QMainWindow::closeEvent(event);
}

} // namespace portiqa
