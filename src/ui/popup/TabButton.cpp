// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/TabButton.h"

#include "ui/style/FocusRing.h"
#include "ui/style/IconProvider.h"
#include "ui/style/Theme.h"
#include "ui/widgets/AccessibleRole.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
constexpr QSize kIconFrame{36, 28};
constexpr int kSpacing = 4;
constexpr QSizeF kIndicator{22, 2.5};
constexpr int kGlyph = 15;
} // namespace

TabButton::TabButton(PopupTab tab, QWidget* parent)
    : QAbstractButton(parent)
    , m_tab(tab)
{
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab; a click leaves the keyboard in the search field.
    setFocusPolicy(Qt::TabFocus);
    setCheckable(true);
    setAccessibleRole(this, QAccessible::PageTab);
}

void TabButton::nextCheckState()
{
    // Only the tab row changes which tab is active.
}

const char* TabButton::titleId(PopupTab tab)
{
    switch (tab) {
    case PopupTab::clipboard:
        //% "Clipboard"
        return QT_TRID_NOOP("tab_clipboard");
    case PopupTab::emoji:
        //% "Emojis"
        return QT_TRID_NOOP("tab_emoji");
    case PopupTab::kaomoji:
        //% "Kaomoji"
        return QT_TRID_NOOP("tab_kaomoji");
    case PopupTab::symbols:
        //% "Symbols"
        return QT_TRID_NOOP("tab_symbols");
    case PopupTab::favorites:
        //% "Favorites"
        return QT_TRID_NOOP("tab_favorites");
    }
    return "";
}

QString TabButton::symbolFor(PopupTab tab)
{
    switch (tab) {
    case PopupTab::clipboard:
        return u"doc.on.clipboard"_s;
    case PopupTab::emoji:
        return u"face.smiling"_s;
    case PopupTab::kaomoji:
        return u"quote.bubble"_s;
    case PopupTab::symbols:
        return u"function"_s;
    case PopupTab::favorites:
        return u"heart"_s;
    }
    return {};
}

void TabButton::setActive(bool active)
{
    setChecked(active);
}

QSize TabButton::sizeHint() const
{
    return QSize(kIconFrame.width(), kIconFrame.height() + kSpacing + 3);
}

void TabButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TabButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TabButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QRect frame(QPoint((width() - kIconFrame.width()) / 2, 0), kIconFrame);
    const bool active = isChecked();
    if (m_hovered && !active) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::withOpacity(Theme::primary(pal), 0.05));
        painter.drawRoundedRect(frame, 6, 6);
    }
    const QColor tint = active      ? Theme::accent(pal)
                        : m_hovered ? Theme::primary(pal)
                                    : Theme::secondary(pal);
    // The active tab's glyph is drawn a size up, standing in for a bolder weight.
    const int glyph = active ? kGlyph + 1 : kGlyph;
    const QRect icon(frame.center().x() - glyph / 2, frame.center().y() - glyph / 2, glyph, glyph);
    painter.drawPixmap(icon,
                       IconProvider::pixmap(symbolFor(m_tab), glyph, tint, devicePixelRatioF()));
    if (hasFocus())
        paintFocusRing(painter, frame, 6, pal);
    if (active) {
        const QRectF bar(width() / 2.0 - kIndicator.width() / 2, frame.bottom() + 1 + kSpacing,
                         kIndicator.width(), kIndicator.height());
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::accent(pal));
        painter.drawRoundedRect(bar, bar.height() / 2, bar.height() / 2);
    }
}

} // namespace tessel
