// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>
#include <span>

namespace tessel {

struct StringTableEntry {
    QStringView key;
    QStringView text;
};

using StringTable = std::span<const StringTableEntry>;

// The built-in interface texts, one table per language, every table with the same keys in the
// same order. Texts with "%@" are format strings filled in order by the caller.
StringTable englishStrings();
StringTable portugueseStrings();
StringTable spanishStrings();

} // namespace tessel
