// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardSnapshot.h"

#include <QObject>
#include <functional>

namespace tessel {

// Carries clipboard changes from the thread that reads them to the thread this object lives on,
// and keeps the change counter there: it moves once for every change seen and once for every
// write of ours, so a snapshot can be told apart from a newer change.
class SnapshotHandOver final : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(const ClipboardSnapshot&)>;

    explicit SnapshotHandOver(QObject* parent = nullptr);

    // Any thread: another client changed the clipboard; its contents are being read.
    void changeSeen(quint64 serial);
    // Any thread: the contents of the change `serial`, complete. Delivered only when that change
    // is the last one seen, stamped with the change count it was given.
    void contentsRead(quint64 serial, ClipboardSnapshot snapshot);

    // This thread only.
    qint64 changeCount() const { return m_changeCount; }
    void countOwnWrite() { ++m_changeCount; }
    void setHandler(Handler handler) { m_handler = std::move(handler); }

private:
    void onChangeSeen(quint64 serial);
    void onContentsRead(quint64 serial, const ClipboardSnapshot& snapshot);

    Handler m_handler;
    qint64 m_changeCount = 1;
    quint64 m_lastSerial = 0;
    qint64 m_lastSerialCount = 0;
};

} // namespace tessel
