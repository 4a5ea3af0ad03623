// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/ReturnPressesButtons.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QKeyEvent>
#include <QRadioButton>

namespace tessel {

namespace {
// A button leaves Return unhandled, so the key travels up to its window: watching the window
// alone sees it, without a filter on every event of the application.
class ReturnFilter : public QObject {
public:
    explicit ReturnFilter(QWidget* window)
        : QObject(window)
        , m_window(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_window || event->type() != QEvent::KeyPress)
            return false;
        return pressButtonOnReturn(m_window->focusWidget(), *static_cast<QKeyEvent*>(event));
    }

private:
    QWidget* m_window;
};
} // namespace

bool pressButtonOnReturn(QWidget* widget, const QKeyEvent& key)
{
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (!button || qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button) ||
        QWidget::keyboardGrabber() == button || !button->isEnabled())
        return false;
    if ((key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) ||
        (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    button->click();
    return true;
}

void letReturnPressButtons(QWidget* window)
{
    new ReturnFilter(window);
}

} // namespace tessel
