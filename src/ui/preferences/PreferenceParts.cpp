// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/PreferenceParts.h"

#include "core/SettingsStore.h"
#include "ui/preferences/TextBinder.h"
#include "ui/style/FocusRing.h"
#include "ui/style/IconProvider.h"
#include "ui/style/Theme.h"
#include "ui/style/UiFonts.h"
#include "ui/widgets/AccessibleRole.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <algorithm>

namespace tessel {

ToneLabel::ToneLabel(Tone tone, int pixelSize, QFont::Weight weight, QWidget* parent)
    : QLabel(parent)
    , m_tone(tone)
{
    setFont(uiFont(pixelSize, weight));
    applyTone();
}

void ToneLabel::setTone(Tone tone)
{
    m_tone = tone;
    applyTone();
}

QColor ToneLabel::colour(Tone tone, const QPalette& palette)
{
    const Theme::Roles roles = Theme::roles(palette);
    switch (tone) {
    case Tone::primary:
        return roles.text;
    case Tone::secondary:
        return roles.secondary;
    case Tone::tertiary:
        return roles.tertiary;
    case Tone::accent:
        return roles.accent;
    case Tone::error:
        return roles.error;
    case Tone::warning:
        return roles.warning;
    case Tone::success:
        return roles.success;
    }
    return roles.text;
}

void ToneLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange)
        applyTone();
}

void ToneLabel::applyTone()
{
    // Setting our own colour raises another palette change.
    if (m_applying)
        return;
    m_applying = true;
    const QPalette source = parentWidget() ? parentWidget()->palette() : palette();
    QPalette own = palette();
    own.setColor(QPalette::WindowText, colour(m_tone, source));
    setPalette(own);
    m_applying = false;
}

Card::Card(QWidget* parent)
    : QWidget(parent)
    , m_body(new QVBoxLayout(this))
{
    m_body->setContentsMargins(12, 10, 12, 10);
    m_body->setSpacing(8);
}

void Card::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    painter.fillPath(path, Theme::cardFill(pal));
    painter.setPen(QPen(Theme::withOpacity(Theme::primary(pal), 0.08), 1));
    painter.drawPath(path);
}

ToggleRow::ToggleRow(TextBinder& texts, const char* titleId, const char* explanationId,
                     QWidget* parent)
    : QWidget(parent)
    , m_checkBox(new QCheckBox(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    m_checkBox->setFont(uiFont(13, QFont::Medium));
    texts.bind(m_checkBox, titleId);
    auto* explanation = new ToneLabel(ToneLabel::Tone::secondary, 11, QFont::Normal, this);
    explanation->setWordWrap(true);
    // Lines up with the check box's text rather than its box.
    explanation->setContentsMargins(24, 0, 0, 0);
    texts.bind(explanation, explanationId);
    layout->addWidget(m_checkBox);
    layout->addWidget(explanation);
}

Badge::Badge(QWidget* parent)
    : QWidget(parent)
{
    setFont(uiFont(10, QFont::Bold));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void Badge::set(const QString& text, ToneLabel::Tone tone)
{
    m_text = text;
    m_tone = tone;
    updateGeometry();
    update();
}

QSize Badge::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(m_text) + 16, metrics.height() + 6);
}

void Badge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor tint = ToneLabel::colour(m_tone, palette());
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), height() / 2.0, height() / 2.0);
    painter.fillPath(path, Theme::withOpacity(tint, 0.16));
    painter.setPen(tint);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}

PreferencesTabButton::PreferencesTabButton(QString symbol, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(std::move(symbol))
{
    setCheckable(true);
    setAccessibleRole(this, QAccessible::PageTab);
    setCursor(Qt::PointingHandCursor);
    setFont(uiFont(12, QFont::Medium));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize PreferencesTabButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(16 + 6 + metrics.horizontalAdvance(text()) + 20,
                 std::max(30, metrics.height() + 12));
}

void PreferencesTabButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QColor accent = Theme::accent(pal);
    if (isChecked() || underMouse()) {
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 7, 7);
        painter.fillPath(path, isChecked() ? Theme::withOpacity(accent, 0.16)
                                           : Theme::withOpacity(Theme::primary(pal), 0.06));
    }
    if (hasFocus())
        paintFocusRing(painter, QRectF(rect()), 7, pal);
    const QColor tint = isChecked() ? accent : Theme::secondary(pal);
    const QFontMetrics metrics(font());
    const int glyph = 16;
    const int contentWidth = glyph + 6 + metrics.horizontalAdvance(text());
    const int left = (width() - contentWidth) / 2;
    painter.drawPixmap(left, (height() - glyph) / 2,
                       IconProvider::pixmap(m_symbol, glyph, tint, devicePixelRatioF()));
    painter.setPen(tint);
    painter.setFont(font());
    painter.drawText(QRect(left + glyph + 6, 0, width(), height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text());
}

void bindToggle(QCheckBox* box, SettingsStore& settings, const SettingKey<bool>& key)
{
    box->setObjectName(key.name);
    box->setChecked(settings.value(key));
    QObject::connect(box, &QCheckBox::toggled, box,
                     [&settings, key](bool checked) { settings.set(key, checked); });
    QObject::connect(&settings, &SettingsStore::changed, box,
                     [box, &settings, key](const QString& name) {
                         if (name != key.name)
                             return;
                         const QSignalBlocker blocker(box);
                         box->setChecked(settings.value(key));
                     });
}

QVBoxLayout* pageLayout(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 4, 10, 8);
    layout->setSpacing(8);
    return layout;
}

void fitPickerRow(QLabel* label, QComboBox* picker, int width)
{
    label->setWordWrap(true);
    picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    picker->setMinimumWidth(scaled(width));
}

QLabel* sectionHeader(TextBinder& texts, const char* id, QWidget* parent)
{
    auto* label = new ToneLabel(ToneLabel::Tone::secondary, 12, QFont::DemiBold, parent);
    texts.bind(label, id);
    return label;
}

SymbolIcon::SymbolIcon(QString symbol, int pixelSize, ToneLabel::Tone tone, QWidget* parent)
    : QWidget(parent)
    , m_symbol(std::move(symbol))
    , m_size(pixelSize)
    , m_tone(tone)
{
    setFixedSize(pixelSize, pixelSize);
}

void SymbolIcon::setSymbol(const QString& symbol, ToneLabel::Tone tone)
{
    m_symbol = symbol;
    m_tone = tone;
    update();
}

void SymbolIcon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0,
                       IconProvider::pixmap(m_symbol, m_size, ToneLabel::colour(m_tone, palette()),
                                            devicePixelRatioF()));
}

} // namespace tessel
