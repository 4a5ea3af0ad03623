// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandRoundtrip.h"

#include <QDeadlineTimer>
#include <cerrno>
#include <poll.h>
#include <wayland-client.h>

namespace tessel::wayland {

namespace {
// Waits for `events` on the display's socket; false at the deadline.
bool waitFor(wl_display* display, short events, const QDeadlineTimer& deadline)
{
    for (;;) {
        pollfd p{wl_display_get_fd(display), events, 0};
        const int ready = ::poll(&p, 1, int(std::max<qint64>(deadline.remainingTime(), 0)));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

void onDone(void* data, wl_callback*, uint32_t)
{
    *static_cast<bool*>(data) = true;
}
constexpr wl_callback_listener kListener{&onDone};
} // namespace

bool roundtrip(wl_display* display, std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    bool done = false;
    wl_callback* callback = wl_display_sync(display);
    if (!callback)
        return false;
    wl_callback_add_listener(callback, &kListener, &done);
    bool ok = true;
    while (ok && !done) {
        while (wl_display_flush(display) < 0) {
            if (errno != EAGAIN || !waitFor(display, POLLOUT, deadline)) {
                ok = false;
                break;
            }
        }
        if (!ok)
            break;
        if (wl_display_prepare_read(display) != 0) {
            ok = wl_display_dispatch_pending(display) >= 0;
            continue;
        }
        if (!waitFor(display, POLLIN, deadline)) {
            wl_display_cancel_read(display);
            ok = false;
            break;
        }
        ok = wl_display_read_events(display) >= 0 && wl_display_dispatch_pending(display) >= 0;
    }
    // Only our proxy is freed: an answer that comes later finds no listener.
    wl_callback_destroy(callback);
    return ok && done;
}

} // namespace tessel::wayland
