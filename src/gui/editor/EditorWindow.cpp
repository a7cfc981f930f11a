#include "gui/editor/EditorWindow.h"

#include "gui/app/ColourPickerButton.h"
#include "gui/app/UpDownEdit.h"
#include "gui/editor/ColourChartBox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QIntValidator>

namespace portiqa {

namespace {

template <typename W> W* place(W* widget, const char16_t* name, int x, int y, int w, int h) {
    widget->setObjectName(QString::fromUtf16(name));
    widget->setGeometry(x, y, w, h);
    widget->setMouseTracking(true);
    return widget;
}

} // namespace

EditorWindow::EditorWindow(Dialogs& dialogs, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("编辑工具窗口"));
    setWindowTitle(QStringLiteral("编辑"));
    setFixedSize(ClientWidth, ClientHeight);
    setMouseTracking(true);

    toolsGroup = place(new QGroupBox(QStringLiteral("编辑工具"), this), u"分组框1", 2, 2, 71, 80);
    brushBox =
        place(new QCheckBox(QStringLiteral("画笔"), toolsGroup), u"画笔选择框", 8, 18, 58, 18);
    textBox =
        place(new QCheckBox(QStringLiteral("文字"), toolsGroup), u"文字选择框", 8, 38, 58, 18);
    eyedropperBox =
        place(new QCheckBox(QStringLiteral("吸管"), toolsGroup), u"吸管选择框", 8, 58, 58, 18);
    for (QCheckBox* box : {brushBox, textBox, eyedropperBox}) {
        box->setFocusPolicy(Qt::NoFocus);
    }

    widthGroup = place(new QGroupBox(QStringLiteral("画笔粗细"), this), u"分组框2", 2, 84, 71, 74);
    widthEdit = place(new UpDownEdit(widthGroup), u"线宽编辑框", 8, 20, 54, 20);
    widthEdit->setValidator(new QIntValidator(1, 20, widthEdit));
    widthEdit->setText(QStringLiteral("1"));
    widthBar = place(new QWidget(widthGroup), u"画笔粗细外形框", 10, 48, 50, 1);
    widthBar->setAutoFillBackground(true);

    colourGroup =
        place(new QGroupBox(QStringLiteral("选择颜色"), this), u"分组框3", 2, 160, 71, 156);
    picker = place(new ColourPickerButton(dialogs, Qt::black, colourGroup), u"颜色选择器1", 5, 20,
                   60, 20);
    chart = place(new ColourChartBox(colourGroup), u"图片框1", 5, 46, 60, 100);
    showWidthBar(1, Qt::black);
}

void EditorWindow::showWidthBar(int width, const QColor& colour) {
    widthBar->resize(50, width);
    QPalette palette = widthBar->palette();
    palette.setColor(QPalette::Window, colour);
    widthBar->setPalette(palette);
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    // The program's own closing (the main window going away) still closes it.
    if (event->spontaneous()) {
        event->ignore();
    }
}

void EditorWindow::followMainWindow(QPoint mainTopLeft) {
    move(mainTopLeft.x() + OffsetLeft, mainTopLeft.y() + OffsetTop);
}

} // namespace portiqa
