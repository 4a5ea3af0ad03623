// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/HistoryRowView.h"

#include "clipboard/ClipboardEntry.h"
#include "clipboard/ImageDecoder.h"
#include "clipboard/ImageLoader.h"
#include "localization/LanguageManager.h"
#include "ui/popup/ClipboardListModel.h"
#include "ui/style/IconProvider.h"
#include "ui/style/Theme.h"
#include "ui/style/UiFonts.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
constexpr int kMenuInset = 8;
constexpr int kMenuButton = 24; // a 12-pixel glyph with 6 pixels around it
constexpr int kTextTrailingSpace = 28;
constexpr int kPinIcon = 13;
constexpr int kPinPadding = 5;
constexpr int kPinRowHeight = kPinIcon + 2 * kPinPadding;
constexpr int kStackSpacing = 6;

const QFont& previewFont()
{
    static const QFont font = uiFont(12);
    return font;
}

const QFont& pinFont()
{
    static const QFont font = uiFont(10, QFont::Medium);
    return font;
}

ClipboardEntryPtr entryOf(const QModelIndex& index)
{
    return index.data(ClipboardListModel::EntryRole).value<ClipboardEntryPtr>();
}

// Lays the layout's text out in `width`, at most `maxLines` lines; returns the height used.
int layoutLines(QTextLayout& layout, int width, int maxLines)
{
    layout.setFont(previewFont());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    int lines = 0;
    while (lines < maxLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
        ++lines;
    }
    layout.endLayout();
    return int(std::ceil(y));
}
} // namespace

HistoryRowView::HistoryRowView(LanguageManager& language, ImageLoader& images, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_language(language)
    , m_images(images)
{
    connect(&images, &ImageLoader::thumbnailReady, this, [this] {
        if (auto* view = qobject_cast<QAbstractItemView*>(this->parent()))
            view->viewport()->update();
    });
}

QRect HistoryRowView::cardRect(const QRect& rowRect)
{
    return rowRect.adjusted(listPadding, rowSpacing / 2, -listPadding, -rowSpacing / 2);
}

QRect HistoryRowView::menuButtonRect(const QRect& rowRect)
{
    const QRect card = cardRect(rowRect);
    return QRect(card.right() - kMenuInset - kMenuButton + 1, card.top() + kMenuInset, kMenuButton,
                 kMenuButton);
}

const char* HistoryRowView::pinActionId(bool favorite)
{
    //% "Unpin item"
    const char* unpin = QT_TRID_NOOP("unpin_item");
    //% "Pin item"
    const char* pin = QT_TRID_NOOP("pin_item");
    return favorite ? unpin : pin;
}

QString HistoryRowView::pinLabel(const QModelIndex& index) const
{
    return m_language.string(pinActionId(index.data(ClipboardListModel::IsFavoriteRole).toBool()));
}

QRect HistoryRowView::pinButtonRect(const QRect& rowRect, const QModelIndex& index) const
{
    const QRect card = cardRect(rowRect);
    int width = kPinIcon + 2 * kPinPadding;
    if (m_hoveredPin == index)
        width += QFontMetrics(pinFont()).horizontalAdvance(pinLabel(index)) + 4;
    return QRect(card.right() - cardPadding - width + 1,
                 card.bottom() - cardPadding - kPinRowHeight + 1, width, kPinRowHeight);
}

int HistoryRowView::textHeight(const QString& text, int width) const
{
    QTextLayout layout(text);
    return layoutLines(layout, width, maxTextLines);
}

QSize HistoryRowView::thumbnailSize(const QModelIndex& index, int width) const
{
    if (!index.data(ClipboardListModel::IsImageRole).toBool() || width <= 0)
        return {};
    const ClipboardEntryPtr entry = entryOf(index);
    if (entry->isUndecodable())
        return {};
    const QSize bound(width, maxImageHeight);
    // Until its header has been read, an image gets the tallest place: most are that tall.
    return entry->imageSize() ? ImageDecoder::fitted(*entry->imageSize(), bound) : bound;
}

QSize HistoryRowView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int rowWidth = option.rect.width() > 0 ? option.rect.width() : 330;
    const int contentWidth = rowWidth - 2 * listPadding - 2 * cardPadding;
    int previewHeight = 0;
    if (const QSize image = thumbnailSize(index, contentWidth); !image.isEmpty())
        previewHeight = image.height();
    else
        previewHeight =
            textHeight(index.data(Qt::DisplayRole).toString(), contentWidth - kTextTrailingSpace);
    previewHeight = std::max(previewHeight, QFontMetrics(previewFont()).height());
    return QSize(rowWidth,
                 rowSpacing + 2 * cardPadding + previewHeight + kStackSpacing + kPinRowHeight);
}

