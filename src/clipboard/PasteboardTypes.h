// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1StringView>

// Pasteboard type identifiers that Tessel names itself. Every other type is reported as the
// platform names it.
namespace tessel::PasteboardType {

using namespace Qt::StringLiterals;

inline constexpr auto plainText = "public.utf8-plain-text"_L1;
inline constexpr auto png = "public.png"_L1;
inline constexpr auto tiff = "public.tiff"_L1;
// Marks content that clipboard histories should not record.
inline constexpr auto transient = "org.nspasteboard.TransientType"_L1;

} // namespace tessel::PasteboardType
