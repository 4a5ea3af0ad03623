// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/DisplayText.h"

#include <QTextBoundaryFinder>

namespace tessel::DisplayText {

namespace {
// White space that collapses and marks that are left out cost input without output: the text
// looked at is bounded by this multiple of the output.
constexpr qsizetype kInputPerOutputUnit = 32;

bool isMark(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

// The code point at `i` and how many code units it takes.
std::pair<char32_t, qsizetype> codePointAt(const QString& text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text.at(i + 1)), 2};
    return {c.unicode(), 1};
}

// The output as it grows: the text's own first characters for as long as nothing was changed,
// a copy of its own from the first change on.
class Output {
public:
    explicit Output(const QString& text)
        : m_text(text)
    {}

    qsizetype size() const { return m_changed ? m_copy.size() : m_taken; }

    // Takes the `count` units of the text at `from` unchanged.
    void take(qsizetype from, qsizetype count)
    {
        if (m_changed)
            m_copy.append(QStringView(m_text).sliced(from, count));
        else
            m_taken += count;
    }
    // What comes next in the text is left out, or stands for `replacement`.
    void leaveOut() { startCopy(); }
    void put(QChar replacement)
    {
        startCopy();
        m_copy.append(replacement);
    }

    QString result() const { return m_changed ? m_copy : m_text.left(m_taken); }

private:
    void startCopy()
    {
        if (!m_changed) {
            m_copy = m_text.left(m_taken);
            m_changed = true;
        }
    }

    const QString& m_text;
    QString m_copy;
    qsizetype m_taken = 0;
    bool m_changed = false;
};
} // namespace

Prefix prefix(const QString& text, qsizetype maxUnits, bool oneLine)
{
    const qsizetype size = text.size();
    const qsizetype inputLimit =
        maxUnits >= size / kInputPerOutputUnit ? size : maxUnits * kInputPerOutputUnit;
    Output out(text);
    int marks = 0;
    qsizetype i = 0;
    while (i < inputLimit) {
        const auto [c, units] = codePointAt(text, i);
        if (oneLine && QChar::isSpace(c)) {
            qsizetype end = i + units;
            while (end < inputLimit && QChar::isSpace(codePointAt(text, end).first))
                end += codePointAt(text, end).second;
            if (end == inputLimit && end < size) {
                i = end;
                break; // the run goes on past what is looked at
            }
            const bool dropped = out.size() == 0 || end == size;
            if (!dropped && out.size() + 1 > maxUnits)
                break;
            if (dropped)
                out.leaveOut();
            else if (end == i + 1 && c == u' ')
                out.take(i, 1);
            else
                out.put(u' ');
            marks = 0;
            i = end;
            continue;
        }
        if (isMark(c)) {
            if (++marks > maxMarksInARow) {
                out.leaveOut();
                i += units;
                continue;
            }
        } else {
            marks = 0;
        }
        if (out.size() + units > maxUnits)
            break;
        out.take(i, units);
        i += units;
    }
    return {out.result(), i >= size};
}

std::pair<QString, bool> firstGraphemes(const QString& text, qsizetype count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype seen = 0;
    while (seen < count) {
        if (finder.toNextBoundary() == -1)
            return {text, false};
        ++seen;
    }
    const qsizetype end = finder.position();
    return {text.left(end), end < text.size()};
}

} // namespace tessel::DisplayText
