// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/Pasteboard.h"

#include <QObject>

class QClipboard;
class QMimeData;

namespace tessel {

// The desktop clipboard (on X11 the CLIPBOARD selection) through QClipboard. Clipboard targets
// are reported under their own names, except the three standard types, which keep Tessel's
// identifiers. The change counter is ours: it moves on every change Qt reports and on every
// write of ours, and our own writes are recognised so that they count once.
class QtPasteboard final : public QObject, public Pasteboard {
    Q_OBJECT

public:
    explicit QtPasteboard(QClipboard* clipboard, QObject* parent = nullptr);

    qint64 changeCount() const override { return m_changeCount; }
    QStringList types() const override;
    std::optional<QByteArray> dataForType(const QString& type) const override;
    std::optional<QString> stringForType(const QString& type) const override;
    void clearContents() override;
    void writeItem(const PasteboardItem& item) override;

    // Tessel's identifier for a clipboard format (MIME name or X11 target), and the reverse.
    static QString typeForFormat(const QString& format);
    static QString formatForType(const QString& type);

private:
    void onClipboardChanged();
    void publish(QMimeData* data);

    QClipboard* m_clipboard;
    const QMimeData* m_ownData = nullptr;
    qint64 m_changeCount = 1;
};

} // namespace tessel
