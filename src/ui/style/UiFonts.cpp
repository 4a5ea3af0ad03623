// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/style/UiFonts.h"

#include <QApplication>
#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace tessel {

QFont uiFont(int pixelSize, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

QFont emojiFont(int pixelSize)
{
    static const QStringList colourFamilies = [] {
        QStringList found;
        for (const QString& family : QFontDatabase::families()) {
            if (family.contains("Color Emoji"_L1, Qt::CaseInsensitive) ||
                family.contains("Colour Emoji"_L1, Qt::CaseInsensitive))
                found.append(family);
        }
        return found;
    }();
    QFont font = uiFont(pixelSize);
    font.setFamilies(colourFamilies + font.families() + QStringList{font.family()});
    return font;
}

} // namespace tessel
