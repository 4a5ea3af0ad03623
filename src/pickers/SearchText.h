// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

// The comparison rules shared by the three pickers' searches: locale-independent Unicode
// lower-casing, and substring tests that treat canonically equivalent sequences as equal.
namespace SearchText {

// The form in which texts are compared: lower-cased, then composed (NFC), so that a decomposed
// "é" and a precomposed one become the same code units.
QString comparable(const QString& text);

// Removes white space from both ends: Unicode space separators and tab, but not line breaks.
QString trimSpacesAndTabs(const QString& text);

// The emoji picker's query: spaces and tabs trimmed, then in comparable form.
QString emojiQuery(const QString& searchText);

// The kaomoji and symbol pickers' query: white space and line breaks trimmed, then in
// comparable form.
QString textPickerQuery(const QString& searchText);

} // namespace SearchText
} // namespace tessel
