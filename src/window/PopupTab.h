// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace tessel {

// The popup's tabs, in the order the tab row shows them.
enum class PopupTab { clipboard, emoji, kaomoji, symbols, favorites };

inline constexpr std::array allPopupTabs{PopupTab::clipboard, PopupTab::emoji, PopupTab::kaomoji,
                                         PopupTab::symbols, PopupTab::favorites};

QString rawValue(PopupTab tab);
// Nothing for a string that names no tab.
std::optional<PopupTab> popupTabFromRaw(const QString& raw);

// The tabs whose content is a character picker (they show the search field).
bool isPickerTab(PopupTab tab);

} // namespace tessel
