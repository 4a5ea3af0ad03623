// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/Pasteboard.h"
#include "platform/wayland/WaylandRoundtrip.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QThreadPool>
#include <chrono>
#include <functional>
#include <optional>
#include <utility>

struct zwlr_data_control_device_v1;
struct zwlr_data_control_offer_v1;
struct zwlr_data_control_source_v1;

namespace tessel::wayland {

class WaylandConnection;

// The clipboard selection of one seat through the wlroots data-control protocol: it hears of
// every selection set by any client, whether or not Tessel has the focus, and sets selections
// of its own that are served from memory, or made on request on a thread of its own. Main thread
// only.
class WaylandDataControl final : public QObject {
    Q_OBJECT

public:
    // What one of our selections offers, in order: each MIME type (as the value's type) with its
    // bytes or the producer that makes them when a client asks.
    using Contents = QList<PasteboardValue>;
    // Another client's selection, with its MIME types (at most TargetList::maxTargets kept), or
    // nothing when the selection was cleared. The protocol does not say why it was: a client
    // that leaves it empty on purpose looks the same as one whose source went away.
    using SelectionHandler = std::function<void(const std::optional<QStringList>& mimeTypes)>;

    // Null when the connection has no seat or no data-control manager, or the compositor does
    // not answer within `timeout`.
    static std::unique_ptr<WaylandDataControl>
    create(WaylandConnection& connection,
           std::chrono::milliseconds timeout = roundtripTimeout);
    ~WaylandDataControl() override;

    // The selection that is current when this returns is the baseline and is not reported.
    void setSelectionHandler(SelectionHandler handler) { m_handler = std::move(handler); }
    // Reports the current selection (another client's) to the handler, as if it were new.
    void reportCurrentSelection();

    // Asks the current selection's source for `mimeType`: the read end of a pipe it writes
    // into, or -1 without another client's selection or a pipe.
    int receive(const QString& mimeType);

    // Makes `contents` the selection (empty contents offer nothing). Requests for it are
    // answered from memory until another client sets the selection; our own selection is never
    // reported to the handler.
    void setSelection(Contents contents);
    // Whether our last selection is still the seat's.
    bool ownsSelection() const { return m_ownSource != nullptr; }
    // Whether the seat's selection is empty as far as the events read so far tell.
    bool isSelectionEmpty() const { return !m_current && !m_ownSource; }

Q_SIGNALS:
    // Another client set the selection over ours.
    void selectionLost();
    // An offer came with more types than are looked at, or without the selection that should
    // follow it: the compositor may have stopped serving this connection, which a client cannot
    // tell until it asks something (a compositor that cannot write to a client marks it and
    // drops it at its next request, saying nothing).
    void deliverySuspect();

public:
    // A request that was answered by nobody in this time is abandoned.
    static constexpr std::chrono::milliseconds sendTimeout{5000};
    // The selection event follows its offer in the same burst: half a second without it is
    // not a slow compositor.
    static constexpr std::chrono::milliseconds selectionWait{500};

private:
    explicit WaylandDataControl(WaylandConnection& connection, zwlr_data_control_device_v1* device);
    void offerIntroduced(zwlr_data_control_offer_v1* offer);
    void selectionAnnounced(zwlr_data_control_offer_v1* offer);
    void sendRequested(zwlr_data_control_source_v1* source, const QString& mimeType, int fd);
    void sourceCancelled(zwlr_data_control_source_v1* source);

    struct Listeners;

    WaylandConnection& m_connection;
    zwlr_data_control_device_v1* m_device;
    struct Offer {
        // The first TargetList::maxTargets types heard.
        QStringList types;
        qsizetype heard = 0;
    };
    // Offers introduced but not yet announced.
    QHash<zwlr_data_control_offer_v1*, Offer> m_offers;
    zwlr_data_control_offer_v1* m_current = nullptr;
    QStringList m_currentTypes;
    // Runs from an offer's introduction until its selection is announced.
    QTimer m_awaitingSelection;
    // Our sources that may still be asked for data, and what each offers.
    QHash<zwlr_data_control_source_v1*, Contents> m_sources;
    zwlr_data_control_source_v1* m_ownSource = nullptr;
    SelectionHandler m_handler;
    bool m_baselineSeen = false;
    // Makes the bytes that are produced on request; destroyed first, waiting for the one at work.
    QThreadPool m_producers;
};

} // namespace tessel::wayland
