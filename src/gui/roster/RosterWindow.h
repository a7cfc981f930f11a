#pragma once

// The roster window: the workbook's sheets in a tree, the chosen sheet's cells in a grid, the
// auto-next box and a status line. A thin view over the RosterSheet: its buttons, tree and
// grid forward to the roster, and it shows what the roster reports.
//
// Modeless; its client area is 414 x 466 and it opens at the left edge of the screen. However
// it is closed (the operator, a naming-mode change, the camera window closing), the roster
// forgets its workbook and selected cell. Reading a workbook or a sheet runs on a
// worker thread under a wait cursor, so the window stays responsive meanwhile.
//
// GUI thread only.

#include "core/roster/RosterTexts.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

namespace portiqa {

class RosterSheet;
class RosterTableModel;

class RosterWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 414;
    static constexpr int kClientHeight = 466;

    // `modeInForce` tells which texts to show (batch crop, quick-shoot or neither).
    RosterWindow(RosterSheet& roster, std::function<RosterMode()> modeInForce,
                 QWidget* parent = nullptr);
    ~RosterWindow() override;

    // Opens the window with the texts of the mode in force, nothing loaded and the auto-next
    // box ticked; an open window is only raised.
    void open();
    bool isOpen() const;
    // Closes it when open; the roster forgets its workbook and selected cell.
    void closeWindow();
    // A batch crop run (or quick-shoot settings) with naming by cell was confirmed while the
    // window is open: title, caption and status speak of cropping (of shooting).
    void retargetToCropping();
    void retargetToShooting();

    // The import button: asks for the workbook and reads it on a worker thread.
    void importWorkbook();
    // True while a workbook or sheet is being read.
    bool isReading() const { return pendingReads_ > 0; }

    QTableView* grid() const { return grid_; }
    QTreeWidget* tree() const { return tree_; }
    QCheckBox* autoAdvanceBox() const { return autoAdvance_; }
    QPushButton* importButton() const { return importButton_; }
    QString statusText() const;

signals:
    // A workbook or sheet read finished and was shown (or refused).
    void readingFinished();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyModeTexts(RosterMode mode);
    void showGrid();
    void showCursor(int row, int column);
    void sheetItemChosen(QTreeWidgetItem* item);
    void cellClicked(const QModelIndex& index);
    void beginReading();
    void endReading();
    void placeAtLeftEdge();

    RosterSheet& roster_;
    std::function<RosterMode()> modeInForce_;
    RosterTableModel* model_;
    QPushButton* importButton_;
    QWidget* measurePanel_;
    QCheckBox* autoAdvance_;
    QTreeWidget* tree_;
    QTableView* grid_;
    QStatusBar* statusBar_;
    QLabel* status_;
    int pendingReads_ = 0;
};

} // namespace portiqa
