// SPDX-License-Identifier: GPL-3.0-or-later
#include "pickers/SearchText.h"

namespace tessel::SearchText {

namespace {

bool isSpaceOrTab(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

} // namespace

QString comparable(const QString& text)
{
    // Lower-casing first: a case mapping can leave a sequence that composition then merges.
    return text.toLower().normalized(QString::NormalizationForm_C);
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
