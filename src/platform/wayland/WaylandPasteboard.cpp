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

std::unique_ptr<WaylandPasteboard> WaylandPasteboard::create(WaylandConnection& connection,
                                                             ActiveApplication activeApplication)
{
    if (!connection.dataControlManager() || !connection.seat())
        return nullptr;
    // A client that closes its end of a pipe while we still write into it must cost that one
    // transfer (EPIPE), not the process.
    std::signal(SIGPIPE, SIG_IGN);
    std::unique_ptr<WaylandPasteboard> pasteboard(
        new WaylandPasteboard(std::move(activeApplication)));
    pasteboard->m_control = WaylandDataControl::create(connection);
    if (!pasteboard->m_control)
        return nullptr;
    pasteboard->m_reader = std::make_unique<WaylandDataControlReader>(
        pasteboard->m_handOver, WaylandDataControlReader::Options{});
    auto* self = pasteboard.get();
    self->m_control->setSelectionHandler([self](const QStringList& mimeTypes) {
        const QString applicationId =
            self->m_activeApplication ? self->m_activeApplication() : QString();
        self->m_reader->selectionChanged(
            mimeTypes,
            [self](const QString& mimeType) { return self->m_control->receive(mimeType); },
            applicationId);
    });
    return pasteboard;
}

WaylandPasteboard::WaylandPasteboard(ActiveApplication activeApplication)
    : m_activeApplication(std::move(activeApplication))
{
    m_handOver.setHandler([this](const ClipboardSnapshot& snapshot) {
        m_last = snapshot;
        if (m_handler)
            m_handler(snapshot);
    });
}

// The reader and the data device use the connection: they go first.
WaylandPasteboard::~WaylandPasteboard()
{
    m_reader.reset();
    m_control.reset();
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

void WaylandPasteboard::clearContents()
{
    writeItem(PasteboardItem());
}

void WaylandPasteboard::writeItem(const PasteboardItem& item)
{
    WaylandDataControl::Contents contents;
    for (const PasteboardValue& value : item.values()) {
        for (const QString& mimeType : mimeTypesForType(value.type))
            contents.append({mimeType, value.bytes, value.producer});
    }
    m_own = item;
    m_control->setSelection(std::move(contents));
    m_handOver.countOwnWrite();
}

} // namespace tessel::wayland
