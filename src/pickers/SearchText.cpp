// SPDX-License-Identifier: GPL-3.0-or-later
#include "pickers/SearchText.h"

#include <QList>
#include <QStringView>
#include <algorithm>
#include <array>

namespace tessel::SearchText {

namespace {

bool isSpaceOrTab(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

constexpr char32_t kHangulFirst = 0xAC00;
constexpr char32_t kHangulLast = 0xD7A3;

// Appends `code` decomposed canonically, recursively, with its non-spacing marks left out.
// Hangul syllables stay whole: they hold no marks, and both sides of a comparison keep them so.
void appendWithoutMarks(QString& out, char32_t code)
{
    if (QChar::category(code) == QChar::Mark_NonSpacing)
        return;
    if (QChar::decompositionTag(code) == QChar::Canonical &&
        (code < kHangulFirst || code > kHangulLast)) {
        for (const uint part : QChar::decomposition(code).toUcs4())
            appendWithoutMarks(out, part);
        return;
    }
    if (QChar::requiresSurrogates(code)) {
        out += QChar(QChar::highSurrogate(code));
        out += QChar(QChar::lowSurrogate(code));
    } else {
        out += QChar(char16_t(code));
    }
}

// Accented Latin letters are most of what a text decomposes: their forms, from Qt's data, are
// made once (U+00C0 to U+024F) rather than a string per letter.
constexpr char32_t kLatinFirst = 0xC0;
constexpr char32_t kLatinEnd = 0x250;

const std::array<QString, kLatinEnd - kLatinFirst>& latinForms()
{
    static const auto forms = [] {
        std::array<QString, kLatinEnd - kLatinFirst> made;
        for (char32_t code = kLatinFirst; code < kLatinEnd; ++code)
            appendWithoutMarks(made[code - kLatinFirst], code);
        return made;
    }();
    return forms;
}

} // namespace

QString withoutMarks(const QString& text)
{
    // Below U+00C0 no character decomposes and none is a mark: most text is left as it is,
    // sharing its characters.
    const auto plain = [](QChar c) { return c.unicode() < 0xC0; };
    const qsizetype first = std::find_if_not(text.cbegin(), text.cend(), plain) - text.cbegin();
    if (first == text.size())
        return text;
    QString kept;
    kept.reserve(text.size());
    kept.append(QStringView(text).first(first));
    // Decomposed one character at a time: QString::normalized() moves the rest of the text at
    // every character it decomposes, seconds for a megabyte of Portuguese.
    const qsizetype size = text.size();
    for (qsizetype i = first; i < size; ++i) {
        const QChar c = text.at(i);
        if (plain(c)) {
            kept += c;
        } else if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            appendWithoutMarks(kept, QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
        } else if (c.unicode() >= kLatinFirst && c.unicode() < kLatinEnd) {
            kept += latinForms()[c.unicode() - kLatinFirst];
        } else {
            appendWithoutMarks(kept, c.unicode());
        }
    }
    return kept;
}

QString comparable(const QString& text)
{
    // Lower-casing first: a case mapping can leave a sequence that decomposition then splits.
    return withoutMarks(text.toLower());
}

QString trimSpacesAndTabs(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpaceOrTab(text.at(begin)))
        ++begin;
    while (end > begin && isSpaceOrTab(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

QString emojiQuery(const QString& searchText)
{
    return comparable(trimSpacesAndTabs(searchText));
}

QString textPickerQuery(const QString& searchText)
{
    // QString::trimmed drops exactly the Unicode white space and line-break characters.
    return comparable(searchText.trimmed());
}

} // namespace tessel::SearchText
