#pragma once

// A workbook read whole into memory: its sheet names in order and, per sheet, the text of every
// cell that holds some. Reading a cell is a hash lookup, so the roster's scans stay cheap
// however often they ask. A Workbook is a plain value: it may be built on a worker thread and
// handed to the GUI thread.

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace portiqa {

class Workbook {
public:
    // The readers refuse workbooks with more text cells than this, so a hostile file cannot make
    // the program hold an unbounded amount of memory.
    static constexpr std::int64_t kMaxCells = 2'000'000;

    // Appends a sheet and returns its index.
    int addSheet(const QString& name);
    // Stores a cell's text; empty texts are not stored (they read as empty anyway).
    void setCell(int sheet, int row, int column, const QString& text);

    int sheetCount() const { return static_cast<int>(sheets_.size()); }
    // The sheet's name; empty for an index out of range.
    QString sheetName(int sheet) const;
    QStringList sheetNames() const;
    // The cell's text (0-based row and column); empty for a cell without text, a negative
    // index or a sheet that does not exist.
    QString cellText(int sheet, int row, int column) const;
    // Number of stored cells over all sheets.
    std::int64_t cellCount() const { return cellCount_; }
    // Calls visit(row, column, text) for every stored cell of the sheet, in no set order.
    template <typename Visit> void forEachCell(int sheet, Visit visit) const {
        if (sheet < 0 || sheet >= sheetCount())
            return;
        const auto& cells = sheets_[static_cast<size_t>(sheet)].cells;
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            visit(static_cast<int>(it.key() >> 32), static_cast<int>(it.key() & 0xffffffffu),
                  it.value());
    }

private:
    static quint64 key(int row, int column) {
        return (static_cast<quint64>(static_cast<quint32>(row)) << 32) |
               static_cast<quint32>(column);
    }

    struct Sheet {
        QString name;
        QHash<quint64, QString> cells;
    };
    std::vector<Sheet> sheets_;
    std::int64_t cellCount_ = 0;
};

} // namespace portiqa
