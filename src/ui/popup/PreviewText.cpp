// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/PreviewText.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <cmath>

namespace tessel::PreviewText {

Prefix prefix(const QString& text, int maxLines, qsizetype maxChars)
{
    qsizetype end = 0;
    int lines = 0;
    while (end < text.size() && end < maxChars) {
        if (text.at(end) == u'\n' && ++lines == maxLines)
            break;
        ++end;
    }
    // Never between the two halves of a surrogate pair.
    if (end > 0 && end < text.size() && text.at(end - 1).isHighSurrogate())
        --end;
    Prefix result{text.left(end), end < text.size()};
    result.text.remove(u'\r');
    result.text.replace(u'\n', QChar::LineSeparator);
    return result;
}

Size sizeOf(const QString& text)
{
    Size size;
    if (text.isEmpty())
        return size;
    size.lines = text.count(u'\n') + 1;
    for (const QChar ch : text) {
        if (!ch.isLowSurrogate())
            ++size.characters;
    }
    return size;
}

int layOut(QTextLayout& layout, const QFont& font, int width, int maxLines)
{
    layout.setFont(font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tabs as editors show them, four spaces wide.
    option.setTabStopDistance(4 * QFontMetricsF(font).horizontalAdvance(u' '));
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (int lines = 0; lines < maxLines; ++lines) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return int(std::ceil(y));
}

} // namespace tessel::PreviewText
