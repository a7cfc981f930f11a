#pragma once

// The roster: the imported workbook, the sheet shown, the grid's cells and cursor, and the
// text of the selected cell that names the next picture. The roster window only shows this
// object's state and forwards its events here; the save command and the quick-shoot shot ask
// it through checkRosterNaming() and advanceRosterRow().
//
// Importing reads the whole workbook into memory once, on a worker thread when the window
// uses startImport()/finishImport(), so the window stays responsive; choosing another sheet
// then only scans memory. A workbook that cannot be read leaves the roster exactly as it was
// and shows "读取EXCEL文件失败：" with the reason.
//
// GUI thread only, except readImport(), which is safe anywhere.
//
// A window wires it like this (`mode` is rosterModeFor(batch crop on, quick-shoot on)):
//   opened / closed        windowOpened() / windowClosed()
//   import button          path = chooseWorkbookFile(); if not empty: wait cursor, a
//                          QFutureWatcher on startImport(path), and on its finished()
//                          finishImport(result, mode) and the cursor back
//   tree item chosen       chooseSheet(item value, mode); the root item passes -1
//   grid click on a cell   clickCell(row, column, mode); clicks outside the cells are not passed
//   check box              setAutoAdvance(checked)
//   retargeted             the title and caption of the mode
//   statusChanged          the status bar; gridChanged: reset the tree and grid from
//                          workbookName(), sheetNames(), sheetIndex(), grid();
//                          cursorMoved: the grid's current cell; focusRequested: raise the window

#include "core/roster/RosterGrid.h"
#include "core/roster/RosterTexts.h"
#include "core/roster/Workbook.h"

#include <QFont>
#include <QFuture>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace portiqa {

class Dialogs;

// A workbook read for an import, with the grid of its first sheet.
struct RosterImport {
    QString path;
    int ticket = 0; // which import this is; a later import or a closed window makes it stale
    bool ok = false;
    QString reason; // why reading failed
    std::shared_ptr<const Workbook> workbook;
    RosterGrid firstSheet;
};

// The grid of another sheet of the loaded workbook, filled off the GUI thread.
struct RosterSheetFill {
    int ticket = 0;
    int sheet = -1;
    RosterGrid grid;
};

// What the save command does after checkRosterNaming().
enum class RosterNamingCheck {
    Proceed,          // name the picture from selectedCellText()
    OpenRosterWindow, // the operator keeps naming by cell: open the roster window, save nothing
    OpenModeSettings, // the operator wants another naming: open the mode's settings, save nothing
    Refused,          // a message was shown; save nothing
};

class RosterSheet : public QObject {
    Q_OBJECT
public:
    explicit RosterSheet(Dialogs& dialogs, QObject* parent = nullptr);
    ~RosterSheet() override;

    // --- the window's life ---
    // The window was opened: nothing loaded, no cell selected, the import-first status.
    void windowOpened();
    // The window was closed (by the operator, a naming-mode change or the camera window's
    // closing): the workbook is released and the selection cleared.
    void windowClosed();
    bool isWindowOpen() const { return windowOpen_; }
    // A batch crop run with naming by cell was confirmed while the window is open: the status
    // speaks of cropping, and retargeted() tells the window to take cropping's title and caption.
    void retargetToCropping();
    // The same for quick-shoot settings confirmed with naming by cell.
    void retargetToShooting();

    // --- import ---
    // Asks for the workbook with the open dialog; empty when cancelled.
    QString chooseWorkbookFile();
    // Reads the workbook and scans its first sheet; any thread. `font` measures the columns.
    static RosterImport readImport(const QString& path, const QFont& font);
    // Shows "数据正读入……" and reads on a worker thread; hand the result to finishImport().
    QFuture<RosterImport> startImport(const QString& path);
    // Shows the read workbook (first sheet) with the mode's import hint, or the failure
    // message with everything left as it was. True when the workbook was taken. A stale
    // import (another import or a sheet choice came since, or the window was closed or
    // reopened) is dropped without a word: the latest action of the operator wins.
    bool finishImport(const RosterImport& import, RosterMode mode);
    // Both steps on the calling thread.
    bool importWorkbook(const QString& path, RosterMode mode);

    bool isLoaded() const { return loaded_; }
    QString workbookPath() const { return path_; }
    QString workbookName() const;
    QStringList sheetNames() const;
    int sheetIndex() const { return sheetIndex_; }
    // Shows another sheet; an index that names no sheet (the workbook's root item) does
    // nothing. In memory: a sheet of ten thousand rows takes a few milliseconds.
    void chooseSheet(int index, RosterMode mode);
    // The same in two steps for very large sheets: shows "数据正读入……" and fills the grid on a
    // worker thread; hand the result to finishChooseSheet(). Nullopt for an index that names
    // no sheet.
    std::optional<QFuture<RosterSheetFill>> startChooseSheet(int index);
    // Shows the filled sheet; false for a stale fill (a later import, sheet choice or window
    // change came in between).
    bool finishChooseSheet(const RosterSheetFill& fill, RosterMode mode);

    const RosterGrid& grid() const { return grid_; }
    int cursorRow() const { return cursorRow_; }
    int cursorColumn() const { return cursorColumn_; }

    // --- selection ---
    // A click on the grid's cell (row, column). A click outside the cells does nothing.
    void clickCell(int row, int column, RosterMode mode);
    QString selectedCellText() const { return selectedCellText_; }
    // The text a cell gives as a name: TABs removed, ASCII and full-width spaces trimmed.
    static QString cleanedCellText(const QString& raw);

    bool autoAdvance() const { return autoAdvance_; }
    void setAutoAdvance(bool on) { autoAdvance_ = on; }

    // --- save time ---
    // The checks before a picture is named by cell; `mode` is the caller's (batch crop for
    // the save command, quick-shoot for the shot).
    RosterNamingCheck checkRosterNaming(RosterMode mode);
    // After a picture was written with naming by cell: moves the cursor one row down when
    // automatic advance is on. True when the cursor moved.
    bool advanceRosterRow(bool namingByCell, RosterMode mode);

    QString statusText() const { return status_; }

signals:
    void statusChanged(const QString& text);
    // The workbook, the sheet list or the grid changed.
    void gridChanged();
    void cursorMoved(int row, int column);
    // The roster window should take the focus.
    void focusRequested();
    // The window's title and caption should be those of `mode` from now on.
    void retargeted(RosterMode mode);

private:
    void setStatus(const QString& text);
    void setStatusForMode(const QString& text); // an empty text leaves the status
    void finishReading(RosterMode mode);
    void showGrid(RosterGrid grid);
    void release();

    Dialogs& dialogs_;
    QFont measureFont_;
    bool windowOpen_ = false;
    bool loaded_ = false;
    bool autoAdvance_ = true;
    std::shared_ptr<const Workbook> workbook_;
    QString path_;
    int sheetIndex_ = -1;
    RosterGrid grid_;
    int cursorRow_ = -1;
    int cursorColumn_ = -1;
    QString selectedCellText_;
    QString status_;
    QString statusBeforeImport_;
    int ticket_ = 0;
};

} // namespace portiqa
