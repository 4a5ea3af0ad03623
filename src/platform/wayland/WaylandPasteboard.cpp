// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandPasteboard.h"

#include "clipboard/PasteboardTypes.h"
#include "clipboard/TargetList.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandDataControl.h"
#include "platform/wayland/WaylandDataControlReader.h"

#include <csignal>

using namespace Qt::StringLiterals;

namespace tessel::wayland {

namespace {
// How long keeping contents waits for the compositor before it gives up.
constexpr std::chrono::milliseconds kKeepSyncTimeout{1000};
} // namespace

std::unique_ptr<WaylandPasteboard> WaylandPasteboard::create(OpenConnection open,
                                                             ActiveApplication activeApplication)
{
    // A client that closes its end of a pipe while we still write into it must cost that one
    // transfer (EPIPE), not the process.
    std::signal(SIGPIPE, SIG_IGN);
    std::unique_ptr<WaylandPasteboard> pasteboard(
        new WaylandPasteboard(std::move(open), std::move(activeApplication)));
    if (!pasteboard->attach(roundtripTimeout))
        return nullptr;
    return pasteboard;
}

WaylandPasteboard::WaylandPasteboard(OpenConnection open, ActiveApplication activeApplication)
    : m_open(std::move(open))
    , m_reader(std::make_unique<WaylandDataControlReader>(m_handOver,
                                                          WaylandDataControlReader::Options{}))
    , m_activeApplication(std::move(activeApplication))
{
    m_handOver.setHandler([this](const ClipboardSnapshot& snapshot) {
        m_last = snapshot;
        if (m_handler)
            m_handler(snapshot);
    });
    m_reopen.setSingleShot(true);
    connect(&m_reopen, &QTimer::timeout, this, &WaylandPasteboard::reopen);
}

// The reader and the data device use the connection: they go first.
WaylandPasteboard::~WaylandPasteboard()
{
    m_reader.reset();
    m_control.reset();
    m_connection.reset();
}

bool WaylandPasteboard::attach(std::chrono::milliseconds timeout)
{
    auto connection = m_open ? m_open(timeout) : nullptr;
    if (!connection || !connection->dataControlManager() || !connection->seat())
        return false;
    auto control = WaylandDataControl::create(*connection, timeout);
    if (!control)
        return false;
    m_connection = std::move(connection);
    m_control = std::move(control);
    m_attached.start();
    const quint64 generation = ++m_generation;
    m_control->setSelectionHandler([this](const std::optional<QStringList>& mimeTypes) {
        const QString applicationId = m_activeApplication ? m_activeApplication() : QString();
        // Data-control cannot tell a client that empties the selection from one whose source
        // went away (it quit): both are taken as the source gone.
        if (!mimeTypes) {
            m_reader->sourceGone(applicationId);
            return;
        }
        m_reader->selectionChanged(
            *mimeTypes,
            [this](const QString& mimeType) {
                return m_control ? m_control->receive(mimeType) : -1;
            },
            applicationId);
    });
    // Queued: both come from inside the connection's dispatch, which must not lose its
    // connection under it; a report about a connection since replaced is old news.
    connect(
        m_connection.get(), &WaylandConnection::failed, this,
        [this, generation] {
            if (generation == m_generation)
                connectionLost("it closed the connection");
        },
        Qt::QueuedConnection);
    connect(m_control.get(), &WaylandDataControl::deliverySuspect, this,
            &WaylandPasteboard::checkDelivery, Qt::QueuedConnection);
    return true;
}

void WaylandPasteboard::checkDelivery()
{
    if (!m_connection)
        return;
    const quint64 generation = m_generation;
    // A compositor that gave up on the connection drops it at this request.
    m_connection->sync(2 * reopenTimeout, m_control.get(), [this, generation](bool answered) {
        if (answered)
            return;
        QTimer::singleShot(0, this, [this, generation] {
            if (generation == m_generation)
                connectionLost("it stopped serving the connection, flooded by a source's types");
        });
    });
}

void WaylandPasteboard::connectionLost(const char* why)
{
    if (!m_control)
        return;
    if (!m_lost) {
        m_lost = true;
        qCWarning(lcWayland,
                  "the compositor no longer serves Tessel's clipboard connection (%s); copies are "
                  "not recorded until it is open again",
                  why);
    }
    ++m_generation;
    m_control.reset();
    m_connection.reset();
    // A connection that served a while failing is news; one that fails as soon as it opens
    // keeps the pause growing.
    if (m_attached.elapsed() > 10 * longestReopenDelay.count())
        m_reopenDelay = firstReopenDelay;
    m_reopen.start(m_reopenDelay);
}

void WaylandPasteboard::reopen()
{
    if (!attach(reopenTimeout)) {
        m_reopenDelay = std::min(m_reopenDelay * 2, longestReopenDelay);
        m_reopen.start(m_reopenDelay);
        return;
    }
    if (m_lost) {
        m_lost = false;
        qCInfo(lcWayland, "Tessel's clipboard connection is open again");
    }
    // What was copied while it was down is the selection now.
    m_control->reportCurrentSelection();
}

bool WaylandPasteboard::ownsSelection() const
{
    return m_control && m_control->ownsSelection();
}

QStringList WaylandPasteboard::types() const
{
    return ownsSelection() ? m_own.types() : m_last.types;
}

std::optional<QByteArray> WaylandPasteboard::dataForType(const QString& type) const
{
    if (ownsSelection())
        return m_own.data(type);
    return m_last.bytesFor(type);
}

std::optional<QString> WaylandPasteboard::stringForType(const QString& type) const
{
    const auto bytes = dataForType(type);
    return bytes ? std::optional(QString::fromUtf8(*bytes)) : std::nullopt;
}

QStringList WaylandPasteboard::mimeTypesForType(const QString& type)
{
    // Wayland clients ask for text under the MIME names; X11 clients behind XWayland under
    // UTF8_STRING.
    if (type == PasteboardType::plainText)
        return {u"text/plain;charset=utf-8"_s, u"text/plain"_s, u"UTF8_STRING"_s};
    return {TargetList::targetForType(type)};
}

void WaylandPasteboard::keepContents(const PasteboardItem& item)
{
    if (!m_control || !m_control->isSelectionEmpty())
        return;
    // The selection is set only once the compositor has answered every request sent so far, and
    // so once every selection set before it is known: a client that copied meanwhile keeps its
    // copy.
    m_connection->sync(kKeepSyncTimeout, m_control.get(), [this, item](bool answered) {
        if (answered && m_control && m_control->isSelectionEmpty())
            publish(item);
    });
}

void WaylandPasteboard::clearContents()
{
    writeItem(PasteboardItem());
}

void WaylandPasteboard::writeItem(const PasteboardItem& item)
{
    if (!m_control)
        return; // while the connection is being reopened there is no selection to set
    publish(item);
    m_handOver.countOwnWrite();
}

void WaylandPasteboard::publish(const PasteboardItem& item)
{
    WaylandDataControl::Contents contents;
    for (const PasteboardValue& value : item.values()) {
        for (const QString& mimeType : mimeTypesForType(value.type))
            contents.append({mimeType, value.bytes, value.producer});
    }
    m_own = item;
    m_control->setSelection(std::move(contents));
}

} // namespace tessel::wayland
