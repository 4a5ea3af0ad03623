// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/Pasteboard.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <xcb/xcb.h>

class QSocketNotifier;

namespace tessel::x11 {

class X11IncrSender;

// Tessel's own selection owner, on an X connection of its own: it serves the CLIPBOARD in place
// of a program that went away, and holds CLIPBOARD_MANAGER where no other program does, so that
// programs that quit can hand their clipboard over (SAVE_TARGETS). It never takes a selection
// that another client holds: it checks and takes it with the server grabbed. Its events are read
// on the main thread from a socket notifier, and no answer waits for the program that asked: a
// large value goes out in pieces as the requestor takes them (INCR).
class X11SelectionServer final : public QObject {
    Q_OBJECT

public:
    using SaveAnswer = Pasteboard::KeepAnswer;
    using SaveHandler = std::function<void(SaveAnswer answer)>;

    // A server on a new connection to $DISPLAY; null without a display or XFixes. Takes
    // CLIPBOARD_MANAGER at once if it is free.
    static std::unique_ptr<X11SelectionServer> open();
    ~X11SelectionServer() override;

    // The X resource ids of this connection (base and mask of its setup): a selection owned by
    // one of them is ours.
    uint32_t resourceBase() const;
    uint32_t resourceMask() const;

    // Serves `item` on the CLIPBOARD if no other client owns it when the server gets to it
    // (a moment later: it first learns the server's time). Replaces what it served before.
    void serveClipboard(const PasteboardItem& item);
    bool ownsClipboard() const { return m_clipboard.time != 0; }
    bool ownsManager() const { return m_manager.time != 0; }

    // Where SAVE_TARGETS requests go; without a handler they are refused.
    void setSaveHandler(SaveHandler handler) { m_saveHandler = std::move(handler); }

Q_SIGNALS:
    // The CLIPBOARD is now served from here.
    void clipboardTaken();
    // CLIPBOARD_MANAGER is ours now.
    void managerTaken();

private:
    // What we offer on one selection while we own it.
    struct Offer {
        uint32_t target = 0;
        uint32_t type = 0;
        QByteArray bytes;
    };
    struct Owned {
        uint32_t selection = 0;
        // The time we took it; 0 while we do not own it.
        uint32_t time = 0;
        // Targets answered besides TARGETS, TIMESTAMP and the offers.
        QList<uint32_t> protocolTargets;
        QList<Offer> offers;
    };

    explicit X11SelectionServer(xcb_connection_t* connection);
    bool setUp();
    void readEvents();
    void handle(const xcb_generic_event_t& event);
    // Learns the server's current time (a property change on our window) and calls `then`
    // with it from the event loop.
    void withTimestamp(std::function<void(uint32_t time)> then);
    // Takes `selection` at `time` if nobody (or we) own it, with the server grabbed between the
    // look and the take; true when it is ours.
    bool takeIfFree(uint32_t selection, uint32_t time);
    uint32_t ownerOf(uint32_t selection);
    void tryTakeManager();
    void answer(const xcb_selection_request_event_t& request);
    // Puts `target` of `owned` on the requestor's `property`; false when it is not offered.
    bool put(const Owned& owned, uint32_t requestor, uint32_t target, uint32_t property);
    bool putMultiple(const Owned& owned, uint32_t requestor, uint32_t property);
    void askToKeep(const xcb_selection_request_event_t& request, uint32_t property);
    // Tells the program that asked to keep its clipboard whether it is kept.
    void answerSave(const xcb_selection_request_event_t& request, uint32_t property, bool kept);
    void notify(const xcb_selection_request_event_t& request, uint32_t property);
    QList<Offer> offersFor(const PasteboardItem& item);
    uint32_t atom(const QString& name);

    xcb_connection_t* m_connection;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<X11IncrSender> m_incr;
    QTimer m_stallCheck;
    uint32_t m_root = 0;
    uint32_t m_window = 0;
    uint8_t m_xfixesEvent = 0;
    qsizetype m_maxPropertyBytes = 0;
    QHash<QString, uint32_t> m_atoms;
    Owned m_clipboard;
    Owned m_manager;
    std::optional<QList<Offer>> m_pendingOffers;
    std::deque<std::function<void(uint32_t)>> m_timestampWaiters;
    SaveHandler m_saveHandler;
};

} // namespace tessel::x11
