// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ClipboardSnapshot.h"

#include "clipboard/PasteboardTypes.h"

namespace tessel {

std::optional<QByteArray> ClipboardSnapshot::bytesFor(const QString& type) const
{
    if (const auto it = data.constFind(type); it != data.cend())
        return *it;
    if (type == PasteboardType::plainText && text)
        return text->toUtf8();
    return std::nullopt;
}

std::optional<QString> ClipboardSnapshot::stringFor(const QString& type) const
{
    if (type == PasteboardType::plainText)
        return text;
    const auto bytes = bytesFor(type);
    return bytes ? std::optional(QString::fromUtf8(*bytes)) : std::nullopt;
}

} // namespace tessel
