// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtGlobal>

namespace tessel {

namespace {

// Texts that no view shows at present: fixed history sizes (the picker now counts with the
// plural "items_count_format"), an update check and the first-start explanation's quit button.
// Listed so that the translation files keep them, translated, for a view that shows them again.
[[maybe_unused]] constexpr const char* unshownTexts[] = {
    //% "25 items"
    QT_TRID_NOOP("items_count_25"),
    //% "50 items"
    QT_TRID_NOOP("items_count_50"),
    //% "100 items"
    QT_TRID_NOOP("items_count_100"),
    //% "Check for Updates"
    QT_TRID_NOOP("check_updates"),
    //% "You are on the latest version! (1.0.0)"
    QT_TRID_NOOP("latest_version"),
    //% "Quit Tessel"
    QT_TRID_NOOP("quit_app"),
};

} // namespace

} // namespace tessel
