// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/SnapshotHandOver.h"

namespace tessel {

SnapshotHandOver::SnapshotHandOver(QObject* parent)
    : QObject(parent)
{}

void SnapshotHandOver::changeSeen(quint64 serial)
{
    QMetaObject::invokeMethod(
        this, [this, serial] { onChangeSeen(serial); }, Qt::QueuedConnection);
}

void SnapshotHandOver::contentsRead(quint64 serial, ClipboardSnapshot snapshot)
{
    QMetaObject::invokeMethod(
        this, [this, serial, snapshot = std::move(snapshot)] { onContentsRead(serial, snapshot); },
        Qt::QueuedConnection);
}

void SnapshotHandOver::onChangeSeen(quint64 serial)
{
    m_lastSerial = serial;
    m_lastSerialCount = ++m_changeCount;
}

void SnapshotHandOver::onContentsRead(quint64 serial, const ClipboardSnapshot& snapshot)
{
    // The reader reports a change before its contents, in order, so a serial other than the last
    // one seen belongs to a change that was already replaced.
    if (serial != m_lastSerial || !m_handler)
        return;
    ClipboardSnapshot stamped = snapshot;
    stamped.changeCount = m_lastSerialCount;
    m_handler(stamped);
}

} // namespace tessel
