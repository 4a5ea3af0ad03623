// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/style/UiFonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// The size the design was drawn for: Qt's own default of 9 points at 96 dots per inch.
constexpr qreal kDesignPixels = 12.0;
} // namespace

qreal uiScale()
{
    const QFont font = QApplication::font();
    qreal pixels = font.pixelSize();
    if (pixels <= 0) {
        // Logical pixels: a screen scaled by Qt already multiplies them.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
        pixels = font.pointSizeF() * dpi / 72.0;
    }
    return std::clamp(pixels / kDesignPixels, 1.0, 3.0);
}

int scaled(int pixels)
{
    return int(std::lround(pixels * uiScale()));
}

QSize scaled(QSize size)
{
    const qreal scale = uiScale();
    return QSize(int(std::lround(size.width() * scale)), int(std::lround(size.height() * scale)));
}

QFont uiFont(int pixelSize, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(scaled(pixelSize));
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
