#include "support/MemoryPasteboard.h"

#include "clipboard/PasteboardTypes.h"

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

ClipboardSnapshot MemoryPasteboard::reportExternal(const PasteboardItem& item,
                                                   const QString& applicationId)
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
    if (const auto text = stringForType(PasteboardType::plainText))
        snapshot.text = text;
    if (m_handler)
        m_handler(snapshot);
    return snapshot;
}

} // namespace tessel::test
