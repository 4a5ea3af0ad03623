// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The part of a copied text that is shown or searched. A text can be megabytes long, or one letter
// under millions of combining marks: laying out, normalising or even scanning all of it would
// freeze the interface at every paint, so only a bounded prefix is ever looked at.
namespace tessel::DisplayText {

// Combining marks kept after one character; real scripts stack a few, not more.
inline constexpr int maxMarksInARow = 8;

struct Prefix {
    QString text;
    // Whether the whole text was looked at (marks beyond the limit do not count).
    bool complete = true;
};

// The start of `text`, at most `maxUnits` UTF-16 code units long, with at most `maxMarksInARow`
// combining marks after any character (the others are left out). With `oneLine`, white space at
// the start is dropped and every run of white space, line breaks included, becomes one space.
// Looks at no more than a bounded multiple of `maxUnits` of the text; a text that needs no change
// is returned as it is, sharing its characters.
Prefix prefix(const QString& text, qsizetype maxUnits, bool oneLine);

// The first `count` user-perceived characters (grapheme clusters) of `text`, and whether there
// were more.
std::pair<QString, bool> firstGraphemes(const QString& text, qsizetype count);

} // namespace tessel::DisplayText
