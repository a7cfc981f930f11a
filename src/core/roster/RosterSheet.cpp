#include "core/roster/RosterSheet.h"

#include "core/dialogs/Dialogs.h"
#include "core/files/DialogStartFolder.h"
#include "core/roster/WorkbookReader.h"

#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

namespace portiqa {

RosterSheet::RosterSheet(Dialogs& dialogs, QObject* parent) : QObject(parent), dialogs_(dialogs) {
    measureFont_.setPointSize(11);
}

RosterSheet::~RosterSheet() = default;

void RosterSheet::windowOpened() {
    ++ticket_;
    release();
    windowOpen_ = true;
    selectedCellText_.clear();
    setStatus(rostertexts::importFirst());
    emit gridChanged();
}

void RosterSheet::windowClosed() {
    ++ticket_;
    windowOpen_ = false;
    selectedCellText_.clear();
    release();
    emit gridChanged();
}

void RosterSheet::retargetToCropping() {
    emit retargeted(RosterMode::BatchCrop);
    if (!loaded_)
        return;
    if (selectedCellText_.isEmpty())
        setStatus(rostertexts::importHint(RosterMode::BatchCrop));
    else
        setStatus(rostertexts::clickStatus(RosterMode::BatchCrop, selectedCellText_));
}

void RosterSheet::retargetToShooting() {
    emit retargeted(RosterMode::QuickShoot);
    if (!loaded_)
        return;
    if (selectedCellText_.isEmpty())
        setStatus(rostertexts::importHint(RosterMode::QuickShoot));
    else
        setStatus(rostertexts::clickStatus(RosterMode::QuickShoot, selectedCellText_));
}

QString RosterSheet::chooseWorkbookFile() {
    return dialogs_.openFile(QStringLiteral("导入Excel名单"), dialogStartFolder(),
                             QStringLiteral("Excel文件(*.xls、*.xlsx) (*.xls *.xlsx)"));
}

RosterImport RosterSheet::readImport(const QString& path, const QFont& font) {
    RosterImport import;
    import.path = path;
    WorkbookReadResult read = WorkbookReader::read(path);
    import.ok = read.ok;
    import.reason = read.reason;
    if (!read.ok)
        return import;
    auto workbook = std::make_shared<Workbook>(std::move(read.workbook));
    if (workbook->sheetCount() > 0)
        import.firstSheet = RosterGrid::fromSheet(*workbook, 0, font);
    import.workbook = std::move(workbook);
    return import;
}

QFuture<RosterImport> RosterSheet::startImport(const QString& path) {
    statusBeforeImport_ = status_;
    setStatus(rostertexts::reading());
    const int ticket = ++ticket_;
    return QtConcurrent::run([path, font = measureFont_, ticket] {
        RosterImport import = readImport(path, font);
        import.ticket = ticket;
        return import;
    });
}

bool RosterSheet::finishImport(const RosterImport& import, RosterMode mode) {
    if (import.ticket != ticket_)
        return false;
    if (!import.ok || !import.workbook) {
        setStatus(statusBeforeImport_);
        dialogs_.inform(QStringLiteral("提示"), WorkbookReader::failureMessage(import.reason),
                        MessageIcon::Warning);
        return false;
    }
    workbook_ = import.workbook;
    path_ = import.path;
    loaded_ = true;
    sheetIndex_ = workbook_->sheetCount() > 0 ? 0 : -1;
    showGrid(import.firstSheet);
    finishReading(mode);
    return true;
}

bool RosterSheet::importWorkbook(const QString& path, RosterMode mode) {
    statusBeforeImport_ = status_;
    setStatus(rostertexts::reading());
    RosterImport import = readImport(path, measureFont_);
    import.ticket = ++ticket_;
    return finishImport(import, mode);
}

void RosterSheet::finishReading(RosterMode mode) {
    // Without a mode there is no hint to show; the status before the reading comes back
    // rather than "数据正读入……" staying after the reading is done.
    const QString hint = rostertexts::importHint(mode);
    setStatus(hint.isEmpty() ? statusBeforeImport_ : hint);
}

QString RosterSheet::workbookName() const {
    return QFileInfo(path_).fileName();
}

QStringList RosterSheet::sheetNames() const {
    return workbook_ ? workbook_->sheetNames() : QStringList();
}

void RosterSheet::chooseSheet(int index, RosterMode mode) {
    if (!loaded_ || !workbook_ || index < 0 || index >= workbook_->sheetCount())
        return;
    ++ticket_;
    statusBeforeImport_ = status_;
    setStatus(rostertexts::reading());
    sheetIndex_ = index;
    showGrid(RosterGrid::fromSheet(*workbook_, index, measureFont_));
    finishReading(mode);
}

std::optional<QFuture<RosterSheetFill>> RosterSheet::startChooseSheet(int index) {
    if (!loaded_ || !workbook_ || index < 0 || index >= workbook_->sheetCount())
        return std::nullopt;
    statusBeforeImport_ = status_;
    setStatus(rostertexts::reading());
    const int ticket = ++ticket_;
    return QtConcurrent::run([workbook = workbook_, index, font = measureFont_, ticket] {
        return RosterSheetFill{ticket, index, RosterGrid::fromSheet(*workbook, index, font)};
    });
}

bool RosterSheet::finishChooseSheet(const RosterSheetFill& fill, RosterMode mode) {
    if (fill.ticket != ticket_ || !loaded_)
        return false;
    sheetIndex_ = fill.sheet;
    showGrid(fill.grid);
    finishReading(mode);
    return true;
}

void RosterSheet::clickCell(int row, int column, RosterMode mode) {
    if (row < 0 || row >= grid_.rowCount() || column < 0 || column >= grid_.columnCount())
        return;
    cursorRow_ = row;
    cursorColumn_ = column;
    emit cursorMoved(row, column);
    selectedCellText_ = cleanedCellText(grid_.text(row, column));
    if (!selectedCellText_.isEmpty())
        setStatusForMode(rostertexts::clickStatus(mode, selectedCellText_));
    else
        setStatus(loaded_ ? rostertexts::emptyCell() : rostertexts::importFirst());
}

QString RosterSheet::cleanedCellText(const QString& raw) {
    QString text = raw;
    text.remove(u'\t');
    const auto blank = [](QChar c) { return c == u' ' || c == QChar(0x3000); };
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && blank(text[start]))
        ++start;
    while (end > start && blank(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

RosterNamingCheck RosterSheet::checkRosterNaming(RosterMode mode) {
    if (!windowOpen_) {
        const MessageAnswer answer = dialogs_.message(
            QStringLiteral("询问"),
            QStringLiteral("当前批量命名方式需导入EXCEL文件，是否沿用此命名方式？"),
            MessageIcon::None, MessageButtons::YesNo);
        return answer == MessageAnswer::Yes ? RosterNamingCheck::OpenRosterWindow
                                            : RosterNamingCheck::OpenModeSettings;
    }
    if (!loaded_) {
        dialogs_.inform(QStringLiteral("提示"), QStringLiteral("请先导入EXCEL文件。"));
        emit focusRequested();
        return RosterNamingCheck::Refused;
    }
    if (selectedCellText_.isEmpty()) {
        dialogs_.inform(QStringLiteral("提示"),
                        mode == RosterMode::QuickShoot
                            ? QStringLiteral("请点击有文字的单元格以其文字命名即将拍照的图片。")
                            : QStringLiteral("请先点击有文字的单元格作为图片命名，再截图。"));
        return RosterNamingCheck::Refused;
    }
    return RosterNamingCheck::Proceed;
}

bool RosterSheet::advanceRosterRow(bool namingByCell, RosterMode mode) {
    if (!namingByCell || !windowOpen_ || !loaded_ || selectedCellText_.isEmpty() || !autoAdvance_)
        return false;
    if (cursorRow_ < 0 || cursorRow_ >= grid_.rowCount() - 1) {
        dialogs_.inform(QStringLiteral("提示："), QStringLiteral("EXCEL光标已处于最后一行"));
        return false;
    }
    ++cursorRow_;
    emit cursorMoved(cursorRow_, cursorColumn_);
    selectedCellText_ = cleanedCellText(grid_.text(cursorRow_, cursorColumn_));
    if (selectedCellText_.isEmpty())
        setStatus(rostertexts::emptyCell());
    else
        setStatusForMode(rostertexts::advanceStatus(mode, selectedCellText_));
    return true;
}

void RosterSheet::setStatus(const QString& text) {
    if (text == status_)
        return;
    status_ = text;
    emit statusChanged(status_);
}

void RosterSheet::setStatusForMode(const QString& text) {
    if (!text.isEmpty())
        setStatus(text);
}

void RosterSheet::showGrid(RosterGrid grid) {
    grid_ = std::move(grid);
    cursorRow_ = grid_.isEmpty() ? -1 : 0;
    cursorColumn_ = grid_.isEmpty() ? -1 : 0;
    emit gridChanged();
    emit cursorMoved(cursorRow_, cursorColumn_);
}

void RosterSheet::release() {
    loaded_ = false;
    workbook_.reset();
    path_.clear();
    sheetIndex_ = -1;
    grid_ = RosterGrid();
    cursorRow_ = -1;
    cursorColumn_ = -1;
}

} // namespace portiqa
