// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/PickerCellDelegate.h"

#include "ui/popup/PickerGridModel.h"
#include "ui/style/Theme.h"

#include <QPainter>
#include <QPixmapCache>

using namespace Qt::StringLiterals;

namespace tessel {

PickerCellDelegate::PickerCellDelegate(PickerCellStyle style, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_style(std::move(style))
{}

QSize PickerCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return m_style.cellSize.isEmpty() ? option.rect.size() : m_style.cellSize;
}

void PickerCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (index.data(PickerGridModel::KindRole).toInt() == int(PickerGridItem::Kind::title))
        paintTitle(painter, option, text);
    else
        paintCell(painter, option, text);
}

void PickerCellDelegate::paintTitle(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QString& text) const
{
    painter->save();
    painter->setFont(m_style.titleFont);
    painter->setPen(Theme::tertiary(option.palette));
    const QRect area = option.rect.adjusted(m_style.titleInset, 0, -m_style.titleInset, 0);
    const QString shown =
        QFontMetrics(m_style.titleFont).elidedText(text, Qt::ElideRight, area.width());
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, shown);
    painter->restore();
}

void PickerCellDelegate::paintCell(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QString& text) const
{
    QRect cell = option.rect;
    if (!m_style.cellSize.isEmpty()) {
        cell = QRect(QPoint(), m_style.cellSize);
        cell.moveCenter(option.rect.center());
    }
    const QPalette& pal = option.palette;
    const bool highlighted = option.state.testFlag(QStyle::State_Selected);
    const QColor accent = Theme::accent(pal);
    const QColor primary = Theme::primary(pal);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(cell).adjusted(0.25, 0.25, -0.25, -0.25);
    painter->setBrush(highlighted ? Theme::withOpacity(accent, 0.18)
                                  : Theme::withOpacity(primary, 0.04));
    painter->setPen(QPen(highlighted ? Theme::withOpacity(accent, 0.6)
                                     : Theme::withOpacity(primary, m_style.strokeOpacity),
                         highlighted ? 1.0 : 0.5));
    painter->drawRoundedRect(card, m_style.cornerRadius, m_style.cornerRadius);

    if (m_style.cacheGlyphs) {
        paintCachedGlyph(painter, cell, text, primary);
    } else {
        const QRect area = cell.adjusted(8, 0, -8, 0);
        QFont font = m_style.font;
        // A face wider than its cell is drawn smaller rather than cut off.
        while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(text) > area.width())
            font.setPixelSize(font.pixelSize() - 1);
        painter->setFont(font);
        painter->setPen(primary);
        painter->drawText(area, Qt::AlignCenter,
                          QFontMetrics(font).elidedText(text, Qt::ElideRight, area.width()));
    }
    painter->restore();
}

void PickerCellDelegate::paintCachedGlyph(QPainter* painter, const QRect& cell, const QString& text,
                                          const QColor& colour) const
{
    const qreal dpr = painter->device()->devicePixelRatioF();
    // The glyph's own box, not the whole cell, keeps the cache small.
    const int side = qCeil(m_style.font.pixelSize() * 1.4);
    const QString key =
        u"tessel-glyph:%1:%2:%3:%4"_s.arg(text).arg(side).arg(dpr).arg(colour.rgba(), 0, 16);
    QPixmap glyph;
    if (!QPixmapCache::find(key, &glyph)) {
        glyph = QPixmap(QSize(side, side) * dpr);
        glyph.setDevicePixelRatio(dpr);
        glyph.fill(Qt::transparent);
        QPainter glyphPainter(&glyph);
        glyphPainter.setRenderHint(QPainter::TextAntialiasing);
        glyphPainter.setFont(m_style.font);
        glyphPainter.setPen(colour);
        glyphPainter.drawText(QRect(0, 0, side, side), Qt::AlignCenter, text);
        glyphPainter.end();
        QPixmapCache::insert(key, glyph);
    }
    QRect target(QPoint(), QSize(side, side));
    target.moveCenter(cell.center());
    painter->drawPixmap(target.topLeft(), glyph);
}

} // namespace tessel
