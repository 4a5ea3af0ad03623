// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/AccessibleRole.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QVariant>

namespace tessel {

namespace {
constexpr char kRoleProperty[] = "tesselAccessibleRole";

class RoleButton : public QAccessibleWidget {
public:
    RoleButton(QAbstractButton* button, QAccessible::Role role)
        : QAccessibleWidget(button, role)
    {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        if (!button()->accessibleName().isEmpty())
            return button()->accessibleName();
        if (!button()->text().isEmpty())
            return button()->text();
        return button()->toolTip();
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (role() == QAccessible::PageTab) {
            state.checkable = true;
            state.checked = button()->isChecked();
            state.selectable = true;
            state.selected = button()->isChecked();
        }
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* roleFactory(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(kRoleProperty);
    if (!role.isValid())
        return nullptr;
    const auto accessibleRole = QAccessible::Role(role.toInt());
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        return new RoleButton(button, accessibleRole);
    return new QAccessibleWidget(static_cast<QWidget*>(object), accessibleRole);
}
} // namespace

void setAccessibleRole(QWidget* widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(roleFactory);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kRoleProperty, int(role));
}

} // namespace tessel
