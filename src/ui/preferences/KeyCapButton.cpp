// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/KeyCapButton.h"

#include "ui/preferences/ShortcutRecorder.h"
#include "ui/style/FocusRing.h"
#include "ui/style/Theme.h"
#include "ui/style/UiFonts.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace tessel {

namespace {
constexpr int kCapPadding = 7;
constexpr int kCapSpacing = 4;
} // namespace

KeyCapButton::KeyCapButton(ShortcutRecorder& recorder, QWidget* parent)
    : QAbstractButton(parent)
    , m_recorder(recorder)
{
    setCursor(Qt::PointingHandCursor);
    setFont(uiFont(12, QFont::DemiBold));
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void KeyCapButton::setKeys(const QStringList& keys)
{
    m_keys = keys;
    // Its row names it; what it holds is its description.
    if (!m_recording)
        setAccessibleDescription(keys.join(u'+'));
    updateGeometry();
    update();
}

void KeyCapButton::setRecording(bool recording, const QString& prompt)
{
    m_prompt = prompt;
    setAccessibleDescription(recording ? prompt : m_keys.join(u'+'));
    if (recording != m_recording) {
        m_recording = recording;
        if (recording) {
            setFocus(Qt::OtherFocusReason);
            grabKeyboard();
        } else {
            releaseKeyboard();
        }
    }
    updateGeometry();
    update();
}

QSize KeyCapButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    // Room for the caps' text at any font size.
    const int capHeight = std::max(26, metrics.height() + 10);
    if (m_recording)
        return QSize(metrics.horizontalAdvance(m_prompt) + 2 * 12, capHeight);
    int width = 0;
    for (const QString& key : m_keys)
        width += metrics.horizontalAdvance(key) + 2 * kCapPadding + kCapSpacing;
    return QSize(std::max(width - kCapSpacing, capHeight) + 8, capHeight);
}

bool KeyCapButton::event(QEvent* event)
{
    // While recording every key is the shortcut's, including Tab, Return and Space, which would
    // otherwise move the focus or press the button.
    if (m_recording && (event->type() == QEvent::ShortcutOverride ||
                        event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        if (event->type() == QEvent::KeyPress)
            m_recorder.handleKeyPress(*static_cast<QKeyEvent*>(event));
        event->accept();
        return true;
    }
    return QAbstractButton::event(event);
}

void KeyCapButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font());
    const QPalette& pal = palette();
    const QColor accent = Theme::accent(pal);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_recording) {
        QPainterPath path;
        path.addRoundedRect(box, 7, 7);
        painter.fillPath(path, Theme::withOpacity(accent, 0.15));
        painter.setPen(QPen(accent, 1));
        painter.drawPath(path);
        painter.drawText(rect(), Qt::AlignCenter, m_prompt);
        return;
    }
    if (hasFocus())
        paintFocusRing(painter, box, 7, pal);
    const QFontMetrics metrics(font());
    const QColor text = Theme::primary(pal);
    const QColor fill = Theme::withOpacity(text, underMouse() ? 0.14 : 0.08);
    const QColor edge = Theme::withOpacity(text, 0.18);
    qreal x = width() - sizeHint().width() + 4;
    for (const QString& key : m_keys) {
        const qreal capWidth = metrics.horizontalAdvance(key) + 2 * kCapPadding;
        const QRectF cap(x, 2.5, capWidth, height() - 5);
        QPainterPath path;
        path.addRoundedRect(cap, 5, 5);
        painter.fillPath(path, fill);
        painter.setPen(QPen(edge, 1));
        painter.drawPath(path);
        painter.setPen(text);
        painter.drawText(cap, Qt::AlignCenter, key);
        x += capWidth + kCapSpacing;
    }
}

} // namespace tessel
