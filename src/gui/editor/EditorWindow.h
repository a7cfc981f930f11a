#pragma once

// The editor's tool window: a narrow-caption tool window of client size 75 x 318 beside the
// main window, with the three tool boxes, the brush width and the colour controls. It holds no
// logic; the EditorController listens to its controls.

#include <QWidget>

class QCheckBox;
class QGroupBox;

namespace portiqa {

class ColourChartBox;
class ColourPickerButton;
class Dialogs;
class UpDownEdit;

class EditorWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 75;
    static constexpr int ClientHeight = 318;
    // Where it sits against the main window's top-left corner.
    static constexpr int OffsetLeft = -75;
    static constexpr int OffsetTop = 75;

    EditorWindow(Dialogs& dialogs, QWidget* mainWindow);

    QGroupBox* toolsGroup = nullptr;      // 分组框1
    QCheckBox* brushBox = nullptr;        // 画笔选择框
    QCheckBox* textBox = nullptr;         // 文字选择框
    QCheckBox* eyedropperBox = nullptr;   // 吸管选择框
    QGroupBox* widthGroup = nullptr;      // 分组框2
    UpDownEdit* widthEdit = nullptr;      // 线宽编辑框
    QWidget* widthBar = nullptr;          // 画笔粗细外形框
    QGroupBox* colourGroup = nullptr;     // 分组框3
    ColourPickerButton* picker = nullptr; // 颜色选择器1
    ColourChartBox* chart = nullptr;      // 图片框1

    // The bar shows the width as its height and the colour as its fill.
    void showWidthBar(int width, const QColor& colour);
    // Follows the main window: left - 75, top + 75.
    void followMainWindow(QPoint mainTopLeft);

protected:
    // Only 编辑 shows and hides the window: a window manager's close request is refused so
    // the editor's state and the window's visibility never part.
    void closeEvent(QCloseEvent* event) override;
};

} // namespace portiqa
