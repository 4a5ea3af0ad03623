// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandDataControl.h"

#include "clipboard/TargetList.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandDataControlPipe.h"
#include "platform/wayland/WaylandRoundtrip.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <utility>
#include <wayland-client.h>

namespace tessel::wayland {

struct WaylandDataControl::Listeners {
    static void dataOffer(void* data, zwlr_data_control_device_v1*,
                          zwlr_data_control_offer_v1* offer)
    {
        static_cast<WaylandDataControl*>(data)->offerIntroduced(offer);
    }
    static void selection(void* data, zwlr_data_control_device_v1*,
                          zwlr_data_control_offer_v1* offer)
    {
        static_cast<WaylandDataControl*>(data)->selectionAnnounced(offer);
    }
    static void finished(void* data, zwlr_data_control_device_v1* device)
    {
        auto* self = static_cast<WaylandDataControl*>(data);
        qWarning("tessel: the compositor ended clipboard access; no further copies are recorded");
        zwlr_data_control_device_v1_destroy(device);
        self->m_device = nullptr;
    }
    static void primarySelection(void* data, zwlr_data_control_device_v1*,
                                 zwlr_data_control_offer_v1* offer)
    {
        auto* self = static_cast<WaylandDataControl*>(data);
        self->m_awaitingSelection.stop();
        if (offer) {
            self->m_offers.remove(offer);
            zwlr_data_control_offer_v1_destroy(offer);
        }
    }
    static void offerMimeType(void* data, zwlr_data_control_offer_v1* offer, const char* mimeType)
    {
        auto* self = static_cast<WaylandDataControl*>(data);
        const auto it = self->m_offers.find(offer);
        if (it == self->m_offers.end())
            return;
        // A list of 100,000 types costs no more than one of TargetList::maxTargets.
        if (++it->heard <= TargetList::maxTargets)
            it->types.append(QString::fromUtf8(mimeType));
        else if (it->heard == TargetList::maxTargets + 1)
            Q_EMIT self->deliverySuspect();
    }
    static void send(void* data, zwlr_data_control_source_v1* source, const char* mimeType,
                     int32_t fd)
    {
        static_cast<WaylandDataControl*>(data)->sendRequested(source, QString::fromUtf8(mimeType),
                                                              fd);
    }
    static void cancelled(void* data, zwlr_data_control_source_v1* source)
    {
        static_cast<WaylandDataControl*>(data)->sourceCancelled(source);
    }

