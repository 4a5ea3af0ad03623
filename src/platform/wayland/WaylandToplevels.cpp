// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandToplevels.h"

#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandRoundtrip.h"

#include <algorithm>
#include <wayland-client.h>
#include <wlr-foreign-toplevel-management-unstable-v1-client-protocol.h>

using namespace Qt::StringLiterals;

namespace tessel::wayland {

namespace {
// Version 2 adds only fullscreen requests; version 3 adds the parent event, not needed here.
constexpr uint32_t kManagerVersion = 2;

void ignoreTitle(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
void ignoreOutput(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
void ignoreParent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}
} // namespace

WaylandToplevels::WaylandToplevels(WaylandConnection& connection, QObject* parent)
    : QObject(parent)
    , m_connection(connection)
{
    static const zwlr_foreign_toplevel_manager_v1_listener listener = {
        .toplevel = &WaylandToplevels::onToplevel,
        .finished = &WaylandToplevels::onFinished,
    };
    m_manager = static_cast<zwlr_foreign_toplevel_manager_v1*>(
        m_connection.bind(QLatin1StringView(zwlr_foreign_toplevel_manager_v1_interface.name),
                          &zwlr_foreign_toplevel_manager_v1_interface, kManagerVersion));
    if (!m_manager)
        return;
    zwlr_foreign_toplevel_manager_v1_add_listener(m_manager, &listener, this);
    // The compositor lists the open windows right away; knowing them before the first question
    // saves answering "none active" to it.
    roundtrip(m_connection.display());
    connect(&m_connection, &WaylandConnection::failed, this, [this] {
        const bool hadActive = m_activeId != 0;
        m_activeId = 0;
        if (hadActive)
            Q_EMIT activeChanged();
    });
}

WaylandToplevels::~WaylandToplevels()
{
    if (m_connection.hasFailed())
        return;
    for (const auto& toplevel : m_toplevels)
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel->handle);
    if (m_manager)
        zwlr_foreign_toplevel_manager_v1_destroy(m_manager);
    m_connection.flush();
}

bool WaylandToplevels::isAvailable() const
{
    return m_manager && !m_connection.hasFailed();
}

quint64 WaylandToplevels::activeId() const
{
    return isAvailable() ? m_activeId : 0;
}

QString WaylandToplevels::appIdOf(quint64 id) const
{
    const Toplevel* toplevel = find(id);
    return toplevel ? toplevel->appId : QString();
}

QStringList WaylandToplevels::appIds() const
{
    QStringList ids;
    for (const auto& toplevel : m_toplevels)
        ids.append(toplevel->appId);
    return ids;
}

bool WaylandToplevels::exists(quint64 id) const
{
    return find(id) != nullptr;
}

bool WaylandToplevels::activate(quint64 id)
{
    const Toplevel* toplevel = find(id);
    wl_seat* seat = isAvailable() ? m_connection.seat() : nullptr;
    if (!toplevel || !seat)
        return false;
    zwlr_foreign_toplevel_handle_v1_activate(toplevel->handle, seat);
    m_connection.flush();
    return !m_connection.hasFailed();
}

const WaylandToplevels::Toplevel* WaylandToplevels::find(quint64 id) const
{
    if (id == 0)
        return nullptr;
    const auto it = std::find_if(m_toplevels.cbegin(), m_toplevels.cend(),
                                 [id](const auto& toplevel) { return toplevel->id == id; });
    return it != m_toplevels.cend() ? it->get() : nullptr;
}

void WaylandToplevels::onToplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                                  zwlr_foreign_toplevel_handle_v1* handle)
{
    static const zwlr_foreign_toplevel_handle_v1_listener listener = {
        .title = &ignoreTitle,
        .app_id = &WaylandToplevels::onAppId,
        .output_enter = &ignoreOutput,
        .output_leave = &ignoreOutput,
        .state = &WaylandToplevels::onState,
        .done = &WaylandToplevels::onDone,
        .closed = &WaylandToplevels::onClosed,
        .parent = &ignoreParent,
    };
    auto* self = static_cast<WaylandToplevels*>(data);
    auto toplevel = std::make_unique<Toplevel>(Toplevel{self, handle, self->m_nextId++, {}, {}});
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &listener, toplevel.get());
    self->m_toplevels.push_back(std::move(toplevel));
}

void WaylandToplevels::onFinished(void* data, zwlr_foreign_toplevel_manager_v1*)
{
    auto* self = static_cast<WaylandToplevels*>(data);
    // The compositor has already destroyed the manager; only our proxy is left.
    zwlr_foreign_toplevel_manager_v1_destroy(self->m_manager);
    self->m_manager = nullptr;
    self->updateActive();
}

void WaylandToplevels::onAppId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId)
{
    static_cast<Toplevel*>(data)->pendingAppId = QString::fromUtf8(appId);
}

void WaylandToplevels::onState(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states)
{
    auto* toplevel = static_cast<Toplevel*>(data);
    const auto* begin = static_cast<const uint32_t*>(states->data);
    const auto* end = begin + states->size / sizeof(uint32_t);
    toplevel->pendingActivated =
        std::find(begin, end, uint32_t(ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED)) != end;
}

void WaylandToplevels::onDone(void* data, zwlr_foreign_toplevel_handle_v1*)
{
    // Changes count once the compositor says the batch is complete.
    auto* toplevel = static_cast<Toplevel*>(data);
    toplevel->appId = toplevel->pendingAppId;
    toplevel->activated = toplevel->pendingActivated;
    toplevel->owner->updateActive();
}

void WaylandToplevels::onClosed(void* data, zwlr_foreign_toplevel_handle_v1* handle)
{
    auto* toplevel = static_cast<Toplevel*>(data);
    WaylandToplevels* self = toplevel->owner;
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
    self->remove(toplevel);
    self->updateActive();
}

void WaylandToplevels::remove(const Toplevel* toplevel)
{
    std::erase_if(m_toplevels, [toplevel](const auto& t) { return t.get() == toplevel; });
}

void WaylandToplevels::updateActive()
{
    quint64 active = 0;
    if (m_manager) {
        for (const auto& toplevel : m_toplevels) {
            if (toplevel->activated)
                active = toplevel->id;
        }
    }
    if (active == m_activeId)
        return;
    m_activeId = active;
    Q_EMIT activeChanged();
}

} // namespace tessel::wayland
