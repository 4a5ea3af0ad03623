// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QAccessibleInterface>
#include <QRegularExpression>
#include <QStringList>
#include <QWidget>

namespace tessel::test {

// What a screen reader meets in one window: the interactive elements it can reach through the
// accessibility tree, how many are named for a person, how many claim a role that misleads, and
// the interactive things painted where the tree does not reach. Each fault is listed in
// `problems` as "<role> '<name>' (<class>): <fault>".
struct AccessibleCensus {
    int exposed = 0;
    int named = 0;
    int wrongRole = 0;
    int notExposed = 0;
    QStringList problems;

    // The role an element of `className` has to have, or -1 when any interactive role does.
    static int requiredRole(const QByteArray& className, const QObject* object)
    {
        if (className == "tessel::TabButton" || className == "tessel::PreferencesTabButton")
            return QAccessible::PageTab;
        // About's links are drawn buttons of no class of their own.
        if (object && object->parent() && object->parent()->inherits("tessel::AboutView") &&
            className == "QAbstractButton")
            return QAccessible::Link;
        return -1;
    }

    static bool isInteractive(QAccessible::Role role)
    {
        switch (role) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::PageTab:
        case QAccessible::Link:
        case QAccessible::ListItem:
        case QAccessible::Cell:
        case QAccessible::Slider:
        case QAccessible::SpinBox:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
            return true;
        default:
            return false;
        }
    }

    // A symbol's or a text's id, a tab's raw value: lower case, no space, ASCII only.
    static bool looksLikeId(const QString& name)
    {
        static const QRegularExpression id(QStringLiteral("^[a-z0-9_.\\-]+$"));
        return id.match(name).hasMatch();
    }

    static bool isLabelled(QAccessibleInterface* node)
    {
        const auto labels = node->relations(QAccessible::Label);
        return !labels.isEmpty() && labels.first().first &&
               !labels.first().first->text(QAccessible::Name).trimmed().isEmpty();
    }

    static QString describe(QAccessibleInterface* node)
    {
        const QObject* object = node->object();
        return QStringLiteral("%1 '%2' (%3)")
            .arg(int(node->role()))
            .arg(node->text(QAccessible::Name),
                 object ? QString::fromLatin1(object->metaObject()->className()) : QString());
    }

    void visit(QAccessibleInterface* node, int depth = 0)
    {
        if (!node || depth > 40 || node->state().invisible)
            return;
        const QAccessible::Role role = node->role();
        const QObject* object = node->object();
        const QByteArray className = object ? QByteArray(object->metaObject()->className()) : "";
        const int required = requiredRole(className, object);
        const bool focusable = object && object->isWidgetType() &&
                               static_cast<const QWidget*>(object)->focusPolicy() != Qt::NoFocus;
        if (isInteractive(role) || required >= 0) {
            ++exposed;
            const QString name = node->text(QAccessible::Name).trimmed();
            // A cell shows the user's own content: any text names it.
            const bool content = role == QAccessible::Cell || role == QAccessible::ListItem;
            // On Linux a combo box is named by its value, and by the label that labels it.
            const bool byValue = role == QAccessible::ComboBox &&
                                 name == node->text(QAccessible::Value).trimmed() &&
                                 !isLabelled(node);
            if (name.isEmpty() || byValue || (!content && looksLikeId(name)))
                problems << describe(node) + QStringLiteral(": not named");
            else
                ++named;
            if (required >= 0 && role != required) {
                ++wrongRole;
                problems << describe(node) + QStringLiteral(": wrong role");
            }
        } else if (focusable && role != QAccessible::List && role != QAccessible::Table) {
            // Takes the keyboard, yet says nothing of what it does.
            ++notExposed;
            problems << describe(node) + QStringLiteral(": focusable, no interactive role");
        }
        for (int i = 0; i < node->childCount(); ++i)
            visit(node->child(i), depth + 1);
    }

    // Walks the window `root` and adds its own role: a window or a dialog.
    void walkWindow(QWidget* root)
    {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(root);
        if (!node) {
            ++notExposed;
            problems << QStringLiteral("window without an interface");
            return;
        }
        if (node->role() != QAccessible::Window && node->role() != QAccessible::Dialog) {
            ++wrongRole;
            problems << describe(node) + QStringLiteral(": window of a wrong role");
        }
        visit(node);
    }

    void add(const AccessibleCensus& other)
    {
        exposed += other.exposed;
        named += other.named;
        wrongRole += other.wrongRole;
        notExposed += other.notExposed;
        problems += other.problems;
    }
};

} // namespace tessel::test
