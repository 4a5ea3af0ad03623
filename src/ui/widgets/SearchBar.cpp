// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/SearchBar.h"

#include "ui/style/IconProvider.h"
#include "ui/style/Theme.h"
#include "ui/style/UiFonts.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
constexpr int kOuterH = 10;
constexpr int kOuterV = 6;
} // namespace

SearchBar::SearchBar(const QString& placeholder, const QString& text, QWidget* parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(text, this))
    , m_glass(new QLabel(this))
{
    paintGlass();
    m_edit->setPlaceholderText(placeholder);
    m_edit->setFrame(false);
    m_edit->setFont(uiFont(12));
    // The field shows the bar's fill through it. A palette rather than a style sheet: a style
    // sheet would give the field the application's text colours instead of its window's.
    QPalette clear;
    clear.setColor(QPalette::Base, Qt::transparent);
    m_edit->setPalette(clear);
    m_edit->setClearButtonEnabled(true);
    m_edit->setAccessibleName(placeholder);
    connect(m_edit, &QLineEdit::textChanged, this, &SearchBar::textChanged);
    setFocusProxy(m_edit);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kOuterH + 10, kOuterV + 7, kOuterH + 10, kOuterV + 7);
    layout->setSpacing(8);
    layout->addWidget(m_glass);
    layout->addWidget(m_edit, 1);
}

void SearchBar::setClearButtonName(const QString& name)
{
    // Qt's own clear button shows the text of the action it stands for.
    for (QAction* action : m_edit->findChildren<QAction*>()) {
        if (action->objectName() == u"_q_qlineeditclearaction"_s)
            action->setText(name);
    }
}

void SearchBar::paintGlass()
{
    m_glass->setPixmap(IconProvider::pixmap(u"magnifyingglass"_s, 12, Theme::secondary(palette()),
                                            devicePixelRatioF()));
}

void SearchBar::changeEvent(QEvent* event)
{
    // Built before it joins the popup: the glass takes the colour of each new palette.
    if (event->type() == QEvent::PaletteChange)
        paintGlass();
    QWidget::changeEvent(event);
}

void SearchBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF field =
        QRectF(rect()).adjusted(kOuterH + 0.25, kOuterV + 0.25, -kOuterH - 0.25, -kOuterV - 0.25);
    painter.setBrush(Theme::withOpacity(Theme::primary(palette()), 0.05));
    painter.setPen(QPen(Theme::withOpacity(Theme::primary(palette()), 0.10), 0.5));
    painter.drawRoundedRect(field, 8, 8);
}

} // namespace tessel
