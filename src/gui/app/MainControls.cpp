#include "gui/app/MainControls.h"
#include "gui/app/TextFit.h"

#include "core/app/ToolbarDispatch.h"
#include "core/workspace/OutputSpec.h"
#include "gui/app/ColourPickerButton.h"
#include "gui/app/StatusBarWidget.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/app/UpDownEdit.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>

namespace portiqa {

namespace {

template <typename W> W* place(W* widget, const char16_t* name, int x, int y, int w, int h) {
    widget->setObjectName(QString::fromUtf16(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel* label(QWidget* parent, const char16_t* name, const char16_t* text, int x, int y, int w,
              int h) {
    auto* l = place(new QLabel(QString::fromUtf16(text), parent), name, x, y, w, h);
    l->setMouseTracking(true);
    return l;
}

QPushButton* button(QWidget* parent, const char16_t* name, const char16_t* text, int x, int y,
                    int w, int h) {
    auto* b = place(new QPushButton(QString::fromUtf16(text), parent), name, x, y, w, h);
    b->setMouseTracking(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QFrame* drawPanel(QWidget* parent, const char16_t* name, int x, int y, int w, int h) {
    auto* panel = place(new QFrame(parent), name, x, y, w, h);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    return panel;
}

void buildToolbar(MainControls& c) {
    c.toolbar = place(new QToolBar(c.client), u"工具条1", 0, 0, 590, 49);
    c.toolbar->setMovable(false);
    c.toolbar->setFloatable(false);
    c.toolbar->setIconSize(QSize(24, 24));
    c.toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    c.toolbar->setMouseTracking(true);
    for (const ToolbarEntry& entry : toolbarEntries()) {
        if (entry.caption == nullptr) {
            c.toolbarActions.append(c.toolbar->addSeparator());
            continue;
        }
        QAction* action =
            c.toolbar->addAction(toolbarIcon(entry.iconName), QString::fromUtf16(entry.caption));
        action->setToolTip(QString::fromUtf16(entry.tooltip));
        c.toolbarActions.append(action);
    }
}

void buildSettingsGroup(MainControls& c, Dialogs& dialogs) {
    QWidget* g = c.settingsGroup = place(new QGroupBox(QStringLiteral("头像采集"), c.client),
                                         u"头像采集分组框", 432, 48, 152, 292);
    c.settingsGroup->setMouseTracking(true);
    c.sizeTypeLabel = label(g, u"尺寸类型标签", u"尺寸类型", 8, 23, 72, 20);
    c.sizeTypeCombo = place(new QComboBox(g), u"尺寸类型组合框", 72, 22, 72, 20);
    c.sizeTypeCombo->addItems(sizePresetNames());
    textfit::fitItems(*c.sizeTypeCombo);
    c.widthLabel = label(g, u"宽度标签", u"宽度(像素)", 8, 51, 72, 20);
    c.widthEdit = place(new UpDownEdit(g), u"像素宽编辑框", 72, 51, 54, 20);
    c.widthEdit->setText(QStringLiteral("160"));
    c.heightLabel = label(g, u"高度标签", u"高度(像素)", 8, 80, 72, 20);
    c.heightEdit = place(new UpDownEdit(g), u"像素高编辑框", 72, 80, 54, 20);
    c.heightEdit->setText(QStringLiteral("210"));
    for (UpDownEdit* edit : {c.widthEdit, c.heightEdit}) {
        edit->setMaxLength(7);
        edit->setMouseTracking(true);
    }
    c.sizeLimitLabel = label(g, u"JPG体积标签", u"JPG体积(KB)", 8, 108, 76, 20);
    c.sizeLimitStepper = place(new UpDownEdit(g), u"体积编辑框", 84, 108, 42, 20);
    c.sizeLimitStepper->setReadOnly(true);
    // The limit's two edits cover the stepper's text area; its buttons stand beside it.
    c.sizeLimitStepper->placeButtonsBeside();
    c.lessEqualEdit = place(new QLineEdit(QStringLiteral("≤"), g), u"小于编辑框", 86, 110, 14, 16);
    c.lessEqualEdit->setReadOnly(true);
    c.sizeLimitEdit =
        place(new QLineEdit(QStringLiteral("500"), g), u"JPG体积编辑框", 100, 110, 24, 16);
    c.sizeLimitEdit->setMaxLength(10);
    // The limit field is 24 pixels wide by design; a slightly smaller face keeps "500" whole.
    QFont compact = c.sizeLimitEdit->font();
    compact.setPixelSize(11);
    for (QLineEdit* edit : {c.lessEqualEdit, c.sizeLimitEdit}) {
        edit->setFont(compact);
        edit->setFrame(false);
        edit->setTextMargins(0, 0, 0, 0);
        edit->setMouseTracking(true);
    }
    c.colourLabel = label(g, u"颜色选择标签", u"采集框颜色", 8, 137, 76, 20);
    c.colourPicker = place(new ColourPickerButton(dialogs, QColor(255, 255, 0), g),
                           u"采集框颜色选择器", 84, 137, 60, 20);
    c.colourPicker->setMouseTracking(true);
    c.moveUpButton = button(g, u"截图上移按钮", u"↑", 60, 171, 28, 32);
    c.moveLeftButton = button(g, u"截图左移按钮", u"←", 20, 210, 32, 28);
    c.saveButton = button(g, u"截图保存按钮", u"截图", 53, 203, 44, 44);
    c.moveRightButton = button(g, u"截图右移按钮", u"→", 98, 210, 32, 28);
    c.moveDownButton = button(g, u"截图下移按钮", u"↓", 60, 247, 28, 32);
}

void buildMenu(MainControls& c, QMenuBar* menuBar) {
    QMenu* file = menuBar->addMenu(QStringLiteral("文件"));
    c.menuOpen = file->addAction(QStringLiteral("打开"));
    c.menuEdit = file->addAction(QStringLiteral("编辑"));
    c.menuCamera = file->addAction(QStringLiteral("拍摄"));
    QMenu* help = menuBar->addMenu(QStringLiteral("帮助"));
    c.menuAbout = help->addAction(QStringLiteral("关于"));
    c.menuHelp = help->addAction(QStringLiteral("使用帮助"));
}

} // namespace

MainControls buildMainControls(QWidget* client, QMenuBar* menuBar, Dialogs& dialogs) {
    MainControls c;
    c.client = client;
    client->setMouseTracking(true);
    buildToolbar(c);

    c.pictureArea = drawPanel(client, u"可视画板", 4, 48, 411, 279);
    c.pictureArea->setMouseTracking(true);
    c.pictureArea->setFocusPolicy(Qt::StrongFocus);
    c.capturePanel = place(new QWidget(c.pictureArea), u"截图画板", 143, 55, 120, 144);
    c.capturePanel->hide();
    c.textEntry = place(new QLineEdit(c.pictureArea), u"文字输入编辑框", 307, 78, 12, 18);
    c.textEntry->hide();
    c.compositionPanel = drawPanel(client, u"显图画板", 4, 48, 411, 279);
    c.compositionPanel->hide();
    c.zoomedPanel = place(new QWidget(client), u"后台画板", 392, 12, 24, 24);
    c.zoomedPanel->hide();

    c.horizontalBar = place(new QScrollBar(Qt::Horizontal, client), u"横向滚动条", 4, 328, 411, 12);
    c.verticalBar = place(new QScrollBar(Qt::Vertical, client), u"纵向滚动条", 416, 48, 12, 279);
    for (QScrollBar* bar : {c.horizontalBar, c.verticalBar}) {
        bar->setRange(1, 100);
        bar->setSingleStep(1);
        bar->setPageStep(10);
        bar->setTracking(true);
        bar->setMouseTracking(true);
    }

    buildSettingsGroup(c, dialogs);

    c.statusBar = place(new StatusBarWidget(client), u"状态条1", 0, 340, 588, 20);
    c.focusBox = place(new QLineEdit(client), u"焦点框", 364, 16, 216, 20);
    c.focusBox->hide();
    c.frameTimer = new QTimer(client);
    c.frameTimer->setObjectName(QStringLiteral("截图时钟"));
    c.frameTimer->setInterval(5);

    buildMenu(c, menuBar);
    // The hidden surfaces stay below everything else; the toolbar stays on top of its row.
    c.compositionPanel->lower();
    c.zoomedPanel->lower();
    return c;
}

} // namespace portiqa
