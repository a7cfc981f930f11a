#pragma once

// The roster grid's cells as a table model: it reads the RosterSheet's grid, which keeps only
// the cells that hold something, so a sheet of ten thousand rows is shown at once and the view
// asks only for the cells it draws. Read-only; reset whenever the roster's grid changes.

#include <QAbstractTableModel>

namespace portiqa {

class RosterSheet;

class RosterTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RosterTableModel(const RosterSheet& roster, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The roster's grid was replaced.
    void reload();

private:
    const RosterSheet& roster_;
};

} // namespace portiqa
