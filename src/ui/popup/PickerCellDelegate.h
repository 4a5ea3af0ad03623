// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QSize>
#include <QStyledItemDelegate>

namespace tessel {

// How a picker draws its cells and section titles.
struct PickerCellStyle {
    // The drawn cell, centred in its grid cell; an empty size fills the grid cell.
    QSize cellSize;
    QFont font;
    qreal cornerRadius = 8;
    // Opacity of the cell's outline in the text colour.
    qreal strokeOpacity = 0.06;
    QFont titleFont;
    // Space left of a title's text.
    int titleInset = 2;
    // Colour emoji are costly to draw: each glyph is drawn once into a cached pixmap.
    bool cacheGlyphs = false;
};

// Paints the rows of a PickerGridView: a title in the faintest text colour, or a cell with its
// text on a faint rounded card. The keyboard's highlight is the accent colour's card.
class PickerCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit PickerCellDelegate(PickerCellStyle style, QObject* parent = nullptr);

    const PickerCellStyle& style() const { return m_style; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void paintTitle(QPainter* painter, const QStyleOptionViewItem& option,
                    const QString& text) const;
    void paintCell(QPainter* painter, const QStyleOptionViewItem& option,
                   const QString& text) const;
    void paintCachedGlyph(QPainter* painter, const QRect& cell, const QString& text,
                          const QColor& colour) const;

    PickerCellStyle m_style;
};

} // namespace tessel
