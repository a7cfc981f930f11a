#include "core/roster/Workbook.h"

namespace portiqa {

int Workbook::addSheet(const QString& name) {
    sheets_.push_back(Sheet{name, {}});
    return sheetCount() - 1;
}

void Workbook::setCell(int sheet, int row, int column, const QString& text) {
    if (sheet < 0 || sheet >= sheetCount() || row < 0 || column < 0)
        return;
    auto& cells = sheets_[static_cast<size_t>(sheet)].cells;
    const quint64 k = key(row, column);
    if (text.isEmpty()) {
        cellCount_ -= cells.remove(k);
        return;
    }
    auto it = cells.find(k);
    if (it == cells.end()) {
        cells.insert(k, text);
        ++cellCount_;
    } else {
        *it = text;
    }
}

QString Workbook::sheetName(int sheet) const {
    if (sheet < 0 || sheet >= sheetCount())
        return {};
    return sheets_[static_cast<size_t>(sheet)].name;
}

QStringList Workbook::sheetNames() const {
    QStringList names;
    names.reserve(sheetCount());
    for (const Sheet& s : sheets_)
        names << s.name;
    return names;
}

QString Workbook::cellText(int sheet, int row, int column) const {
    if (sheet < 0 || sheet >= sheetCount() || row < 0 || column < 0)
        return {};
    return sheets_[static_cast<size_t>(sheet)].cells.value(key(row, column));
}

} // namespace portiqa