void HistoryRowView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const
{
    const QPalette& palette = option.palette;
    const QColor accent = Theme::accent(palette);
    const bool selected = index.data(ClipboardListModel::KeyboardSelectedRole).toBool();
    const bool hovered = option.state.testFlag(QStyle::State_MouseOver);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(cardRect(option.rect)).adjusted(0.75, 0.75, -0.75, -0.75);
    QPainterPath shape;
    shape.addRoundedRect(card, 10, 10);
    painter->fillPath(shape, selected ? Theme::withOpacity(accent, 0.12)
                                      : Theme::withOpacity(Theme::cardFill(palette), 0.85));
    const bool strong = selected || hovered;
    painter->setPen(QPen(strong ? accent : Theme::withOpacity(Theme::primary(palette), 0.12),
                         strong ? 1.5 : 1.0));
    painter->drawPath(shape);

    const QRect content = cardRect(option.rect)
                              .adjusted(cardPadding, cardPadding, -cardPadding,
                                        -cardPadding - kPinRowHeight - kStackSpacing);
    painter->save();
    // Stacked accents reach far above and below their line: they stay on this card.
    painter->setClipRect(cardRect(option.rect), Qt::IntersectClip);
    paintPreview(painter, content, index, palette);
    painter->restore();
    paintPin(painter, option.rect, index, palette);

    // The menu button: an ellipsis on a faint circle, always shown.
    const QRect menu = menuButtonRect(option.rect);
    painter->setPen(Qt::NoPen);
    painter->setBrush(Theme::withOpacity(Theme::primary(palette), 0.05));
    painter->drawEllipse(menu);
    const qreal dpr = painter->device()->devicePixelRatioF();
    painter->drawPixmap(menu.adjusted(6, 6, -6, -6),
                        IconProvider::pixmap(u"ellipsis"_s, 12, Theme::secondary(palette), dpr));
    painter->restore();
}

void HistoryRowView::paintPreview(QPainter* painter, const QRect& content, const QModelIndex& index,
                                  const QPalette& palette) const
{
    const QSize place = thumbnailSize(index, content.width());
    if (!place.isEmpty()) {
        // The bound is the same for every row of a width, so each image is decoded once for it.
        const auto image =
            m_images.thumbnail(entryOf(index), QSize(content.width(), maxImageHeight));
        const QRectF target(content.topLeft(), image ? image->size() : place);
        QPainterPath clip;
        clip.addRoundedRect(target, 6, 6);
        if (image) {
            painter->save();
            painter->setClipPath(clip);
            painter->drawImage(target, *image);
            painter->restore();
        } else {
            painter->fillPath(clip, Theme::withOpacity(Theme::primary(palette), 0.04));
        }
        painter->setPen(QPen(Theme::withOpacity(Theme::primary(palette), 0.08), 0.5));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(clip);
        return;
    }
    QTextLayout layout(index.data(Qt::DisplayRole).toString());
    layoutLines(layout, content.width() - kTextTrailingSpace, maxTextLines);
    painter->setPen(Theme::primary(palette));
    layout.draw(painter, content.topLeft());
}

void HistoryRowView::paintPin(QPainter* painter, const QRect& rowRect, const QModelIndex& index,
                              const QPalette& palette) const
{
    const bool favorite = index.data(ClipboardListModel::IsFavoriteRole).toBool();
    const bool pinHovered = m_hoveredPin == index;
    const QRect pin = pinButtonRect(rowRect, index);
    if (pinHovered) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(Theme::withOpacity(Theme::primary(palette), 0.06));
        painter->drawRoundedRect(pin, pin.height() / 2.0, pin.height() / 2.0);
        painter->setFont(pinFont());
        painter->setPen(Theme::secondary(palette));
        painter->drawText(pin.adjusted(kPinPadding, 0, -kPinPadding - kPinIcon - 4, 0),
                          Qt::AlignVCenter | Qt::AlignLeft, pinLabel(index));
    }
    const QRect icon(pin.right() - kPinPadding - kPinIcon + 1, pin.top() + kPinPadding, kPinIcon,
                     kPinIcon);
    const QColor tint = favorite ? Theme::accent(palette) : Theme::secondary(palette);
    painter->drawPixmap(icon, IconProvider::pixmap(favorite ? u"pin.fill"_s : u"pin"_s, kPinIcon,
                                                   tint, painter->device()->devicePixelRatioF()));
}

bool HistoryRowView::editorEvent(QEvent* event, QAbstractItemModel* model,
                                 const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::MouseMove) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool overPin =
            pinButtonRect(option.rect, index).contains(mouse->position().toPoint());
        const QPersistentModelIndex now =
            overPin ? QPersistentModelIndex(index) : QPersistentModelIndex();
        if (now != m_hoveredPin) {
            m_hoveredPin = now;
            if (auto* view = qobject_cast<QAbstractItemView*>(parent()))
                view->viewport()->update();
        }
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton ||
        !cardRect(option.rect).contains(mouse->position().toPoint()))
        return false;
    const QPoint pos = mouse->position().toPoint();
    if (menuButtonRect(option.rect).contains(pos))
        Q_EMIT menuRequested(index, mouse->globalPosition().toPoint());
    else if (pinButtonRect(option.rect, index).contains(pos))
        Q_EMIT pinToggled(index);
    else
        Q_EMIT chosen(index);
    return true;
}

} // namespace tessel
