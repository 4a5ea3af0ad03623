// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/Pasteboard.h"
#include "clipboard/PasteboardTypes.h"

namespace tessel::test {

// A pasteboard in memory, with the counting rules of the real one. `writeExternal` stands for
// another application's copy.
class MemoryPasteboard final : public Pasteboard {
public:
    qint64 changeCount() const override { return m_changeCount; }
    QStringList types() const override { return m_item.types(); }
    std::optional<QByteArray> dataForType(const QString& type) const override
    {
        return m_item.data(type);
    }
    std::optional<QString> stringForType(const QString& type) const override
    {
        const auto bytes = m_item.data(type);
        return bytes ? std::optional(QString::fromUtf8(*bytes)) : std::nullopt;
    }
    void clearContents() override
    {
        m_item = {};
        ++m_changeCount;
    }
    void writeItem(const PasteboardItem& item) override
    {
        m_item = item;
        ++m_changeCount;
        ++m_writes;
    }
    bool reportsChanges() const override { return m_reportsChanges; }
    void setSnapshotHandler(SnapshotHandler handler) override { m_handler = std::move(handler); }
    bool canKeepContents() const override { return m_reportsChanges; }
    // Kept contents are what the clipboard holds; the change count stays.
    void keepContents(const PasteboardItem& item) override
    {
        m_item = item;
        kept.append(item);
    }
    void setKeepRequestHandler(std::function<void(KeepAnswer)> handler) override
    {
        m_keepHandler = std::move(handler);
    }

    void writeExternal(const PasteboardItem& item) { writeItem(item); }
    // Makes the pasteboard report changes, as the X11 one does, instead of being polled.
    void setReportsChanges(bool reports) { m_reportsChanges = reports; }
    // Another application's copy, handed to the handler the way a reader reports it: the
    // contents with the application active at the copy. Returns what was handed over.
    ClipboardSnapshot reportExternal(const PasteboardItem& item, const QString& applicationId = {})
    {
        writeItem(item);
        ClipboardSnapshot snapshot;
        snapshot.changeCount = m_changeCount;
        snapshot.types = item.types();
        snapshot.applicationId = applicationId;
        for (const QLatin1StringView type : {PasteboardType::png, PasteboardType::tiff}) {
            if (const auto bytes = item.data(type))
                snapshot.data.insert(type, *bytes);
        }
        snapshot.text = stringForType(PasteboardType::plainText);
        if (m_handler)
            m_handler(snapshot);
        return snapshot;
    }
    int writeCount() const { return m_writes; }

    // The program that owned the clipboard goes away: it is empty, reported as such.
    void reportOwnerGone()
    {
        m_item = {};
        ++m_changeCount;
        ClipboardSnapshot snapshot;
        snapshot.changeCount = m_changeCount;
        snapshot.ownerGone = true;
        if (m_handler)
            m_handler(snapshot);
    }
    // Another program changes the clipboard and its contents never arrive (it stalled).
    void reportUnreadChange() { ++m_changeCount; }
    // A program about to quit asks to leave its clipboard; the answer, when one came at once.
    std::optional<bool> askToKeep()
    {
        std::optional<bool> answer;
        if (m_keepHandler)
            m_keepHandler([&answer](bool given) { answer = given; });
        return answer;
    }
    // What keepContents was given, in order.
    QList<PasteboardItem> kept;

private:
    PasteboardItem m_item;
    qint64 m_changeCount = 1;
    int m_writes = 0;
    bool m_reportsChanges = false;
    SnapshotHandler m_handler;
    std::function<void(KeepAnswer)> m_keepHandler;
};

} // namespace tessel::test
