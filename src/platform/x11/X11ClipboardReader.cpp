// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11ClipboardReader.h"

#include "clipboard/ClipboardSnapshot.h"
#include "clipboard/PasteboardTypes.h"
#include "clipboard/SnapshotHandOver.h"
#include "platform/x11/X11SelectionConnection.h"

#include <algorithm>
#include <cstring>

namespace tessel::x11 {

X11ClipboardReader::X11ClipboardReader(SnapshotHandOver& handOver, Options options)
    : m_handOver(handOver)
    , m_options(options)
    , m_connection(std::make_unique<X11SelectionConnection>())
{}

X11ClipboardReader::~X11ClipboardReader()
{
    m_connection->wake();
    if (m_thread.joinable())
        m_thread.join();
}

bool X11ClipboardReader::start()
{
    if (!m_connection->open())
        return false;
    m_targetsAtom = m_connection->atom("TARGETS");
    m_thread = std::thread([this] { run(); });
    return true;
}

bool X11ClipboardReader::isOwn(uint32_t owner) const
{
    return std::any_of(m_options.ownClients.cbegin(), m_options.ownClients.cend(),
                       [owner](const std::pair<uint32_t, uint32_t>& client) {
                           return client.second != 0 && (owner & ~client.second) == client.first;
                       });
}

void X11ClipboardReader::sync(std::function<void()> done)
{
    {
        const std::lock_guard lock(m_syncMutex);
        m_syncWaiters.append(std::move(done));
    }
    m_connection->requestSync();
}

void X11ClipboardReader::run()
{
    while (m_connection->waitForChange()) {
        QList<std::function<void()>> waiters;
        if (m_connection->takeSyncRequest()) {
            {
                const std::lock_guard lock(m_syncMutex);
                waiters.swap(m_syncWaiters);
            }
            // After taking the waiters: each of them asked before this looks at the server.
            m_connection->catchUp();
        }
        // A change that arrives while one is read replaces it; read the newest until none is
        // left.
        while (auto change = m_connection->takePendingChange()) {
            if (!isOwn(change->owner))
                read(*change);
        }
        // Queued behind what was reported, so the hand-over's thread sees that first.
        for (auto& done : waiters)
            QMetaObject::invokeMethod(&m_handOver, std::move(done), Qt::QueuedConnection);
    }
}

void X11ClipboardReader::read(const SelectionChange& change)
{
    const quint64 serial = ++m_serial;
    ClipboardSnapshot snapshot;
    // The password-manager rule asks who was in front when the copy happened, not later.
    snapshot.applicationId = m_connection->activeApplicationId();
    m_handOver.changeSeen(serial);
    if (change.owner == 0) {
        snapshot.ownerGone = change.ownerGone;
        m_handOver.contentsRead(serial, std::move(snapshot));
        return;
    }

    const auto timeout = m_options.conversionTimeout;
    const Transfer targets = m_connection->convert(
        change, m_targetsAtom, TargetList::maxTargets * 4, Overflow::truncate, timeout);
    if (targets.status != TransferStatus::done && targets.status != TransferStatus::refused)
        return;
    QList<uint32_t> atoms(targets.bytes.size() / 4);
    std::memcpy(atoms.data(), targets.bytes.constData(), atoms.size() * sizeof(uint32_t));
    const QStringList names = m_connection->atomNames(atoms);
    const TargetList::Offer offer = TargetList::fromTargets(names);
    snapshot.types = offer.types;

    // Each content target in the order the history prefers; a target that is too large or
    // refused lets the next one be tried, an owner that stalls ends the change.
    const auto fetch = [&](const QString& target, Transfer& out) {
        if (target.isEmpty())
            return true;
        out = m_connection->convert(change, atoms.at(names.indexOf(target)),
                                    m_options.maxPayloadBytes, Overflow::refuse, timeout);
        return out.status == TransferStatus::done || out.status == TransferStatus::refused ||
               out.status == TransferStatus::oversized;
    };
    const std::pair<QLatin1StringView, QString> images[] = {
        {PasteboardType::png, offer.pngTarget}, {PasteboardType::tiff, offer.tiffTarget}};
    for (const auto& [type, target] : images) {
        Transfer image;
        if (!fetch(target, image))
            return;
        if (image.status == TransferStatus::done && !image.bytes.isEmpty()) {
            snapshot.data.insert(type, image.bytes);
            m_handOver.contentsRead(serial, std::move(snapshot));
            return;
        }
    }
    Transfer text;
    if (!fetch(offer.text.target, text))
        return;
    if (text.status == TransferStatus::done)
        snapshot.text = TargetList::decodeText(text.bytes, offer.text.encoding);
    m_handOver.contentsRead(serial, std::move(snapshot));
}

} // namespace tessel::x11
