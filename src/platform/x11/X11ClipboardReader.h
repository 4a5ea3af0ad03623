// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/TargetList.h"

#include <QList>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace tessel {
class SnapshotHandOver;
}

namespace tessel::x11 {

class X11SelectionConnection;
struct SelectionChange;

// Reads the CLIPBOARD selection on an X connection and a thread of its own, so that no owner,
// however slow or hostile, can hold up the thread the user interface runs on. Every change of
// owner is reported to the hand-over at once (with the application active at that moment), then
// its contents: the targets (at most TargetList::maxTargets looked at) and the first of PNG,
// TIFF and text that can be read within the payload limit and the conversion timeout. A change
// whose owner stalls past the timeout, or that a newer change replaces, reports no contents.
// Changes made by our own X clients (the owner is one of their windows) are not reported. An
// owner that goes away (its window or connection closes) is reported as an empty snapshot
// marked `ownerGone`.
class X11ClipboardReader {
public:
    struct Options {
        std::chrono::milliseconds conversionTimeout{1000};
        qint64 maxPayloadBytes = PayloadLimit::defaultMaxBytes;
        // The X resource ids of each client whose writes are ours (base and mask from its
        // connection setup).
        QList<std::pair<uint32_t, uint32_t>> ownClients = {};
    };

    X11ClipboardReader(SnapshotHandOver& handOver, Options options);
    ~X11ClipboardReader();
    X11ClipboardReader(const X11ClipboardReader&) = delete;
    X11ClipboardReader& operator=(const X11ClipboardReader&) = delete;

    // Connects and starts the thread; false (and no thread) without a display or XFixes.
    bool start();

    // Any thread: `done` runs on the hand-over's thread once every change the X server had made
    // when this was called has been reported to the hand-over, read or given up on.
    void sync(std::function<void()> done);

private:
    void run();
    void read(const SelectionChange& change);
    bool isOwn(uint32_t owner) const;

    SnapshotHandOver& m_handOver;
    Options m_options;
    std::mutex m_syncMutex;
    QList<std::function<void()>> m_syncWaiters;
    std::unique_ptr<X11SelectionConnection> m_connection;
    std::thread m_thread;
    uint32_t m_targetsAtom = 0;
    quint64 m_serial = 0;
};

} // namespace tessel::x11
