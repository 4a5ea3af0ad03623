// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <functional>

class QPainter;

namespace tessel {

class ImageLoader;
class LanguageManager;

// Draws one history entry of a ClipboardListModel as a card: its preview text (four lines at most)
// or image thumbnail (120 pixels high at most), a pin button at the bottom-right corner and a
// menu button at the top-right one. Thumbnails come from the image loader, decoded in the
// background: until one is there, its place is drawn empty. A click on the card chooses the
// entry; the row changes no data itself but reports what the user asked for.
class HistoryRowView : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int listPadding = 12; // left and right of the cards
    static constexpr int rowSpacing = 8;   // between two cards
    static constexpr int cardPadding = 12; // inside a card
    static constexpr int maxImageHeight = 120;
    static constexpr int maxTextLines = 4;

    HistoryRowView(LanguageManager& language, ImageLoader& images, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The parts of a row at `rowRect`, for drawing and hit-testing.
    static QRect cardRect(const QRect& rowRect);
    static QRect menuButtonRect(const QRect& rowRect);
    QRect pinButtonRect(const QRect& rowRect, const QModelIndex& index) const;

    // The row whose pin button is under the pointer (invalid when none).
    QPersistentModelIndex hoveredPin() const { return m_hoveredPin; }

    // The text id of the pin action: "Pin item", or "Unpin item" for a favourite.
    static const char* pinActionId(bool favorite);

Q_SIGNALS:
    void chosen(const QModelIndex& index);
    void pinToggled(const QModelIndex& index);
    void menuRequested(const QModelIndex& index, const QPoint& globalPos);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    QString pinLabel(const QModelIndex& index) const;
    void paintPreview(QPainter* painter, const QRect& content, const QModelIndex& index,
                      const QPalette& palette) const;
    void paintPin(QPainter* painter, const QRect& rowRect, const QModelIndex& index,
                  const QPalette& palette) const;
    // Where an image entry's thumbnail goes in a content area `width` wide, from the image's size
    // where it is known (the full height otherwise); empty for a text, or an image that does not
    // decode, which shows its text preview.
    QSize thumbnailSize(const QModelIndex& index, int width) const;
    int textHeight(const QString& text, int width) const;

    LanguageManager& m_language;
    ImageLoader& m_images;
    QPersistentModelIndex m_hoveredPin;
};

} // namespace tessel
