// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/ReturnPressesButtons.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QRadioButton>

namespace tessel {

namespace {
class ReturnFilter : public QObject {
public:
    explicit ReturnFilter(QWidget* window)
        : QObject(window)
        , m_window(window)
    {
        // Keys go to the focused widget, which may be any descendant: only the application sees
        // them all first.
        qApp->installEventFilter(this);
    }
    ~ReturnFilter() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || button->window() != m_window || qobject_cast<QCheckBox*>(button) ||
            qobject_cast<QRadioButton*>(button) || QWidget::keyboardGrabber() == button ||
            !button->isEnabled())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        button->click();
        return true;
    }

private:
    QWidget* m_window;
};
} // namespace

void letReturnPressButtons(QWidget* window)
{
    new ReturnFilter(window);
}

} // namespace tessel
