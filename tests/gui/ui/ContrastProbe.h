// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/style/Theme.h"

#include <QHash>
#include <QImage>
#include <QString>
#include <QWidget>
#include <algorithm>

// Contrast measured in the pixels a widget draws: the colour most of an area is filled with is
// the background, and the pixel that stands out most from it is the core of the text.
namespace tessel::test {

inline QImage pixels(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The colour covering most of `area`: the background its text is drawn on. Colours a few levels
// apart count as one (a button's gradient is one background), and their average is returned.
inline QColor dominant(const QImage& image, const QRect& area)
{
    struct Bucket {
        int count = 0;
        qint64 red = 0, green = 0, blue = 0;
    };
    QHash<int, Bucket> buckets;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            Bucket& bucket =
                buckets[(qRed(pixel) >> 4) << 8 | (qGreen(pixel) >> 4) << 4 | qBlue(pixel) >> 4];
            ++bucket.count;
            bucket.red += qRed(pixel);
            bucket.green += qGreen(pixel);
            bucket.blue += qBlue(pixel);
        }
    }
    Bucket best;
    for (const Bucket& bucket : std::as_const(buckets)) {
        if (bucket.count > best.count)
            best = bucket;
    }
    if (best.count == 0)
        return QColor(Qt::black);
    return QColor(int(best.red / best.count), int(best.green / best.count),
                  int(best.blue / best.count));
}

// The strongest contrast a pixel of `area` makes with `background`: the core of the glyphs.
inline double strongest(const QImage& image, const QRect& area, const QColor& background)
{
    double best = 1;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            best = std::max(best, Theme::contrast(QColor(image.pixel(x, y)), background));
    }
    return best;
}

// What a text drawn in `widget` (a label, a menu...) measures against its background.
struct Reading {
    QColor background;
    double contrast;
};
inline Reading measure(QWidget* widget, QRect area = {})
{
    const QImage image = pixels(widget);
    if (area.isNull())
        area = image.rect();
    const QColor background = dominant(image, area);
    return {background, strongest(image, area, background)};
}

inline QString describe(const QString& what, const Reading& reading)
{
    return QStringLiteral("%1: %2 on %3")
        .arg(what)
        .arg(reading.contrast, 0, 'f', 2)
        .arg(reading.background.name());
}

// Antialiasing leaves thin glyphs a little short of their colour; the measured cores of text in
// a role that reads at 4.5:1 come within this of it, and a wrong colour falls far below.
inline constexpr double kTextFloor = 4.0;
} // namespace tessel::test
