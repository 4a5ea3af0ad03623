// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QTextLayout;
class QFont;

namespace tessel {

// The text a preview shows of an entry: however long the entry, only a bounded beginning of it is
// ever laid out.
namespace PreviewText {

struct Prefix {
    // The beginning, with its line breaks as QTextLayout takes them.
    QString text;
    // Whether the entry goes on beyond it.
    bool cut = false;
};

// The first `maxLines` lines of `text`, and at most `maxChars` characters of them.
Prefix prefix(const QString& text, int maxLines, qsizetype maxChars);

// The number of lines and of characters (code points) of the whole text.
struct Size {
    qsizetype lines = 0;
    qsizetype characters = 0;
};
Size sizeOf(const QString& text);

// Lays `layout`'s text out in `width` with `font`, wrapping anywhere a word is too long, at most
// `maxLines` lines; returns the height used.
int layOut(QTextLayout& layout, const QFont& font, int width, int maxLines);

} // namespace PreviewText
} // namespace tessel
