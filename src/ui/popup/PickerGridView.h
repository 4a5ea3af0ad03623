// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window/PopupKeyTarget.h"

#include <QAbstractItemView>
#include <QList>
#include <QMargins>
#include <QRect>

namespace tessel {

class PickerGridModel;

// How a picker grid places its rows: titled sections of cells in columns, top to bottom.
struct PickerGridLayout {
    // With `columns` 0, as many columns of at least this width as fit, sharing the width;
    // otherwise the exact width of each of the `columns` columns, centred.
    int columnWidth = 38;
    int columns = 0;
    int columnSpacing = 4;
    int rowSpacing = 4;
    int cellHeight = 38;
    QMargins padding;
    // Between one section's last row and the next section's title.
    int sectionSpacing = 10;
    // Between a title and its first row of cells.
    int titleSpacing = 4;
    int titleHeight = 14;
};

// The grid of a picker tab: a virtualised view of a PickerGridModel whose rows are section titles
// and cells, painted by its delegate. A click on a cell activates it. For the keyboard it keeps
// a highlighted cell that the popup's navigation keys move, while the search field keeps the
// focus: Down enters the grid, Up from its first row leaves it, Left and Right (in the grid) and
// Tab step through the cells, Return and keypad Enter activate the highlighted cell.
class PickerGridView : public QAbstractItemView, public PopupKeyTarget {
    Q_OBJECT

public:
    explicit PickerGridView(const PickerGridLayout& layout, QWidget* parent = nullptr);

    void setGridModel(PickerGridModel* model);
    PickerGridModel* gridModel() const { return m_model; }

    // Whether the first cell is highlighted while the keyboard is outside the grid: so while a
    // search narrows the list, Return picks its first match.
    void setHighlightsFirstCell(bool on);
    // The highlighted row, or -1.
    int highlightedRow() const { return m_highlight; }
    bool isKeyboardInGrid() const { return m_inGrid; }
    // The cell rows in display order, and the row's rectangle in content coordinates.
    QList<int> cellRows() const;
    QRect contentRect(int row) const;

    bool handlePopupKey(const QKeyEvent& event) override;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

Q_SIGNALS:
    // A cell was clicked, or Return pressed on the highlighted one.
    void cellActivated(int row);

protected:
    void reset() override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;

private:
    enum class Step { up, down, previous, next };
    void relayout();
    void setHighlight(int row);
    void restHighlight();
    // The cell the step reaches from `row`, or -1 when there is none.
    int neighbour(int row, Step step) const;
    int firstCell() const;
    int rowAt(const QPoint& contentPoint) const;

    PickerGridLayout m_layout;
    PickerGridModel* m_model = nullptr;
    QList<QRect> m_rects;
    int m_contentHeight = 0;
    int m_highlight = -1;
    bool m_inGrid = false;
    bool m_highlightsFirstCell = false;
    int m_pressedRow = -1;
};

} // namespace tessel
