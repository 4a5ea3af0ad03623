// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/Pasteboard.h"

#include <algorithm>

namespace tessel {

std::optional<QByteArray> PasteboardValue::resolve() const
{
    if (producer)
        return producer();
    return bytes;
}

void PasteboardItem::set(PasteboardValue value)
{
    const auto it = std::find_if(m_values.begin(), m_values.end(),
                                 [&](const auto& held) { return held.type == value.type; });
    if (it != m_values.end())
        *it = std::move(value);
    else
        m_values.append(std::move(value));
}

void PasteboardItem::setData(const QString& type, const QByteArray& bytes)
{
    set({type, bytes, {}});
}

void PasteboardItem::setDeferred(const QString& type, PasteboardProducer producer)
{
    set({type, {}, std::move(producer)});
}

QStringList PasteboardItem::types() const
{
    QStringList result;
    result.reserve(m_values.size());
    for (const auto& value : m_values)
        result.append(value.type);
    return result;
}

std::optional<QByteArray> PasteboardItem::data(const QString& type) const
{
    for (const auto& value : m_values) {
        if (value.type == type)
            return value.resolve();
    }
    return std::nullopt;
}

} // namespace tessel
