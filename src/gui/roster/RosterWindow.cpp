#include "gui/roster/RosterWindow.h"
#include "gui/app/TextFit.h"

#include "core/roster/RosterSheet.h"
#include "gui/roster/RosterTableModel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFutureWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTreeWidget>

namespace portiqa {

namespace {

constexpr int kSheetIndexRole = Qt::UserRole;

template <typename T> T* placed(T* widget, const char16_t* name, int x, int y, int w, int h) {
    widget->setObjectName(QString::fromUtf16(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

} // namespace

RosterWindow::RosterWindow(RosterSheet& roster, std::function<RosterMode()> modeInForce,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), roster_(roster), modeInForce_(std::move(modeInForce)),
      model_(new RosterTableModel(roster, this)) {
    setObjectName(QStringLiteral("RosterWindow"));
    importButton_ = placed(new QPushButton(QStringLiteral("导入EXCEL文件"), this), u"导入EXCEL按钮",
                           8, 4, 128, 28);
    measurePanel_ = placed(new QWidget(this), u"字宽画板", 168, 9, 24, 16);
    autoAdvance_ = placed(new QCheckBox(this), u"自动下一行选择框", 274, 8, 140, 24);
    tree_ = placed(new QTreeWidget(this), u"树型框1", 8, 36, 128, 412);
    grid_ = placed(new QTableView(this), u"导入高表", 144, 36, 270, 412);
    statusBar_ =
        placed(new QStatusBar(this), u"命名状态条", 0, kClientHeight - 20, kClientWidth, 20);
    status_ = new QLabel(statusBar_);
    statusBar_->addWidget(status_, 1);
    statusBar_->setSizeGripEnabled(false);

    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(std::max(22, grid_->fontMetrics().height() + 6));
    grid_->setWordWrap(false);
    // Only a click names a picture; keys that moved the highlight without naming would show
    // one cell while another names the next picture.
    grid_->setFocusPolicy(Qt::NoFocus);

    applyModeTexts(RosterMode::None);
    autoAdvance_->setChecked(true);
    setMinimumSize(300, 200);
    resize(kClientWidth, kClientHeight);

    connect(importButton_, &QPushButton::clicked, this, &RosterWindow::importWorkbook);
    connect(autoAdvance_, &QCheckBox::toggled, this,
            [this](bool on) { roster_.setAutoAdvance(on); });
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { sheetItemChosen(item); });
    connect(grid_, &QTableView::clicked, this, &RosterWindow::cellClicked);
    connect(&roster_, &RosterSheet::statusChanged, status_, &QLabel::setText);
    connect(&roster_, &RosterSheet::gridChanged, this, &RosterWindow::showGrid);
    connect(&roster_, &RosterSheet::cursorMoved, this, &RosterWindow::showCursor);
    connect(&roster_, &RosterSheet::retargeted, this, &RosterWindow::applyModeTexts);
    connect(&roster_, &RosterSheet::focusRequested, this, [this] {
        raise();
        activateWindow();
    });
}

RosterWindow::~RosterWindow() = default;

void RosterWindow::open() {
    if (isOpen()) {
        raise();
        activateWindow();
        return;
    }
    applyModeTexts(modeInForce_());
    autoAdvance_->setChecked(true);
    roster_.setAutoAdvance(true);
    roster_.windowOpened();
    status_->setText(roster_.statusText());
    resize(kClientWidth, kClientHeight);
    show();
    placeAtLeftEdge();
    activateWindow();
}

bool RosterWindow::isOpen() const {
    return roster_.isWindowOpen();
}

void RosterWindow::closeWindow() {
    if (isVisible())
        close();
    else if (roster_.isWindowOpen())
        roster_.windowClosed();
}

void RosterWindow::closeEvent(QCloseEvent* event) {
    if (roster_.isWindowOpen())
        roster_.windowClosed();
    QWidget::closeEvent(event);
}

void RosterWindow::retargetToCropping() {
    roster_.retargetToCropping();
}

void RosterWindow::retargetToShooting() {
    roster_.retargetToShooting();
}

void RosterWindow::applyModeTexts(RosterMode mode) {
    // Without a mode the design texts stay: those of quick-shoot.
    setWindowTitle(rostertexts::windowTitle(mode));
    autoAdvance_->setText(rostertexts::autoAdvanceCaption(mode));
    textfit::fitLabel(*autoAdvance_);
}

QString RosterWindow::statusText() const {
    return status_->text();
}

void RosterWindow::importWorkbook() {
    const QString path = roster_.chooseWorkbookFile();
    if (path.isEmpty())
        return;
    beginReading();
    auto* watcher = new QFutureWatcher<RosterImport>(this);
    connect(watcher, &QFutureWatcher<RosterImport>::finished, this, [this, watcher] {
        watcher->deleteLater();
        roster_.finishImport(watcher->result(), modeInForce_());
        endReading();
    });
    watcher->setFuture(roster_.startImport(path));
}

void RosterWindow::sheetItemChosen(QTreeWidgetItem* item) {
    // The workbook's root item chooses nothing.
    if (item == nullptr || item->parent() == nullptr)
        return;
    auto fill = roster_.startChooseSheet(item->data(0, kSheetIndexRole).toInt());
    if (!fill)
        return;
    beginReading();
    auto* watcher = new QFutureWatcher<RosterSheetFill>(this);
    connect(watcher, &QFutureWatcher<RosterSheetFill>::finished, this, [this, watcher] {
        watcher->deleteLater();
        roster_.finishChooseSheet(watcher->result(), modeInForce_());
        endReading();
    });
    watcher->setFuture(*fill);
}

void RosterWindow::beginReading() {
    if (pendingReads_++ == 0)
        setCursor(Qt::WaitCursor);
}

void RosterWindow::endReading() {
    if (--pendingReads_ == 0)
        unsetCursor();
    emit readingFinished();
}

void RosterWindow::showGrid() {
    {
        const QSignalBlocker quiet(tree_);
        tree_->clear();
        if (roster_.isLoaded()) {
            auto* root = new QTreeWidgetItem(tree_, {roster_.workbookName()});
            root->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon));
            const QStringList sheets = roster_.sheetNames();
            for (int i = 0; i < sheets.size(); ++i) {
                auto* item = new QTreeWidgetItem(root, {sheets[i]});
                item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
                item->setData(0, kSheetIndexRole, i);
                if (i == roster_.sheetIndex())
                    tree_->setCurrentItem(item);
            }
            root->setExpanded(true);
        }
    }
    model_->reload();
    const QVector<int>& widths = roster_.grid().columnWidths();
    for (int column = 0; column < widths.size(); ++column)
        grid_->setColumnWidth(column, widths[column]);
}

void RosterWindow::showCursor(int row, int column) {
    const QModelIndex index = model_->index(row, column);
    if (!index.isValid()) {
        grid_->clearSelection();
        return;
    }
    grid_->setCurrentIndex(index);
    grid_->scrollTo(index);
}

void RosterWindow::cellClicked(const QModelIndex& index) {
    // The view reports clicks on cells only; a click beside or below them reaches nobody.
    if (index.isValid())
        roster_.clickCell(index.row(), index.column(), modeInForce_());
}

void RosterWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The tree and grid take the change of size; the auto-next box keeps to the right edge.
    const int listHeight = std::max(0, height() - (kClientHeight - 412));
    tree_->resize(tree_->width(), listHeight);
    grid_->resize(std::max(0, width() - (kClientWidth - 270)), listHeight);
    autoAdvance_->move(width() - (kClientWidth - 274), autoAdvance_->y());
    statusBar_->setGeometry(0, height() - statusBar_->height(), width(), statusBar_->height());
}

void RosterWindow::placeAtLeftEdge() {
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    const QRect outer = frameGeometry();
    const int top = available.top() + std::max(0, (available.height() - outer.height()) / 2);
    move(available.left(), top);
}

} // namespace portiqa
