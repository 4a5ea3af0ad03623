// SPDX-License-Identifier: GPL-3.0-or-later
#include "pickers/SearchText.h"

namespace tessel::SearchText {

namespace {

bool isSpaceOrTab(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

} // namespace

QString withoutMarks(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString kept;
    kept.reserve(decomposed.size());
    const qsizetype size = decomposed.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = decomposed.at(i);
        // Marks beyond the first plane (variation selectors 17 to 256, musical marks) come as
        // surrogate pairs.
        const bool pair =
            c.isHighSurrogate() && i + 1 < size && decomposed.at(i + 1).isLowSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(c, decomposed.at(i + 1)) : c.unicode();
        if (QChar::category(code) != QChar::Mark_NonSpacing) {
            kept += c;
            if (pair)
                kept += decomposed.at(i + 1);
        }
        if (pair)
            ++i;
    }
    // Text without marks, the common case, keeps sharing its characters.
    return kept.size() == decomposed.size() ? decomposed : kept;
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
