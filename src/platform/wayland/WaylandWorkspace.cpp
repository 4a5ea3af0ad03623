// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandWorkspace.h"

#include "platform/wayland/WaylandToplevels.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcWorkspace, "tessel.workspace", QtInfoMsg)

namespace tessel::wayland {

WaylandWorkspace::WaylandWorkspace(WaylandToplevels* toplevels,
                                   std::function<bool(const QString&)> isOwnWindow)
    : m_toplevels(toplevels)
    , m_isOwnWindow(std::move(isOwnWindow))
{}

bool WaylandWorkspace::available() const
{
    if (m_toplevels && m_toplevels->isAvailable())
        return true;
    if (!m_saidUnavailable) {
        m_saidUnavailable = true;
        qCInfo(lcWorkspace,
               "the compositor does not say which application is active "
               "(no zwlr_foreign_toplevel_manager_v1): password managers are recognised by the "
               "hints on what they copy only");
    }
    return false;
}

QString WaylandWorkspace::frontmostApplicationId() const
{
    if (!available())
        return {};
    return m_toplevels->appIdOf(m_toplevels->activeId());
}

void WaylandWorkspace::rememberActiveWindow()
{
    if (!available())
        return;
    const quint64 active = m_toplevels->activeId();
    // Over a window of Tessel's own (the popup opened again on another tab, before the compositor
    // has handed the keyboard back) the window to return to stays the one remembered before.
    if (active != 0 && m_isOwnWindow(m_toplevels->appIdOf(active)))
        return;
    m_remembered = active;
}

bool WaylandWorkspace::restoreFocus()
{
    if (!available() || !m_toplevels->exists(m_remembered))
        return false;
    const quint64 active = m_toplevels->activeId();
    if (active == m_remembered || (active != 0 && !m_isOwnWindow(m_toplevels->appIdOf(active))))
        return false;
    return m_toplevels->activate(m_remembered);
}

QStringList WaylandWorkspace::focusedApplicationIds() const
{
    if (!available())
        return {};
    quint64 window = m_toplevels->activeId();
    if (window == 0 || m_isOwnWindow(m_toplevels->appIdOf(window)))
        window = m_remembered;
    const QString appId = m_toplevels->appIdOf(window);
    return appId.isEmpty() ? QStringList() : QStringList{appId};
}

QStringList WaylandWorkspace::runningApplicationIds() const
{
    if (!available())
        return {};
    QStringList ids;
    for (const QString& appId : m_toplevels->appIds()) {
        if (!appId.isEmpty() && !ids.contains(appId) && !m_isOwnWindow(appId))
            ids.append(appId);
    }
    return ids;
}

} // namespace tessel::wayland
