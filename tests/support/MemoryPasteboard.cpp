#include "support/MemoryPasteboard.h"

namespace tessel::test {

std::optional<QByteArray> MemoryPasteboard::dataForType(const QString& type) const
{
    return m_item.data(type);
}

std::optional<QString> MemoryPasteboard::stringForType(const QString& type) const
{
    const auto bytes = m_item.data(type);
    if (!bytes)
        return std::nullopt;
    return QString::fromUtf8(*bytes);
}

void MemoryPasteboard::clearContents()
{
    m_item = {};
    ++m_changeCount;
}

void MemoryPasteboard::writeItem(const PasteboardItem& item)
{
    m_item = item;
    ++m_changeCount;
    ++m_writes;
}

} // namespace tessel::test
