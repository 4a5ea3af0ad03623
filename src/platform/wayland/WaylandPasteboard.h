// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/Pasteboard.h"
#include "clipboard/SnapshotHandOver.h"

#include <QObject>
#include <functional>
#include <memory>

namespace tessel::wayland {

class WaylandConnection;
class WaylandDataControl;
class WaylandDataControlReader;

// The clipboard on a Wayland compositor with the wlroots data-control protocol, on a connection
// of Tessel's own (apart from Qt's): every selection another client sets is reported with its
// contents, focus or not, and our writes become selections served from memory until another
// client takes over. Nothing here waits for another client. Main thread only.
class WaylandPasteboard final : public QObject, public Pasteboard {
    Q_OBJECT

public:
    // Who is in front, for the password-manager rule; may be empty.
    using ActiveApplication = std::function<QString()>;

    // Null when `connection` has no seat or no data-control. The pasteboard uses `connection`,
    // which must outlive it.
    static std::unique_ptr<WaylandPasteboard> create(WaylandConnection& connection,
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

private:
    explicit WaylandPasteboard(ActiveApplication activeApplication);
    bool ownsSelection() const;
    // Makes `item` our selection, served from memory.
    void publish(const PasteboardItem& item);

    SnapshotHandOver m_handOver;
    WaylandConnection* m_connection = nullptr;
    std::unique_ptr<WaylandDataControl> m_control;
    std::unique_ptr<WaylandDataControlReader> m_reader;
    ActiveApplication m_activeApplication;
    SnapshotHandler m_handler;
    ClipboardSnapshot m_last;
    PasteboardItem m_own;
};

} // namespace tessel::wayland
