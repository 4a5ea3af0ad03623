// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/ui/ContrastProbe.h"
#include "gui/ui/PaintedTexts.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QToolButton>

namespace tessel::test {

// What a user would find wrong in a window as it shows, measured in what it paints: a text that
// does not read on its background (4.5:1, 3:1 for large text), is cut by its widget or the
// window, is drawn much smaller than the desktop's font, or does not fit the label, button or
// drop-down list that holds it; a widget outside its window or under a scroll bar; a check box
// whose outline does not stand out (3:1); a window not in the colours of its theme or reaching off
// its screen.
class ViewInspector {
public:
    explicit ViewInspector(bool dark)
        : m_dark(dark)
    {}

    void inspect(const QString& where, QWidget* window)
    {
        m_where = where;
        // As the user sees it: after the layouts that the last change asked for.
        QCoreApplication::processEvents();
        const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        m_scale = image.devicePixelRatio();
        if ((dominant(image, image.rect()).lightness() < 128) != m_dark)
            fail(QStringLiteral("window not in its theme's colours"));
        if (const QScreen* screen = window->screen();
            screen && !screen->availableGeometry().contains(window->frameGeometry()))
            fail(QStringLiteral("window reaches off the screen"));
        for (const PaintedText& text : paintedTexts(window))
            inspectText(window, image, text);
        const auto widgets = window->findChildren<QWidget*>();
        for (QWidget* widget : widgets) {
            if (widget->isVisibleTo(window) && !widget->isWindow())
                inspectWidget(window, image, widget);
        }
    }

    const QStringList& problems() const { return m_problems; }
    int measuredTexts() const { return m_measured; }

private:
    void fail(const QString& what) { m_problems << m_where + QStringLiteral(": ") + what; }

    // The scroll area whose viewport holds `widget` (or is it), if any.
    static const QAbstractScrollArea* scrollAreaOf(const QWidget* widget)
    {
        for (const QWidget* w = widget; w; w = w->parentWidget()) {
            const auto* area = qobject_cast<const QAbstractScrollArea*>(w->parentWidget());
            if (area && area->viewport() == w)
                return area;
        }
        return nullptr;
    }

    static qreal pixelSize(const QFont& font)
    {
        return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
    }

    QRect devicePixels(const QRectF& logical) const
    {
        return QRectF(logical.topLeft() * m_scale, logical.size() * m_scale).toAlignedRect();
    }

    void inspectText(QWidget* window, const QImage& image, const PaintedText& painted)
    {
        if (painted.text.trimmed().isEmpty())
            return;
        QWidget* widget = painted.widget ? painted.widget.data() : window;
        const QString what =
            QStringLiteral("\"%1\" (%2)")
                .arg(painted.text, QString::fromLatin1(widget->metaObject()->className()));
        // Scrolled content may leave its viewport at the top and bottom, never at the sides.
        const bool scrolled = scrollAreaOf(widget) != nullptr;
        const QRectF shown = painted.rect & painted.drawable & QRectF(window->rect());
        // Scrolled out of sight altogether.
        if (shown.isEmpty() && scrolled)
            return;
        const bool cutAcross =
            painted.rect.left() < shown.left() - 1 || painted.rect.right() > shown.right() + 1;
        const bool cutAlong =
            painted.rect.top() < shown.top() - 1 || painted.rect.bottom() > shown.bottom() + 1;
        if (cutAcross || (cutAlong && !scrolled))
            fail(what + QStringLiteral(" cut: drawn at %1,%2 %3x%4, room for %5,%6 %7x%8")
                            .arg(painted.rect.x())
                            .arg(painted.rect.y())
                            .arg(painted.rect.width())
                            .arg(painted.rect.height())
                            .arg(shown.x())
                            .arg(shown.y())
                            .arg(shown.width())
                            .arg(shown.height()));
        const qreal desktop = pixelSize(QApplication::font());
        if (pixelSize(painted.font) < 0.7 * desktop)
            fail(what + QStringLiteral(" drawn at %1 px beside a desktop font of %2 px")
                            .arg(pixelSize(painted.font))
                            .arg(desktop));
        // Contrast where the text shows: not under another widget, nor disabled (exempt).
        if (shown.isEmpty() || !widget->isEnabled())
            return;
        const QWidget* top = window->childAt(shown.center().toPoint());
        if (top && top != widget && !widget->isAncestorOf(top))
            return;
        // The text's own colour on the background the pixels show around it.
        const QColor background = dominant(image, devicePixels(shown));
        const Reading reading{
            background, Theme::contrast(Theme::composite(painted.colour, background), background)};
        const bool large = pixelSize(painted.font) >= 24 ||
                           (pixelSize(painted.font) >= 18.5 && painted.font.bold());
        if (reading.contrast < (large ? 3.0 : 4.5))
            fail(describe(what + QStringLiteral(" in ") + painted.colour.name(QColor::HexArgb) +
                              QStringLiteral(" at %1,%2 %3x%4")
                                  .arg(shown.x())
                                  .arg(shown.y())
                                  .arg(shown.width())
                                  .arg(shown.height()),
                          reading));
        ++m_measured;
    }

