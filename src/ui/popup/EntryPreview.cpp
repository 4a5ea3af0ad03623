// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/EntryPreview.h"

#include "clipboard/ImageDecoder.h"
#include "core/AppPaths.h"
#include "localization/LanguageManager.h"
#include "ui/popup/PreviewText.h"
#include "ui/style/Theme.h"
#include "ui/style/UiFonts.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QTextLayout>
#include <QThreadPool>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
constexpr int kPadding = 10;
constexpr int kCaptionGap = 6;
constexpr int kGap = 8; // between the popup and the preview

const QFont& textFont()
{
    static const QFont font = uiFont(12);
    return font;
}

const QFont& captionFont()
{
    static const QFont font = uiFont(11);
    return font;
}

QScreen* screenAt(const QRect& rect)
{
    QScreen* screen = QGuiApplication::screenAt(rect.center());
    return screen ? screen : QGuiApplication::primaryScreen();
}
} // namespace

EntryPreview::EntryPreview(LanguageManager& language, QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , m_language(language)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setObjectName(u"entryPreview"_s);
}

EntryPreview::~EntryPreview() = default;

void EntryPreview::showEntry(const ClipboardEntryPtr& entry, const QRect& anchor,
                             const QRect& beside)
{
    ++m_generation;
    m_entry = entry;
    m_anchor = anchor;
    m_beside = beside;
    m_image = QImage();
    m_layout.reset();
    m_caption.clear();
    //% "Entry preview"
    setAccessibleName(m_language.string("preview_title"));
    if (const auto& text = entry->textContent()) {
        showText(*text);
        present();
        return;
    }
    const QSize screen = screenAt(anchor)->availableGeometry().size();
    loadImage(entry, QSize(screen.width() / 3, screen.height() / 3));
}

void EntryPreview::dismiss()
{
    ++m_generation;
    m_entry.reset();
    hide();
}

void EntryPreview::showText(const QString& text)
{
    const PreviewText::Prefix shown = PreviewText::prefix(text, maxTextLines, maxTextChars);
    m_layout = std::make_unique<QTextLayout>(shown.text);
    m_textHeight = PreviewText::layOut(*m_layout, textFont(), textWidth, maxTextLines);
    const PreviewText::Size size = PreviewText::sizeOf(text);
    const QLocale locale(m_language.activeLanguageCode());
    //% "Lines: %1 · Characters: %2"
    m_caption = m_language.string("preview_text_size")
                    .arg(locale.toString(size.lines), locale.toString(size.characters));
    setAccessibleDescription(shownText() + u'\n' + m_caption);
}

void EntryPreview::loadImage(const ClipboardEntryPtr& entry, QSize bound)
{
    // The entry stays on this thread; the worker gets its bytes or the file that holds them.
    const std::optional<QByteArray> inMemory = entry->loadedImageData();
    const QString path = entry->imageFileURL().value_or(QString());
    const quint64 generation = m_generation;
    QPointer<EntryPreview> self(this);
    QThreadPool::globalInstance()->start([self, generation, inMemory, path, bound] {
        QByteArray bytes;
        if (inMemory) {
            bytes = *inMemory;
        } else if (auto read = AppPaths::readPrivateFile(path, ClipboardEntry::maxImageFileBytes)) {
            bytes = std::move(read.value());
        }
        const QSize fullSize = ImageDecoder::probe(bytes).value_or(QSize());
        const QImage image = ImageDecoder::decode(bytes, bound).value_or(QImage());
        const qsizetype byteCount = bytes.size();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, generation, image, fullSize, byteCount] {
                // A plain pointer: the release build's null-dereference check does not see
                // through QPointer.
                if (EntryPreview* preview = self.data())
                    preview->imageLoaded(generation, image, fullSize, byteCount);
            },
            Qt::QueuedConnection);
    });
}

void EntryPreview::imageLoaded(quint64 generation, const QImage& image, QSize fullSize,
                               qsizetype bytes)
{
    if (generation != m_generation || !m_entry)
        return;
    if (image.isNull()) {
        // Bytes that are gone or no image: the entry's one-line description stands in.
        showText(m_entry->previewText());
    } else {
        m_image = image;
        const QSize size = fullSize.isValid() ? fullSize : image.size();
        const QLocale locale(m_language.activeLanguageCode());
        //% "%1 × %2 pixels · %3"
        m_caption = m_language.string("preview_image_size")
                        .arg(locale.toString(size.width()), locale.toString(size.height()),
                             locale.formattedDataSize(bytes));
        setAccessibleDescription(m_caption);
    }
    present();
}

QString EntryPreview::shownText() const
{
    if (!m_layout)
        return {};
    QStringList lines;
    const QString text = m_layout->text();
    for (int i = 0; i < m_layout->lineCount(); ++i) {
        const QTextLine line = m_layout->lineAt(i);
        lines.append(
            text.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator).trimmed());
    }
    return lines.join(u'\n');
}

QSize EntryPreview::sizeHint() const
{
    const QFontMetrics caption(captionFont());
    QSize content;
    if (!m_image.isNull()) {
        const qreal dpr = m_image.devicePixelRatio();
        content = (QSizeF(m_image.size()) / dpr).toSize();
    } else if (m_layout) {
        int width = 0;
        for (int i = 0; i < m_layout->lineCount(); ++i)
            width = std::max(width, int(std::ceil(m_layout->lineAt(i).naturalTextWidth())));
        content = QSize(width, m_textHeight);
    }
    const int width = std::max(content.width(), caption.horizontalAdvance(m_caption));
    return QSize(width + 2 * kPadding,
                 content.height() + kCaptionGap + caption.height() + 2 * kPadding);
}

void EntryPreview::present()
{
    resize(sizeHint());
    // Beside the popup on the side with room, level with the row, inside the screen.
    const QRect area = screenAt(m_anchor)->availableGeometry();
    int x = m_beside.right() + 1 + kGap;
    if (x + width() > area.right() + 1)
        x = m_beside.left() - kGap - width();
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - width()));
    const int y =
        std::clamp(m_anchor.top(), area.top(), std::max(area.top(), area.bottom() + 1 - height()));
    move(x, y);
    show();
    raise();
    update();
    Q_EMIT shown();
}

void EntryPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Window));
    painter.setPen(QPen(Theme::withOpacity(Theme::primary(pal), 0.2), 1));
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    const QPoint origin(kPadding, kPadding);
    int contentHeight = 0;
    if (!m_image.isNull()) {
        const QSize shown = (QSizeF(m_image.size()) / m_image.devicePixelRatio()).toSize();
        painter.drawImage(QRect(origin, shown), m_image);
        contentHeight = shown.height();
    } else if (m_layout) {
        painter.setPen(Theme::primary(pal));
        m_layout->draw(&painter, origin);
        contentHeight = m_textHeight;
    }
    painter.setFont(captionFont());
    painter.setPen(Theme::secondary(pal));
    const QRect caption(kPadding, kPadding + contentHeight + kCaptionGap, width() - 2 * kPadding,
                        QFontMetrics(captionFont()).height());
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, m_caption);
}

} // namespace tessel
