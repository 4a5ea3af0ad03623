// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <functional>

namespace tessel {

// One row of a picker grid: a section title or a cell holding the text it pastes.
struct PickerGridItem {
    enum class Kind { title, cell };
    Kind kind = Kind::cell;
    // What the row shows: the title, or the text a cell pastes.
    QString text;
    // Where the cell's item comes from, for the view that built the rows (e.g. a catalogue row).
    qsizetype source = -1;

    static PickerGridItem makeTitle(QString text) { return {Kind::title, std::move(text), -1}; }
};

// The rows of a picker grid, in display order: the titles of the sections and their cells.
// The pickers replace them all at once when their filter changes.
class PickerGridModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { KindRole = Qt::UserRole + 1, SourceRole };

    using QAbstractListModel::QAbstractListModel;

    void setItems(QList<PickerGridItem> items);
    // Gives each cell a tooltip, looked up only when one is shown.
    void setToolTipProvider(std::function<QString(const PickerGridItem&)> provider);
    const QList<PickerGridItem>& items() const { return m_items; }
    const PickerGridItem& item(int row) const { return m_items.at(row); }
    bool isCell(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<PickerGridItem> m_items;
    std::function<QString(const PickerGridItem&)> m_toolTip;
};

} // namespace tessel