    void inspectWidget(QWidget* window, const QImage& image, QWidget* widget)
    {
        const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
        const QString what = QString::fromLatin1(widget->metaObject()->className()) +
                             QStringLiteral(" ") + widget->objectName();
        if (const QAbstractScrollArea* area = scrollAreaOf(widget)) {
            // A page's controls stay beside the scroll bar, and no wider than the area.
            const QWidget* viewport = area->viewport();
            int right = viewport->mapTo(window, QPoint(viewport->width(), 0)).x();
            const auto bars = area->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly);
            for (const QScrollBar* bar : bars) {
                if (bar->isVisibleTo(window) && bar->orientation() == Qt::Vertical &&
                    bar != area->verticalScrollBar())
                    right = std::min(right, bar->mapTo(window, QPoint(0, 0)).x());
            }
            const int left = viewport->mapTo(window, QPoint(0, 0)).x();
            if (widget != viewport && qobject_cast<const QAbstractScrollArea*>(widget) == nullptr &&
                widget->parentWidget() != viewport &&
                (inWindow.left() < left || inWindow.right() >= right))
                fail(what + QStringLiteral(" reaches past its page or under its scroll bar"));
        } else if (!window->rect().contains(inWindow)) {
            fail(what + QStringLiteral(" reaches outside its window"));
        }
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty()) {
            const bool fits = label->wordWrap()
                                  ? label->height() >= label->heightForWidth(label->width())
                                  : label->width() >= label->minimumSizeHint().width() &&
                                        label->height() >= label->minimumSizeHint().height();
            if (!fits)
                fail(QStringLiteral("label \"%1\" smaller than its text").arg(label->text()));
        }
        // A button that shows only its icon keeps its text for screen readers.
        const auto* tool = qobject_cast<QToolButton*>(widget);
        if (auto* button = qobject_cast<QAbstractButton*>(widget);
            button && !button->text().isEmpty() &&
            !(tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)) {
            QSize needed = button->minimumSizeHint();
            if (!needed.isValid())
                needed = button->sizeHint();
            if (button->width() < needed.width() || button->height() < needed.height())
                fail(QStringLiteral("button \"%1\" smaller than its text").arg(button->text()));
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            const QFontMetrics metrics(combo->font());
            if (field.width() < metrics.horizontalAdvance(combo->currentText()) + 2 ||
                field.height() < metrics.height())
                fail(QStringLiteral("drop-down list \"%1\" cut").arg(combo->currentText()));
        }
        if (auto* box = qobject_cast<QCheckBox*>(widget))
            inspectOutline(image, box, inWindow.topLeft());
    }

    // The outline of a check box's indicator against the surface around it.
    void inspectOutline(const QImage& image, QCheckBox* box, QPoint origin)
    {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator =
            box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        const QColor surface =
            dominant(image, devicePixels(QRectF(box->rect().translated(origin))));
        const QRect edge = devicePixels(QRectF(indicator.translated(origin)));
        double outline = 1;
        for (int x = edge.left(); x <= edge.right(); ++x) {
            for (int y : {edge.top(), edge.top() + 1})
                outline = std::max(outline, Theme::contrast(QColor(image.pixel(x, y)), surface));
        }
        if (outline < 3.0)
            fail(QStringLiteral("check box \"%1\" outline at %2:1").arg(box->text()).arg(outline));
    }

    bool m_dark;
    QString m_where;
    qreal m_scale = 1;
    QStringList m_problems;
    int m_measured = 0;
};

} // namespace tessel::test
