// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/PickerGridModel.h"

namespace tessel {

void PickerGridModel::setItems(QList<PickerGridItem> items)
{
    // A new search or category is a new list: the view starts again at its top.
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
}

void PickerGridModel::setToolTipProvider(std::function<QString(const PickerGridItem&)> provider)
{
    m_toolTip = std::move(provider);
}

bool PickerGridModel::isCell(int row) const
{
    return row >= 0 && row < m_items.size() && m_items.at(row).kind == PickerGridItem::Kind::cell;
}

int PickerGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant PickerGridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const PickerGridItem& item = m_items.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return item.text;
    case Qt::ToolTipRole:
        if (item.kind == PickerGridItem::Kind::cell && m_toolTip) {
            if (QString tip = m_toolTip(item); !tip.isEmpty())
                return tip;
        }
        return {};
    case KindRole:
        return int(item.kind);
    case SourceRole:
        return qlonglong(item.source);
    default:
        return {};
    }
}

Qt::ItemFlags PickerGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || !isCell(index.row()))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled;
}

} // namespace tessel
