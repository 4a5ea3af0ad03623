// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/ConfirmationSheet.h"

#include "ui/style/FocusRing.h"
#include "ui/style/Theme.h"
#include "ui/style/UiFonts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tessel {

ConfirmationSheet::ConfirmationSheet(const QString& title, const QString& message,
                                     const QString& cancelText, const QString& confirmText,
                                     QWidget* parent)
    : QWidget(parent)
    , m_card(new QWidget(this))
    , m_cancel(new QPushButton(cancelText, m_card))
    , m_confirm(new QPushButton(confirmText, m_card))
{
    hide();
    m_card->setObjectName(u"sheetCard"_s);
    auto* titleLabel = new QLabel(title, m_card);
    titleLabel->setFont(uiFont(13, QFont::DemiBold));
    titleLabel->setAlignment(Qt::AlignCenter);
    auto* messageLabel = new QLabel(message, m_card);
    messageLabel->setFont(uiFont(11));
    messageLabel->setWordWrap(true);
    messageLabel->setAlignment(Qt::AlignCenter);

    m_cancel->setCursor(Qt::PointingHandCursor);
    m_confirm->setCursor(Qt::PointingHandCursor);
    // Outside a dialog a push button takes only Space; these take Return too.
    m_cancel->setAutoDefault(true);
    m_confirm->setAutoDefault(true);
    applyColours();
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_confirm, &QPushButton::clicked, this, [this] {
        hide();
        Q_EMIT confirmed();
    });

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_confirm);
    auto* layout = new QVBoxLayout(m_card);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(6);
    layout->addWidget(titleLabel);
    layout->addWidget(messageLabel);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(28, 0, 28, 0);
    outer->addStretch(1);
    outer->addWidget(m_card);
    outer->addStretch(2);
}

void ConfirmationSheet::applyColours()
{
    // The sheet is made with its view, before the view joins the popup and takes the theme's
    // palette: the buttons are coloured again whenever the palette changes.
    const QPalette pal = palette();
    // A red white text reads on at 4.5:1 and more, in both themes.
    const QColor danger(0xd7, 0x00, 0x15);
    // The transparent border keeps the focus ring's room, so the ring does not squeeze the text.
    m_cancel->setStyleSheet(
        u"QPushButton { border-radius: 6px; padding: 5px 12px; background: %1; color: %2;"
        " border: 2px solid transparent; }"
        " QPushButton:hover { background: %3; }"_s.arg(
            Theme::withOpacity(Theme::primary(pal), 0.08).name(QColor::HexArgb),
            Theme::primary(pal).name(),
            Theme::withOpacity(Theme::primary(pal), 0.14).name(QColor::HexArgb)) +
        focusRingStyle(pal, 6));
    m_confirm->setStyleSheet(
        u"QPushButton { border-radius: 6px; padding: 5px 12px; background: %1; color: white;"
        " font-weight: 600; border: 2px solid transparent; }"
        " QPushButton:hover { background: %2; }"_s.arg(danger.name(), danger.darker(112).name()) +
        focusRingStyle(pal, 6));
}

void ConfirmationSheet::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        applyColours();
    QWidget::changeEvent(event);
}

void ConfirmationSheet::present()
{
    setGeometry(parentWidget()->rect());
    if (!isVisible())
        m_returnFocus = window()->focusWidget();
    raise();
    show();
    m_cancel->setFocus();
}

void ConfirmationSheet::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (m_returnFocus)
        m_returnFocus->setFocus();
    m_returnFocus = nullptr;
}

void ConfirmationSheet::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0, 0, 0, 70));
    const QRectF card = QRectF(m_card->geometry()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Theme::withOpacity(Theme::primary(palette()), 0.15), 1));
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawRoundedRect(card, 10, 10);
}

void ConfirmationSheet::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        hide();
    else
        QWidget::keyPressEvent(event);
}

} // namespace tessel
