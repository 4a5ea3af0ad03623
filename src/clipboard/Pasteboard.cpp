// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/Pasteboard.h"

#include <algorithm>

namespace tessel {

void PasteboardItem::setData(const QString& type, const QByteArray& bytes)
{
    const auto it = std::find_if(m_values.begin(), m_values.end(),
                                 [&](const auto& pair) { return pair.first == type; });
    if (it != m_values.end())
        it->second = bytes;
    else
        m_values.append({type, bytes});
}

QStringList PasteboardItem::types() const
{
    QStringList result;
    result.reserve(m_values.size());
    for (const auto& [type, bytes] : m_values)
        result.append(type);
    return result;
}

std::optional<QByteArray> PasteboardItem::data(const QString& type) const
{
    for (const auto& [t, bytes] : m_values) {
        if (t == type)
            return bytes;
    }
    return std::nullopt;
}

} // namespace tessel
