// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/Pasteboard.h"
#include "clipboard/SnapshotHandOver.h"

#include <QObject>
#include <memory>

class QClipboard;

namespace tessel::x11 {

class X11ClipboardReader;
class X11SelectionServer;

// The CLIPBOARD selection on X11: written through Qt's clipboard, read by a reader of Tessel's
// own on its own connection and thread, which reports every change of another client with its
// contents. Contents kept for a program that went away are served by a selection owner of
// Tessel's own, which also takes the clipboards of programs that quit (CLIPBOARD_MANAGER).
// Nothing here waits for another client. Main thread only.
class X11Pasteboard final : public QObject, public Pasteboard {
    Q_OBJECT

public:
    // Writes go through `writer`, Qt's clipboard (`clipboard`) underneath. Null when the reader
    // cannot run (no X display of our own, no XFixes).
    static std::unique_ptr<X11Pasteboard> create(QClipboard* clipboard,
                                                 std::unique_ptr<Pasteboard> writer);
    ~X11Pasteboard() override;

    qint64 changeCount() const override { return m_handOver.changeCount(); }
    // Our own contents while we own the clipboard, otherwise those of the last change read
    // (empty while a change is still being read).
    QStringList types() const override;
    std::optional<QByteArray> dataForType(const QString& type) const override;
    std::optional<QString> stringForType(const QString& type) const override;
    void clearContents() override;
    void writeItem(const PasteboardItem& item) override;
    bool reportsChanges() const override { return true; }
    void setSnapshotHandler(SnapshotHandler handler) override { m_handler = std::move(handler); }
    bool canKeepContents() const override { return m_server != nullptr; }
    void keepContents(const PasteboardItem& item) override;
    void setKeepRequestHandler(std::function<void(KeepAnswer answer)> handler) override
    {
        m_keepHandler = std::move(handler);
    }

    // The owner that serves kept contents; null where it could not connect.
    X11SelectionServer* server() const { return m_server.get(); }

private:
    X11Pasteboard(QClipboard* clipboard, std::unique_ptr<Pasteboard> writer);
    bool ownsClipboard() const;

    SnapshotHandOver m_handOver;
    QClipboard* m_clipboard;
    std::unique_ptr<Pasteboard> m_writer;
    std::unique_ptr<X11SelectionServer> m_server;
    std::unique_ptr<X11ClipboardReader> m_reader;
    SnapshotHandler m_handler;
    std::function<void(KeepAnswer)> m_keepHandler;
    ClipboardSnapshot m_last;
};

} // namespace tessel::x11
