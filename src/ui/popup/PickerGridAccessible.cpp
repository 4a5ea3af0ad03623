// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/PickerGridAccessible.h"

#include "ui/popup/PickerGridModel.h"
#include "ui/popup/PickerGridView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace tessel {

namespace {
class PickerCell : public QAccessibleInterface {
public:
    PickerCell(PickerGridView* grid, int row)
        : m_grid(grid)
        , m_row(row)
    {}

    bool isValid() const override { return liveGrid() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        const PickerGridView* grid = m_grid.data();
        return grid ? grid->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_grid.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text kind) const override
    {
        const PickerGridView* grid = liveGrid();
        if (kind != QAccessible::Name || !grid)
            return {};
        const QModelIndex index = grid->gridModel()->index(m_row);
        const QString tip = index.data(Qt::ToolTipRole).toString();
        return tip.isEmpty() ? index.data(Qt::DisplayRole).toString() : tip;
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        const PickerGridView* grid = liveGrid();
        if (!grid)
            return {};
        const QRect local = grid->visualRect(grid->gridModel()->index(m_row));
        return QRect(grid->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = true;
        state.focusable = true;
        const PickerGridView* grid = liveGrid();
        if (!grid) {
            state.invalid = true;
            return state;
        }
        const bool highlighted = grid->highlightedRow() == m_row;
        state.selected = highlighted;
        state.focused = highlighted;
        state.invisible = !grid->viewport()->rect().intersects(
            grid->visualRect(grid->gridModel()->index(m_row)));
        state.offscreen = state.invisible;
        return state;
    }

private:
    // The grid while it lives and still has this cell; read once, so that the optimiser can see
    // the check and the use are of the same pointer.
    const PickerGridView* liveGrid() const
    {
        const PickerGridView* grid = m_grid.data();
        const PickerGridModel* model = grid ? grid->gridModel() : nullptr;
        return model && model->isCell(m_row) ? grid : nullptr;
    }

    QPointer<PickerGridView> m_grid;
    int m_row;
};

class PickerGrid : public QAccessibleWidget {
public:
    explicit PickerGrid(PickerGridView* grid)
        : QAccessibleWidget(grid, QAccessible::List)
    {}
    ~PickerGrid() override
    {
        for (QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return int(grid()->cellRows().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<int> rows = grid()->cellRows();
        if (index < 0 || index >= rows.size())
            return nullptr;
        const int row = rows.at(index);
        if (const auto found = m_cells.constFind(row); found != m_cells.cend()) {
            if (QAccessibleInterface* cell = QAccessible::accessibleInterface(*found))
                return cell;
        }
        auto* cell = new PickerCell(grid(), row);
        m_cells.insert(row, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (auto it = m_cells.cbegin(); it != m_cells.cend(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return int(grid()->cellRows().indexOf(it.key()));
        }
        return -1;
    }

private:
    PickerGridView* grid() const { return static_cast<PickerGridView*>(widget()); }

    // The cells made so far, by model row; a row's cell reads the model live.
    mutable QHash<int, QAccessible::Id> m_cells;
};

QAccessibleInterface* pickerGridFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String("tessel::PickerGridView") || !object)
        return nullptr;
    return new PickerGrid(static_cast<PickerGridView*>(object));
}
} // namespace

void installPickerGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(pickerGridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void announcePickerCell(PickerGridView& grid, int row)
{
    const int index = int(grid.cellRows().indexOf(row));
    if (index < 0)
        return;
    for (const auto type : {QAccessible::Focus, QAccessible::Selection}) {
        QAccessibleEvent event(&grid, type);
        event.setChild(index);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace tessel
