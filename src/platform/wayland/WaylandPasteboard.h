// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/Pasteboard.h"
#include "clipboard/SnapshotHandOver.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

namespace tessel::wayland {

class WaylandConnection;
class WaylandDataControl;
class WaylandDataControlReader;

// The clipboard on a Wayland compositor with the wlroots data-control protocol, on a connection
// of its own (apart from Qt's and the other services'): every selection another client sets is
// reported with its contents, focus or not, and our writes become selections served from memory
// until another client takes over. Nothing here waits for another client. When the compositor
// stops serving the connection (it closed it, or a source offering thousands of types overflowed
// it and the compositor silently gave up on it), another is opened, after a pause that grows
// while opening keeps failing; the selection current then is reported as a change. Main thread
// only.
class WaylandPasteboard final : public QObject, public Pasteboard {
    Q_OBJECT

public:
    // Who is in front, for the password-manager rule; may be empty.
    using ActiveApplication = std::function<QString()>;
    // Opens a connection to the compositor, null when it cannot.
    using OpenConnection =
        std::function<std::unique_ptr<WaylandConnection>(std::chrono::milliseconds timeout)>;

    // The pauses between attempts to open the connection again: doubled after each failure.
    static constexpr std::chrono::milliseconds firstReopenDelay{200};
    static constexpr std::chrono::milliseconds longestReopenDelay{4000};
    // How long opening again may take, on the main thread.
    static constexpr std::chrono::milliseconds reopenTimeout{500};

    // Null when no connection opens, or it has no seat or no data-control.
    static std::unique_ptr<WaylandPasteboard> create(OpenConnection open,
                                                     ActiveApplication activeApplication = {});
    ~WaylandPasteboard() override;

    qint64 changeCount() const override { return m_handOver.changeCount(); }
    // Our own contents while our selection stands, otherwise those of the last change read
    // (empty while a change is still being read).
    QStringList types() const override;
    std::optional<QByteArray> dataForType(const QString& type) const override;
    std::optional<QString> stringForType(const QString& type) const override;
    void clearContents() override;
    void writeItem(const PasteboardItem& item) override;
    bool reportsChanges() const override { return true; }
    void setSnapshotHandler(SnapshotHandler handler) override { m_handler = std::move(handler); }
    bool canKeepContents() const override { return true; }
    // Sets a selection of ours while the seat's selection is empty.
    void keepContents(const PasteboardItem& item) override;

    // The MIME types a type identifier is offered under when we set the selection.
    static QStringList mimeTypesForType(const QString& type);

    // Whether the clipboard's connection is open (not between a loss and its reopening).
    bool isConnected() const { return m_control != nullptr; }

private:
    WaylandPasteboard(OpenConnection open, ActiveApplication activeApplication);
    bool ownsSelection() const;
    // Makes `item` our selection, served from memory.
    void publish(const PasteboardItem& item);

    // Opens a connection and the data device on it; false when either fails.
    bool attach(std::chrono::milliseconds timeout);
    // Asks the compositor whether it still serves the connection.
    void checkDelivery();
    // The connection is of no more use: let go of it and open another soon.
    void connectionLost(const char* why);
    void reopen();

    SnapshotHandOver m_handOver;
    OpenConnection m_open;
    std::unique_ptr<WaylandConnection> m_connection;
    std::unique_ptr<WaylandDataControl> m_control;
    std::unique_ptr<WaylandDataControlReader> m_reader;
    ActiveApplication m_activeApplication;
    SnapshotHandler m_handler;
    ClipboardSnapshot m_last;
    PasteboardItem m_own;
    QTimer m_reopen;
    QElapsedTimer m_attached;
    // Counts the connections opened, so that news about one since replaced is ignored.
    quint64 m_generation = 0;
    std::chrono::milliseconds m_reopenDelay = firstReopenDelay;
    // Between a loss and the reopening, so that an outage is told once.
    bool m_lost = false;
};

} // namespace tessel::wayland
