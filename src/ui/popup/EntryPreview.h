// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"

#include <QImage>
#include <QWidget>

class QTextLayout;

namespace tessel {

class LanguageManager;

// A history entry shown whole, in a window of its own beside the popup, the way a tool tip
// shows: a text up to `maxTextLines` lines, or an image at up to a third of the screen, with its
// size beneath. It takes neither the keyboard nor the pointer. An image is decoded, at the size
// it is shown at, away from the main thread; the text is laid out from a bounded beginning only.
class EntryPreview : public QWidget {
    Q_OBJECT

public:
    static constexpr int maxTextLines = 30;
    // However long the lines, no more of the text than this is laid out.
    static constexpr qsizetype maxTextChars = 8000;
    static constexpr int textWidth = 420;

    // A window that belongs to `owner`'s window; hidden until it shows an entry. It paints with
    // its own palette, which the owner gives it.
    EntryPreview(LanguageManager& language, QWidget* owner);
    ~EntryPreview() override;

    // Shows `entry` beside `anchor` (a rectangle in global coordinates, a row of the popup),
    // next to `beside` (the popup's frame), within the screen.
    void showEntry(const ClipboardEntryPtr& entry, const QRect& anchor, const QRect& beside);
    void dismiss();
    // The entry shown, or being made ready to show; null when dismissed.
    ClipboardEntryPtr entry() const { return m_entry; }

    // What is shown: the text laid out (its lines joined by line feeds), or the image; and the
    // line beneath.
    QString shownText() const;
    const QImage& shownImage() const { return m_image; }
    const QString& caption() const { return m_caption; }

    QSize sizeHint() const override;

Q_SIGNALS:
    // An entry is on screen (an image once it is decoded).
    void shown();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showText(const QString& text);
    void loadImage(const ClipboardEntryPtr& entry, QSize bound);
    void imageLoaded(quint64 generation, const QImage& image, QSize fullSize, qsizetype bytes);
    void present();

    LanguageManager& m_language;
    ClipboardEntryPtr m_entry;
    std::unique_ptr<QTextLayout> m_layout;
    int m_textHeight = 0;
    QImage m_image;
    QString m_caption;
    QRect m_anchor;
    QRect m_beside;
    quint64 m_generation = 0;
};

} // namespace tessel
