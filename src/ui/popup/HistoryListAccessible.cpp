// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/HistoryListAccessible.h"

#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ClipboardListView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QItemSelectionModel>
#include <QListView>
#include <QPointer>
#include <optional>

namespace tessel {

namespace {
using RowAction = ClipboardListView::RowAction;

// The names screen readers see for pinning and deleting; the other two are Qt's own.
const QString& pinAction()
{
    static const QString name = QStringLiteral("pin");
    return name;
}
const QString& deleteAction()
{
    static const QString name = QStringLiteral("delete");
    return name;
}

class HistoryRow : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    HistoryRow(ClipboardListView* history, int row)
        : m_history(history)
        , m_row(row)
    {}

    bool isValid() const override { return liveHistory() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        const ClipboardListView* history = m_history.data();
        return history ? history->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        const ClipboardListView* history = m_history.data();
        return history ? QAccessible::queryAccessibleInterface(history->listView()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QString text(QAccessible::Text kind) const override
    {
        const ClipboardListView* history = liveHistory();
        if (!history)
            return {};
        const QModelIndex index = history->model()->index(m_row, 0);
        if (kind == QAccessible::Name)
            return index.data(Qt::AccessibleTextRole).toString();
        if (kind == QAccessible::Description)
            return index.data(Qt::AccessibleDescriptionRole).toString();
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        const ClipboardListView* history = liveHistory();
        if (!history)
            return {};
        const QListView* list = history->listView();
        const QRect local = list->visualRect(history->model()->index(m_row, 0));
        return QRect(list->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = true;
        state.focusable = true;
        const ClipboardListView* history = liveHistory();
        if (!history) {
            state.invalid = true;
            return state;
        }
        const QListView* list = history->listView();
        const QModelIndex index = history->model()->index(m_row, 0);
        // The keyboard selection is where the popup's keys act: the row a screen reader is on.
        state.selected = list->selectionModel()->isSelected(index);
        state.focused = state.selected;
        state.invisible = !list->viewport()->rect().intersects(list->visualRect(index));
        state.offscreen = state.invisible;
        return state;
    }

    QStringList actionNames() const override
    {
        return {pressAction(), pinAction(), deleteAction(), showMenuAction()};
    }
    QString localizedActionName(const QString& name) const override
    {
        const ClipboardListView* history = liveHistory();
        const std::optional<RowAction> action = actionFor(name);
        const QString text = history && action ? history->actionText(*action, m_row) : QString();
        return text.isEmpty() ? QAccessibleActionInterface::localizedActionName(name) : text;
    }
    QString localizedActionDescription(const QString& name) const override
    {
        return localizedActionName(name);
    }
    void doAction(const QString& name) override
    {
        ClipboardListView* history = liveHistory();
        if (const std::optional<RowAction> action = actionFor(name); history && action)
            history->perform(*action, m_row);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    static std::optional<RowAction> actionFor(const QString& name)
    {
        if (name == pressAction())
            return RowAction::choose;
        if (name == pinAction())
            return RowAction::pin;
        if (name == deleteAction())
            return RowAction::remove;
        if (name == showMenuAction())
            return RowAction::menu;
        return std::nullopt;
    }

    // The history while it lives and still shows this row; read once, so that the optimiser can
    // see the check and the use are of the same pointer.
    ClipboardListView* liveHistory() const
    {
        ClipboardListView* history = m_history.data();
        return history && m_row >= 0 && m_row < history->model()->rowCount() ? history : nullptr;
    }

    QPointer<ClipboardListView> m_history;
    int m_row;
};

class HistoryList : public QAccessibleWidget {
public:
    HistoryList(QListView* list, ClipboardListView* history)
        : QAccessibleWidget(list, QAccessible::List)
        , m_history(history)
    {}
    ~HistoryList() override
    {
        for (QAccessible::Id id : std::as_const(m_rows))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override
    {
        const ClipboardListView* history = m_history.data();
        return history ? history->model()->rowCount() : 0;
    }
    QAccessibleInterface* child(int index) const override
    {
        ClipboardListView* history = m_history.data();
        if (!history || index < 0 || index >= history->model()->rowCount())
            return nullptr;
        if (const auto found = m_rows.constFind(index); found != m_rows.cend()) {
            if (QAccessibleInterface* row = QAccessible::accessibleInterface(*found))
                return row;
        }
        auto* row = new HistoryRow(history, index);
        m_rows.insert(index, QAccessible::registerAccessibleInterface(row));
        return row;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key() < childCount() ? it.key() : -1;
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const auto* list = static_cast<const QListView*>(widget());
        const QModelIndex index = list->indexAt(list->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(index.row()) : nullptr;
    }

private:
    QPointer<ClipboardListView> m_history;
    // The rows made so far, by row; a row reads the model live.
    mutable QHash<int, QAccessible::Id> m_rows;
};

QAccessibleInterface* historyListFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String("QListView") || !object)
        return nullptr;
    auto* history = qobject_cast<ClipboardListView*>(object->parent());
    auto* list = static_cast<QListView*>(object);
    if (!history || history->listView() != list)
        return nullptr;
    return new HistoryList(list, history);
}
} // namespace

void installHistoryListAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(historyListFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace tessel
