// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/PopupAccessibility.h"

#include "window/PopupWindow.h"

#include <QAccessibleObject>
#include <QApplication>

namespace tessel {

namespace {
// The popup windows on screen, in the order Qt lists its top-level widgets.
QList<QWidget*> shownPopups()
{
    QList<QWidget*> popups;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (qobject_cast<PopupWindow*>(window) && window->windowType() == Qt::Popup &&
            window->isVisible())
            popups.append(window);
    }
    return popups;
}

class Application : public QAccessibleApplication {
public:
    int childCount() const override
    {
        return QAccessibleApplication::childCount() + int(shownPopups().size());
    }

    QAccessibleInterface* child(int index) const override
    {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows)
            return QAccessibleApplication::child(index);
        const QList<QWidget*> popups = shownPopups();
        return index - windows < popups.size()
                   ? QAccessible::queryAccessibleInterface(popups.at(index - windows))
                   : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (const int index = QAccessibleApplication::indexOfChild(child); index >= 0)
            return index;
        const QObject* object = child ? child->object() : nullptr;
        const QList<QWidget*> popups = shownPopups();
        for (int i = 0; i < popups.size(); ++i) {
            if (popups.at(i) == object)
                return QAccessibleApplication::childCount() + i;
        }
        return -1;
    }

    QAccessibleInterface* focusChild() const override
    {
        // The popup holds the keyboard while it is open, whichever window the system calls active.
        QWidget* popup = QApplication::activePopupWidget();
        if (popup && shownPopups().contains(popup))
            return QAccessible::queryAccessibleInterface(popup);
        return QAccessibleApplication::focusChild();
    }
};

QAccessibleInterface* applicationFactory(const QString&, QObject* object)
{
    if (!object || object != QCoreApplication::instance() || !qobject_cast<QApplication*>(object))
        return nullptr;
    return new Application;
}
} // namespace

void installPopupAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(applicationFactory);
        // Qt's own interface for the application may be made already, when a screen reader's bus
        // asked for it at start-up: it gives way to ours.
        QAccessibleInterface* current = QAccessible::queryAccessibleInterface(qApp);
        if (current && !dynamic_cast<Application*>(current))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(current));
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace tessel
