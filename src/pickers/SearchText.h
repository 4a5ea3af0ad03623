// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

// The comparison rules shared by the pickers' and the history's searches: locale-independent
// Unicode lower-casing, and substring tests that ignore accents and other combining marks both
// ways ("coracao" finds "coração" and "coração" finds "coracao"), so that canonically
// equivalent sequences compare equal too.
namespace SearchText {

// `text` decomposed (NFD) with its non-spacing marks dropped: "Niño" gives "Nino", a decomposed
// "é" and a precomposed one both give "e". Linear in the length of `text`.
QString withoutMarks(const QString& text);

// The form in which texts are compared: lower-cased, then without marks.
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
