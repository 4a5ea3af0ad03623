// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/PickerGridView.h"

#include "ui/popup/PickerGridAccessible.h"
#include "ui/popup/PickerGridModel.h"
#include "ui/widgets/OverlayScrollBar.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <utility>

namespace tessel {

PickerGridView::PickerGridView(const PickerGridLayout& layout, QWidget* parent)
    : QAbstractItemView(parent)
    , m_layout(layout)
{
    installPickerGridAccessibility();
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(NoSelection);
    setEditTriggers(NoEditTriggers);
    // The search field keeps the focus; the popup hands this view its navigation keys.
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(ScrollPerPixel);
    setBackgroundRole(QPalette::Window);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::PointingHandCursor);
    new OverlayScrollBar(this);
}

void PickerGridView::setGridModel(PickerGridModel* model)
{
    m_model = model;
    setModel(model);
    reset();
}

void PickerGridView::setHighlightsFirstCell(bool on)
{
    m_highlightsFirstCell = on;
    if (!m_inGrid)
        restHighlight();
}

QList<int> PickerGridView::cellRows() const
{
    QList<int> rows;
    for (int row = 0; m_model && row < m_model->rowCount(); ++row) {
        if (m_model->isCell(row))
            rows.append(row);
    }
    return rows;
}

QRect PickerGridView::contentRect(int row) const
{
    return row >= 0 && row < m_rects.size() ? m_rects.at(row) : QRect();
}

void PickerGridView::reset()
{
    QAbstractItemView::reset();
    m_pressedRow = -1;
    m_inGrid = false;
    m_highlight = -1;
    relayout();
    verticalScrollBar()->setValue(0);
    restHighlight();
}

void PickerGridView::relayout()
{
    m_rects.clear();
    const int count = m_model ? m_model->rowCount() : 0;
    const QMargins& pad = m_layout.padding;
    const int width = std::max(1, viewport()->width() - pad.left() - pad.right());
    const int spacing = m_layout.columnSpacing;
    int columns = m_layout.columns;
    double columnWidth = m_layout.columnWidth;
    int left = pad.left();
    if (columns > 0) {
        const int gridWidth = columns * m_layout.columnWidth + (columns - 1) * spacing;
        left += std::max(0, (width - gridWidth) / 2);
    } else {
        columns = std::max(1, (width + spacing) / (m_layout.columnWidth + spacing));
        columnWidth = double(width - (columns - 1) * spacing) / columns;
    }

    m_rects.reserve(count);
    int y = pad.top();
    int column = 0;
    bool first = true;
    const auto closeRow = [&] {
        if (column > 0)
            y += m_layout.cellHeight;
        column = 0;
    };
    for (int row = 0; row < count; ++row) {
        if (!m_model->isCell(row)) {
            closeRow();
            if (!first)
                y += m_layout.sectionSpacing;
            m_rects.append(QRect(left, y, width - (left - pad.left()), m_layout.titleHeight));
            y += m_layout.titleHeight + m_layout.titleSpacing;
        } else {
            if (column == columns) {
                y += m_layout.cellHeight + m_layout.rowSpacing;
                column = 0;
            }
            const int x0 = left + int(std::lround(column * (columnWidth + spacing)));
            const int x1 = left + int(std::lround(column * (columnWidth + spacing) + columnWidth));
            m_rects.append(QRect(x0, y, x1 - x0, m_layout.cellHeight));
            ++column;
        }
        first = false;
    }
    closeRow();
    m_contentHeight = y + pad.bottom();
    updateGeometries();
    viewport()->update();
}

void PickerGridView::updateGeometries()
{
    const int page = viewport()->height();
    verticalScrollBar()->setSingleStep(m_layout.cellHeight + m_layout.rowSpacing);
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setRange(0, std::max(0, m_contentHeight - page));
    QAbstractItemView::updateGeometries();
}

void PickerGridView::resizeEvent(QResizeEvent* event)
{
    QAbstractItemView::resizeEvent(event);
    relayout();
}

int PickerGridView::rowAt(const QPoint& contentPoint) const
{
    // Rows are laid out top to bottom: skip those that end above the point.
    const auto begin = std::partition_point(m_rects.begin(), m_rects.end(), [&](const QRect& r) {
        return r.bottom() < contentPoint.y() - m_layout.cellHeight - m_layout.rowSpacing;
    });
    for (auto it = begin; it != m_rects.end() && it->top() <= contentPoint.y(); ++it) {
        if (it->contains(contentPoint))
            return int(it - m_rects.begin());
    }
    return -1;
}

QRect PickerGridView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= m_rects.size())
        return {};
    return m_rects.at(index.row()).translated(0, -verticalOffset());
}

QModelIndex PickerGridView::indexAt(const QPoint& point) const
{
    const int row = rowAt(point + QPoint(0, verticalOffset()));
    return row >= 0 && m_model ? m_model->index(row) : QModelIndex();
}

void PickerGridView::scrollTo(const QModelIndex& index, ScrollHint)
{
    if (!index.isValid() || index.row() >= m_rects.size())
        return;
    QRect rect = m_rects.at(index.row());
    // A section's first row brings its title into view with it.
    if (index.row() > 0 && !m_model->isCell(index.row() - 1))
        rect.setTop(m_rects.at(index.row() - 1).top());
    const QMargins& pad = m_layout.padding;
    QScrollBar* bar = verticalScrollBar();
    if (rect.top() - pad.top() < bar->value())
        bar->setValue(rect.top() - pad.top());
    else if (rect.bottom() + pad.bottom() > bar->value() + viewport()->height())
        bar->setValue(rect.bottom() + pad.bottom() - viewport()->height() + 1);
}

