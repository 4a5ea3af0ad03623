// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wayland/WaylandDataControlReader.h"

#include "clipboard/PasteboardTypes.h"
#include "clipboard/SnapshotHandOver.h"

namespace tessel::wayland {

WaylandDataControlReader::WaylandDataControlReader(SnapshotHandOver& handOver, Options options,
                                                   QObject* parent)
    : QObject(parent)
    , m_handOver(handOver)
    , m_options(options)
{}

WaylandDataControlReader::~WaylandDataControlReader()
{
    abandon();
}

void WaylandDataControlReader::abandon()
{
    m_pending.clear();
    // Deleting an unfinished transfer closes its pipe without a report.
    delete m_transfer.data();
}

void WaylandDataControlReader::selectionChanged(const QStringList& mimeTypes, Receive receive,
                                                const QString& applicationId)
{
    abandon();
    m_receive = std::move(receive);
    m_snapshot = ClipboardSnapshot();
    // The password-manager rule asks who was in front when the copy happened, not later.
    m_snapshot.applicationId = applicationId;
    m_handOver.changeSeen(++m_serial);

    const TargetList::Offer offer = TargetList::fromTargets(mimeTypes);
    m_snapshot.types = offer.types;
    if (!offer.pngTarget.isEmpty())
        m_pending.append({offer.pngTarget, QString(PasteboardType::png)});
    if (!offer.tiffTarget.isEmpty())
        m_pending.append({offer.tiffTarget, QString(PasteboardType::tiff)});
    if (!offer.text.target.isEmpty())
        m_pending.append(
            {offer.text.target, QString(PasteboardType::plainText), offer.text.encoding});
    readNext();
}

void WaylandDataControlReader::sourceGone(const QString& applicationId)
{
    abandon();
    m_receive = {};
    m_snapshot = ClipboardSnapshot();
    m_snapshot.applicationId = applicationId;
    m_snapshot.ownerGone = true;
    m_handOver.changeSeen(++m_serial);
    deliver();
}

void WaylandDataControlReader::readNext()
{
    while (!m_pending.isEmpty()) {
        const Step step = m_pending.takeFirst();
        const int fd = m_receive ? m_receive(step.mimeType) : -1;
        if (fd < 0)
            continue;
        m_transfer = PipeReader::start(
            fd, m_options.maxPayloadBytes, m_options.transferTimeout,
            [this, step](PipeTransfer::Status status, const QByteArray& bytes) {
                stepRead(step, status, bytes);
            },
            this);
        return;
    }
    deliver();
}

void WaylandDataControlReader::stepRead(const Step& step, PipeTransfer::Status status,
                                        const QByteArray& bytes)
{
    m_transfer.clear();
    if (status == PipeTransfer::Status::timedOut) {
        // The source stalls: whatever else it offers would stall as well.
        m_pending.clear();
        return;
    }
    if (status == PipeTransfer::Status::done && !bytes.isEmpty()) {
        if (step.type == PasteboardType::plainText) {
            m_snapshot.text = TargetList::decodeText(bytes, step.encoding);
        } else {
            m_snapshot.data.insert(step.type, bytes);
        }
        // The first readable content is the one the history keeps.
        m_pending.clear();
        deliver();
        return;
    }
    if (status == PipeTransfer::Status::done && step.type == PasteboardType::plainText)
        m_snapshot.text = QString();
    readNext();
}

void WaylandDataControlReader::deliver()
{
    m_handOver.contentsRead(m_serial, std::move(m_snapshot));
    m_snapshot = ClipboardSnapshot();
}

} // namespace tessel::wayland
