#pragma once

#include "clipboard/Pasteboard.h"

namespace tessel::test {

// A pasteboard in memory, with the counting rules of the real one. `writeExternal` stands for
// another application's copy.
class MemoryPasteboard final : public Pasteboard {
public:
    qint64 changeCount() const override { return m_changeCount; }
    QStringList types() const override { return m_item.types(); }
    std::optional<QByteArray> dataForType(const QString& type) const override;
    std::optional<QString> stringForType(const QString& type) const override;
    void clearContents() override;
    void writeItem(const PasteboardItem& item) override;

    bool reportsChanges() const override { return m_reportsChanges; }
    void setSnapshotHandler(SnapshotHandler handler) override { m_handler = std::move(handler); }

    void writeExternal(const PasteboardItem& item) { writeItem(item); }
    // Makes the pasteboard report changes, as the X11 one does, instead of being polled.
    void setReportsChanges(bool reports) { m_reportsChanges = reports; }
    // Another application's copy, handed to the handler the way a reader reports it: the
    // contents with the application active at the copy. Returns what was handed over.
    ClipboardSnapshot reportExternal(const PasteboardItem& item, const QString& applicationId = {});
    const PasteboardItem& contents() const { return m_item; }
    int writeCount() const { return m_writes; }

private:
    PasteboardItem m_item;
    qint64 m_changeCount = 1;
    int m_writes = 0;
    bool m_reportsChanges = false;
    SnapshotHandler m_handler;
};

} // namespace tessel::test
