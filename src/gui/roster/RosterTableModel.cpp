#include "gui/roster/RosterTableModel.h"

#include "core/roster/RosterSheet.h"

namespace portiqa {

RosterTableModel::RosterTableModel(const RosterSheet& roster, QObject* parent)
    : QAbstractTableModel(parent), roster_(roster) {}

int RosterTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : roster_.grid().rowCount();
}

int RosterTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : roster_.grid().columnCount();
}

QVariant RosterTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    // A tab stop or line break inside a cell (a name pasted from elsewhere) would push the
    // text out of its column; on show they are spaces.
    QString text = roster_.grid().text(index.row(), index.column());
    for (QChar& c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            c = QLatin1Char(' ');
        }
    }
    return text;
}

Qt::ItemFlags RosterTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void RosterTableModel::reload() {
    beginResetModel();
    endResetModel();
}

} // namespace portiqa