    static constexpr zwlr_data_control_device_v1_listener device{&dataOffer, &selection, &finished,
                                                                 &primarySelection};
    static constexpr zwlr_data_control_offer_v1_listener offer{&offerMimeType};
    static constexpr zwlr_data_control_source_v1_listener source{&send, &cancelled};
};

std::unique_ptr<WaylandDataControl> WaylandDataControl::create(WaylandConnection& connection,
                                                               std::chrono::milliseconds timeout)
{
    if (!connection.seat() || !connection.dataControlManager())
        return nullptr;
    auto* device = zwlr_data_control_manager_v1_get_data_device(connection.dataControlManager(),
                                                                connection.seat());
    std::unique_ptr<WaylandDataControl> control(new WaylandDataControl(connection, device));
    // The compositor answers a new device with the current selection: take it as the baseline.
    if (!roundtrip(connection.display(), timeout))
        return nullptr;
    control->m_baselineSeen = true;
    return control;
}

WaylandDataControl::WaylandDataControl(WaylandConnection& connection,
                                       zwlr_data_control_device_v1* device)
    : m_connection(connection)
    , m_device(device)
{
    m_producers.setMaxThreadCount(1);
    zwlr_data_control_device_v1_add_listener(m_device, &Listeners::device, this);
    m_awaitingSelection.setSingleShot(true);
    m_awaitingSelection.setInterval(selectionWait);
    connect(&m_awaitingSelection, &QTimer::timeout, this, &WaylandDataControl::deliverySuspect);
}

WaylandDataControl::~WaylandDataControl()
{
    m_producers.clear();
    m_producers.waitForDone();
    for (auto* offer : m_offers.keys())
        zwlr_data_control_offer_v1_destroy(offer);
    if (m_current)
        zwlr_data_control_offer_v1_destroy(m_current);
    for (auto* source : m_sources.keys())
        zwlr_data_control_source_v1_destroy(source);
    if (m_device)
        zwlr_data_control_device_v1_destroy(m_device);
    m_connection.flush();
}

void WaylandDataControl::offerIntroduced(zwlr_data_control_offer_v1* offer)
{
    m_awaitingSelection.start();
    m_offers.insert(offer, {});
    zwlr_data_control_offer_v1_add_listener(offer, &Listeners::offer, this);
}

void WaylandDataControl::selectionAnnounced(zwlr_data_control_offer_v1* offer)
{
    m_awaitingSelection.stop();
    if (m_current)
        zwlr_data_control_offer_v1_destroy(m_current);
    m_current = offer;
    const QStringList mimeTypes = m_offers.take(offer).types;
    m_currentTypes = mimeTypes;
    // Offers introduced for nothing (a selection replaced before it was announced) are done.
    for (auto* stale : m_offers.keys())
        zwlr_data_control_offer_v1_destroy(stale);
    m_offers.clear();

    // While our source is live, the selection announced is ours: a selection set by another
    // client cancels our source first.
    if (!m_baselineSeen || m_ownSource || !m_handler)
        return;
    m_handler(offer ? std::optional(mimeTypes) : std::nullopt);
}

void WaylandDataControl::reportCurrentSelection()
{
    if (m_current && !m_ownSource && m_handler)
        m_handler(m_currentTypes);
}

int WaylandDataControl::receive(const QString& mimeType)
{
    if (!m_current || m_ownSource)
        return -1;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) < 0)
        return -1;
    zwlr_data_control_offer_v1_receive(m_current, mimeType.toUtf8().constData(), fds[1]);
    // The request carries a duplicate of the write end; ours must go, or the read never ends.
    ::close(fds[1]);
    m_connection.flush();
    return fds[0];
}

void WaylandDataControl::setSelection(Contents contents)
{
    if (!m_device)
        return;
    auto* source =
        zwlr_data_control_manager_v1_create_data_source(m_connection.dataControlManager());
    zwlr_data_control_source_v1_add_listener(source, &Listeners::source, this);
    for (const PasteboardValue& value : contents)
        zwlr_data_control_source_v1_offer(source, value.type.toUtf8().constData());
    m_sources.insert(source, std::move(contents));
    m_ownSource = source;
    zwlr_data_control_device_v1_set_selection(m_device, source);
    m_connection.flush();
}

void WaylandDataControl::sendRequested(zwlr_data_control_source_v1* source, const QString& mimeType,
                                       int fd)
{
    const auto it = m_sources.constFind(source);
    if (it != m_sources.cend()) {
        for (const PasteboardValue& value : *it) {
            if (value.type != mimeType)
                continue;
            if (!value.isDeferred()) {
                PipeWriter::start(fd, value.bytes, sendTimeout, this);
                return;
            }
            // Made away from the event loop (converting a large image takes a while), then written
            // from it. Should this object go first, the pending answer goes with it, and the
            // descriptor is closed with the answer.
            auto pipe = std::shared_ptr<int>(new int(fd), [](int* owned) {
                if (*owned >= 0)
                    ::close(*owned);
                delete owned;
            });
            m_producers.start([this, producer = value.producer, pipe] {
                QByteArray bytes = producer().value_or(QByteArray());
                QMetaObject::invokeMethod(
                    this,
                    [this, pipe, bytes = std::move(bytes)] {
                        PipeWriter::start(std::exchange(*pipe, -1), bytes, sendTimeout, this);
                    },
                    Qt::QueuedConnection);
            });
            return;
        }
    }
    ::close(fd);
}

void WaylandDataControl::sourceCancelled(zwlr_data_control_source_v1* source)
{
    m_sources.remove(source);
    zwlr_data_control_source_v1_destroy(source);
    if (m_ownSource == source) {
        m_ownSource = nullptr;
        Q_EMIT selectionLost();
    }
}

} // namespace tessel::wayland
