// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandGlobalsProbe.h"

#include "platform/wayland/WaylandRoundtrip.h"

#include <memory>
#include <wayland-client.h>

namespace tessel::wayland {

namespace {
struct DisplayDeleter {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};
struct RegistryDeleter {
    void operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
};

void onGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t)
{
    static_cast<QStringList*>(data)->append(QString::fromLatin1(interface));
}

void onGlobalRemove(void*, wl_registry*, uint32_t) {}

constexpr wl_registry_listener kListener{onGlobal, onGlobalRemove};
} // namespace

QStringList probeWaylandGlobals()
{
    // A socket named relative to a runtime folder that is not set cannot be reached, and
    // libwayland would say so on standard error before failing.
    if (!qEnvironmentVariable("WAYLAND_DISPLAY").startsWith(u'/') &&
        qEnvironmentVariableIsEmpty("WAYLAND_SOCKET") &&
        qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return {};
    const std::unique_ptr<wl_display, DisplayDeleter> display(wl_display_connect(nullptr));
    if (!display)
        return {};
    QStringList globals;
    const std::unique_ptr<wl_registry, RegistryDeleter> registry(
        wl_display_get_registry(display.get()));
    if (!registry || wl_registry_add_listener(registry.get(), &kListener, &globals) != 0)
        return {};
    // The compositor announces every global before it answers the round trip; one that lets
    // clients in and then says nothing counts as none.
    if (!roundtrip(display.get()))
        return {};
    const QStringList ignored =
        qEnvironmentVariable("TESSEL_WAYLAND_IGNORE_GLOBALS").split(u',', Qt::SkipEmptyParts);
    for (const QString& name : ignored)
        globals.removeAll(name.trimmed());
    return globals;
}

} // namespace tessel::wayland
