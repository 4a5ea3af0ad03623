// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1StringView>
#include <QtGlobal>
#include <array>

namespace tessel {

struct EmojiCategory {
    // The name the catalogue data uses (exact, case-sensitive).
    QLatin1StringView name;
    // The category button's icon, by symbol name; the views map it to an icon of the theme or
    // to one shipped with Tessel.
    QLatin1StringView icon;
    // The text id of the name its button has for screen readers and as its tool tip.
    const char* titleId;
};

// The categories the emoji picker offers, in its order. Records with any other category are
// still loaded and searched; they just belong to no category button.
inline constexpr std::array<EmojiCategory, 8> emojiCategories{{
    //% "Smileys & People"
    {QLatin1StringView("Smileys & Body"), QLatin1StringView("face.smiling"),
     QT_TRID_NOOP("emoji_category_smileys")},
    //% "Animals & Nature"
    {QLatin1StringView("Animals & Nature"), QLatin1StringView("pawprint.fill"),
     QT_TRID_NOOP("emoji_category_animals")},
    //% "Food & Drink"
    {QLatin1StringView("Food & Drink"), QLatin1StringView("cup.and.saucer.fill"),
     QT_TRID_NOOP("emoji_category_food")},
    //% "Travel & Places"
    {QLatin1StringView("Travel & Places"), QLatin1StringView("airplane"),
     QT_TRID_NOOP("emoji_category_travel")},
    //% "Activities"
    {QLatin1StringView("Activities"), QLatin1StringView("sportscourt.fill"),
     QT_TRID_NOOP("emoji_category_activities")},
    //% "Objects"
    {QLatin1StringView("Objects"), QLatin1StringView("lightbulb.fill"),
     QT_TRID_NOOP("emoji_category_objects")},
    //% "Symbols"
    {QLatin1StringView("Symbols"), QLatin1StringView("asterisk"),
     QT_TRID_NOOP("emoji_category_symbols")},
    //% "Flags"
    {QLatin1StringView("Flags"), QLatin1StringView("flag.fill"),
     QT_TRID_NOOP("emoji_category_flags")},
}};

// Icon of the all-categories button, and of a category without one of its own.
inline constexpr auto allEmojiCategoriesIcon = QLatin1StringView("square.grid.2x2.fill");
inline constexpr auto defaultEmojiCategoryIcon = QLatin1StringView("asterisk");

// The category of a stored recent that was saved without one.
inline constexpr auto fallbackEmojiCategory = QLatin1StringView("Outros");

} // namespace tessel
