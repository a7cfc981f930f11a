#pragma once

// The controls of the main window, created at their design geometry inside the client widget
// (586 x 360 after start) and named by objectName as the operator-facing design names them.

#include <QList>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;
class QToolBar;
class QWidget;
class QMenuBar;

namespace portiqa {

class ColourPickerButton;
class Dialogs;
class StatusBarWidget;
class UpDownEdit;

struct MainControls {
    QWidget* client = nullptr;
    QToolBar* toolbar = nullptr;         // 工具条1
    QList<QAction*> toolbarActions;      // index = toolbar index, separators included
    QWidget* pictureArea = nullptr;      // 可视画板
    QWidget* capturePanel = nullptr;     // 截图画板 (never shown)
    QLineEdit* textEntry = nullptr;      // 文字输入编辑框
    QWidget* compositionPanel = nullptr; // 显图画板 (hidden; the pixels live in the workspace)
    QWidget* zoomedPanel = nullptr;      // 后台画板 (hidden; idem)
    QScrollBar* horizontalBar = nullptr; // 横向滚动条
    QScrollBar* verticalBar = nullptr;   // 纵向滚动条
    QGroupBox* settingsGroup = nullptr;  // 头像采集分组框
    QLabel* sizeTypeLabel = nullptr;
    QComboBox* sizeTypeCombo = nullptr; // 尺寸类型组合框
    QLabel* widthLabel = nullptr;
    UpDownEdit* widthEdit = nullptr; // 像素宽编辑框
    QLabel* heightLabel = nullptr;
    UpDownEdit* heightEdit = nullptr;       // 像素高编辑框
    QLabel* sizeLimitLabel = nullptr;       // JPG体积标签
    UpDownEdit* sizeLimitStepper = nullptr; // 体积编辑框
    QLineEdit* lessEqualEdit = nullptr;     // 小于编辑框
    QLineEdit* sizeLimitEdit = nullptr;     // JPG体积编辑框
    QLabel* colourLabel = nullptr;
    ColourPickerButton* colourPicker = nullptr; // 采集框颜色选择器
    QPushButton* moveUpButton = nullptr;
    QPushButton* moveLeftButton = nullptr;
    QPushButton* saveButton = nullptr; // 截图保存按钮
    QPushButton* moveRightButton = nullptr;
    QPushButton* moveDownButton = nullptr;
    StatusBarWidget* statusBar = nullptr; // 状态条1
    QLineEdit* focusBox = nullptr;        // 焦点框
    QTimer* frameTimer = nullptr;         // 截图时钟

    QAction* menuOpen = nullptr;
    QAction* menuEdit = nullptr;
    QAction* menuCamera = nullptr;
    QAction* menuAbout = nullptr;
    QAction* menuHelp = nullptr;
};

// Creates every control of the main window inside `client` and the menu in `menuBar`.
MainControls buildMainControls(QWidget* client, QMenuBar* menuBar, Dialogs& dialogs);

} // namespace portiqa
