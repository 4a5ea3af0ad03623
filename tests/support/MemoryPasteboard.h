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

    void writeExternal(const PasteboardItem& item) { writeItem(item); }
    const PasteboardItem& contents() const { return m_item; }
    int writeCount() const { return m_writes; }

private:
    PasteboardItem m_item;
    qint64 m_changeCount = 1;
    int m_writes = 0;
};

} // namespace tessel::test
