// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardSnapshot.h"
#include "clipboard/TargetList.h"
#include "platform/wayland/WaylandDataControlPipe.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <chrono>
#include <functional>

namespace tessel {
class SnapshotHandOver;
}

namespace tessel::wayland {

// Turns each selection another client offers into a snapshot for the hand-over: the change is
// reported at once, then its contents: the MIME types (at most TargetList::maxTargets looked at)
// and the first of PNG, TIFF and text that can be read within the payload limit and the
// timeout. Everything is read through non-blocking pipes on this thread's event loop. A source
// that stalls past the timeout, or a newer selection, ends the change without contents; a type
// that is too large or refused lets the next one be tried.
class WaylandDataControlReader final : public QObject {
    Q_OBJECT

public:
    struct Options {
        std::chrono::milliseconds transferTimeout{1000};
        qint64 maxPayloadBytes = PayloadLimit::defaultMaxBytes;
    };
    // Asks the source of the current selection for `mimeType`; the read end of the pipe it
    // writes into, or -1 when the request could not be made.
    using Receive = std::function<int(const QString& mimeType)>;

    WaylandDataControlReader(SnapshotHandOver& handOver, Options options,
                             QObject* parent = nullptr);
    ~WaylandDataControlReader() override;

    // Another client's selection, offering `mimeTypes` (in its order), or a cleared selection
    // when `mimeTypes` is empty. `applicationId` is who was in front at the change. Abandons the
    // read of the previous selection.
    void selectionChanged(const QStringList& mimeTypes, Receive receive,
                          const QString& applicationId);
    // The selection became empty because its source went away: reported as an empty change
    // marked `ownerGone`. Abandons the read of the previous selection.
    void sourceGone(const QString& applicationId);
    // Whether the contents of the last selection are still being read.
    bool isReading() const { return !m_pending.isEmpty() || m_transfer; }

private:
    struct Step {
        QString mimeType;
        QString type;
        TargetList::TextEncoding encoding = TargetList::TextEncoding::utf8;
    };

    void readNext();
    void stepRead(const Step& step, PipeTransfer::Status status, const QByteArray& bytes);
    void deliver();
    void abandon();

    SnapshotHandOver& m_handOver;
    Options m_options;
    quint64 m_serial = 0;
    ClipboardSnapshot m_snapshot;
    Receive m_receive;
    QList<Step> m_pending;
    QPointer<PipeReader> m_transfer;
};

} // namespace tessel::wayland