void PickerGridView::paintEvent(QPaintEvent* event)
{
    if (!m_model)
        return;
    QPainter painter(viewport());
    const int offset = verticalOffset();
    const QRect area = event->rect().translated(0, offset);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const auto begin = std::partition_point(
        m_rects.begin(), m_rects.end(), [&](const QRect& r) { return r.bottom() < area.top(); });
    for (auto it = begin; it != m_rects.end() && it->top() <= area.bottom(); ++it) {
        if (!it->intersects(area))
            continue;
        const int row = int(it - m_rects.begin());
        option.rect = it->translated(0, -offset);
        option.state = QStyle::State_Enabled;
        if (row == m_highlight)
            option.state |= QStyle::State_Selected;
        itemDelegate()->paint(&painter, option, m_model->index(row));
    }
}

int PickerGridView::firstCell() const
{
    for (int row = 0; m_model && row < m_model->rowCount(); ++row) {
        if (m_model->isCell(row))
            return row;
    }
    return -1;
}

void PickerGridView::setHighlight(int row)
{
    if (row == m_highlight)
        return;
    const int old = m_highlight;
    m_highlight = row;
    for (int r : {old, row}) {
        if (r >= 0 && m_model)
            viewport()->update(visualRect(m_model->index(r)));
    }
    if (row >= 0 && m_inGrid) {
        scrollTo(m_model->index(row));
        // Only inside the grid: while the search field has the keyboard, the reader stays there.
        announcePickerCell(*this, row);
    }
}

void PickerGridView::restHighlight()
{
    setHighlight(m_highlightsFirstCell ? firstCell() : -1);
}

int PickerGridView::neighbour(int row, Step step) const
{
    const int count = m_model ? m_model->rowCount() : 0;
    if (step == Step::next || step == Step::previous) {
        const int delta = step == Step::next ? 1 : -1;
        for (int r = row + delta; r >= 0 && r < count; r += delta) {
            if (m_model->isCell(r))
                return r;
        }
        return -1;
    }
    // Up and Down: the nearest row of cells above or below, and in it the cell closest to the
    // same column (a shorter row gives its last cell).
    const QRect from = m_rects.at(row);
    int best = -1;
    int bestTop = 0;
    int bestDistance = 0;
    for (int r = 0; r < count; ++r) {
        if (!m_model->isCell(r))
            continue;
        const QRect& rect = m_rects.at(r);
        const bool beyond = step == Step::down ? rect.top() > from.top() : rect.top() < from.top();
        if (!beyond)
            continue;
        const int distance = std::abs(rect.center().x() - from.center().x());
        const bool nearerRow =
            best < 0 || (step == Step::down ? rect.top() < bestTop : rect.top() > bestTop);
        if (nearerRow || (rect.top() == bestTop && distance < bestDistance)) {
            best = r;
            bestTop = rect.top();
            bestDistance = distance;
        }
    }
    return best;
}

bool PickerGridView::handlePopupKey(const QKeyEvent& event)
{
    const int first = firstCell();
    const auto enter = [this](int row) {
        m_inGrid = true;
        setHighlight(row);
        scrollTo(m_model->index(row));
    };
    const auto leave = [this] {
        m_inGrid = false;
        restHighlight();
        verticalScrollBar()->setValue(0);
    };
    switch (event.key()) {
    case Qt::Key_Down:
    case Qt::Key_Tab:
        if (first < 0)
            return event.key() == Qt::Key_Tab;
        if (m_highlight < 0) {
            enter(first);
        } else {
            const int next =
                neighbour(m_highlight, event.key() == Qt::Key_Tab ? Step::next : Step::down);
            enter(next >= 0 ? next : m_highlight);
        }
        return true;
    case Qt::Key_Up:
    case Qt::Key_Backtab:
        // Outside the grid, Shift+Tab goes back to the buttons above.
        if (!m_inGrid)
            return false;
        if (const int next =
                neighbour(m_highlight, event.key() == Qt::Key_Backtab ? Step::previous : Step::up);
            next >= 0)
            enter(next);
        else
            leave();
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        // Outside the grid the arrows move the search field's text cursor.
        if (!m_inGrid)
            return false;
        if (const int next =
                neighbour(m_highlight, event.key() == Qt::Key_Right ? Step::next : Step::previous);
            next >= 0)
            enter(next);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_highlight < 0)
            return false;
        Q_EMIT cellActivated(m_highlight);
        return true;
    default:
        return false;
    }
}

void PickerGridView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    m_pressedRow =
        event->button() == Qt::LeftButton && index.isValid() && m_model->isCell(index.row())
            ? index.row()
            : -1;
    event->accept();
}

void PickerGridView::mouseReleaseEvent(QMouseEvent* event)
{
    const int pressed = std::exchange(m_pressedRow, -1);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && pressed >= 0 && index.row() == pressed)
        Q_EMIT cellActivated(pressed);
    event->accept();
}

void PickerGridView::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void PickerGridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

QModelIndex PickerGridView::moveCursor(CursorAction, Qt::KeyboardModifiers)
{
    // The view never has the focus: its keys come through handlePopupKey.
    return {};
}

int PickerGridView::horizontalOffset() const
{
    return 0;
}

int PickerGridView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

bool PickerGridView::isIndexHidden(const QModelIndex&) const
{
    return false;
}

void PickerGridView::setSelection(const QRect&, QItemSelectionModel::SelectionFlags) {}

QRegion PickerGridView::visualRegionForSelection(const QItemSelection&) const
{
    return {};
}

} // namespace tessel
