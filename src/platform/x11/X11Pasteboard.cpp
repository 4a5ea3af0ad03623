// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11Pasteboard.h"

#include "clipboard/PasteboardTypes.h"
#include "platform/x11/X11ClipboardReader.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11SelectionServer.h"

#include <QClipboard>
#include <xcb/xcb.h>

namespace tessel::x11 {

std::unique_ptr<X11Pasteboard> X11Pasteboard::create(QClipboard* clipboard,
                                                     std::unique_ptr<Pasteboard> writer)
{
    auto* qtConnection = X11Connection::connection();
    if (!qtConnection)
        return nullptr;
    std::unique_ptr<X11Pasteboard> pasteboard(new X11Pasteboard(clipboard, std::move(writer)));
    const xcb_setup_t* setup = xcb_get_setup(qtConnection);
    X11ClipboardReader::Options options;
    // Qt's clipboard owns the selection through a window of Qt's own connection, kept contents
    // through one of the server's.
    options.ownClients.append({setup->resource_id_base, setup->resource_id_mask});
    pasteboard->m_server = X11SelectionServer::open();
    if (X11SelectionServer* server = pasteboard->m_server.get()) {
        options.ownClients.append({server->resourceBase(), server->resourceMask()});
        server->setSaveHandler([self = pasteboard.get()](X11SelectionServer::SaveAnswer answer) {
            self->m_reader->sync([self, answer] {
                if (self->m_keepHandler)
                    self->m_keepHandler(answer);
                else
                    answer(false);
            });
        });
    }
    pasteboard->m_reader = std::make_unique<X11ClipboardReader>(pasteboard->m_handOver, options);
    if (!pasteboard->m_reader->start())
        return nullptr;
    return pasteboard;
}

X11Pasteboard::X11Pasteboard(QClipboard* clipboard, std::unique_ptr<Pasteboard> writer)
    : m_clipboard(clipboard)
    , m_writer(std::move(writer))
{
    m_handOver.setHandler([this](const ClipboardSnapshot& snapshot) {
        m_last = snapshot;
        if (m_handler)
            m_handler(snapshot);
    });
}

// The reader goes first: its thread posts to the hand-over until it is joined.
X11Pasteboard::~X11Pasteboard()
{
    m_reader.reset();
    m_server.reset();
}

void X11Pasteboard::keepContents(const PasteboardItem& item)
{
    if (m_server)
        m_server->serveClipboard(item);
}

bool X11Pasteboard::ownsClipboard() const
{
    return m_clipboard->ownsClipboard();
}

QStringList X11Pasteboard::types() const
{
    return ownsClipboard() ? m_writer->types() : m_last.types;
}

std::optional<QByteArray> X11Pasteboard::dataForType(const QString& type) const
{
    if (ownsClipboard())
        return m_writer->dataForType(type);
    return m_last.bytesFor(type);
}

std::optional<QString> X11Pasteboard::stringForType(const QString& type) const
{
    if (ownsClipboard())
        return m_writer->stringForType(type);
    return m_last.stringFor(type);
}

void X11Pasteboard::clearContents()
{
    m_writer->clearContents();
    m_handOver.countOwnWrite();
}

void X11Pasteboard::writeItem(const PasteboardItem& item)
{
    m_writer->writeItem(item);
    m_handOver.countOwnWrite();
}

} // namespace tessel::x11
