// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/style/IconProvider.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

// Q_INIT_RESOURCE must be used outside any namespace. The resources sit in a static library, and
// a linker keeps an archive member only when something refers to it: this call is that reference.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace tessel {
namespace {

struct SymbolRow {
    QLatin1StringView symbol;
    // A name from the freedesktop Icon Naming Specification where one fits (a few common
    // extensions where it has none); empty when no theme icon means the same thing.
    QLatin1StringView themeName;
};

// The one table of symbols. Each needs ":/icons/<symbol>.svg" in resources/icons.qrc.
constexpr std::array symbolTable{
    SymbolRow{"clipboard"_L1, {}},
    SymbolRow{"doc.on.clipboard"_L1, "edit-paste"_L1},
    SymbolRow{"gearshape"_L1, "preferences-system"_L1},
    SymbolRow{"gearshape.fill"_L1, "preferences-system"_L1},
    SymbolRow{"xmark"_L1, "window-close"_L1},
    SymbolRow{"face.smiling"_L1, "face-smile"_L1},
    SymbolRow{"quote.bubble"_L1, {}},
    SymbolRow{"function"_L1, {}},
    SymbolRow{"heart"_L1, "emblem-favorite"_L1},
    SymbolRow{"heart.fill"_L1, "emblem-favorite"_L1},
    SymbolRow{"magnifyingglass"_L1, "edit-find"_L1},
    SymbolRow{"ellipsis"_L1, "view-more"_L1},
    SymbolRow{"pin"_L1, {}},
    SymbolRow{"pin.fill"_L1, {}},
    SymbolRow{"lock.shield.fill"_L1, "security-high"_L1},
    SymbolRow{"checkmark.circle.fill"_L1, "emblem-default"_L1},
    SymbolRow{"keyboard"_L1, "input-keyboard"_L1},
    SymbolRow{"sparkles"_L1, {}},
    // The emoji picker's category bar.
    SymbolRow{"square.grid.2x2.fill"_L1, "view-grid"_L1},
    SymbolRow{"pawprint.fill"_L1, {}},
    SymbolRow{"cup.and.saucer.fill"_L1, {}},
    SymbolRow{"airplane"_L1, {}},
    SymbolRow{"sportscourt.fill"_L1, {}},
    SymbolRow{"lightbulb.fill"_L1, {}},
    SymbolRow{"asterisk"_L1, {}},
    SymbolRow{"flag.fill"_L1, {}},
    SymbolRow{"globe"_L1, "applications-internet"_L1},
    SymbolRow{"envelope.fill"_L1, "mail-message-new"_L1},
    SymbolRow{"slider.horizontal.3"_L1, {}},
    SymbolRow{"paintbrush"_L1, {}},
    SymbolRow{"lock.shield"_L1, {}},
    SymbolRow{"checkmark.shield.fill"_L1, {}},
    SymbolRow{"exclamationmark.shield.fill"_L1, {}},
    SymbolRow{"bolt.fill"_L1, {}},
    SymbolRow{"keyboard.fill"_L1, {}},
    SymbolRow{"shield.checkerboard"_L1, {}},
};

const SymbolRow* findRow(const QString& symbol)
{
    const auto it = std::find_if(symbolTable.begin(), symbolTable.end(),
                                 [&](const SymbolRow& row) { return row.symbol == symbol; });
    return it == symbolTable.end() ? nullptr : &*it;
}

void ensureResources()
{
    static const bool registered = (initIconResources(), true);
    Q_UNUSED(registered);
}

QColor paletteColour(QIcon::Mode mode)
{
    const QPalette palette = QGuiApplication::palette();
    switch (mode) {
    case QIcon::Disabled:
        return palette.color(QPalette::Disabled, QPalette::WindowText);
    case QIcon::Selected:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case QIcon::Normal:
    case QIcon::Active:
        break;
    }
    return palette.color(QPalette::Active, QPalette::WindowText);
}

// The shipped SVG drawn in the palette's colour of the moment, so a fallback icon follows
// theme switches without being rebuilt.
class SymbolIconEngine final : public QIconEngine {
public:
    explicit SymbolIconEngine(QString symbol)
        : m_symbol(std::move(symbol))
    {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Q_UNUSED(state);
        const int side = std::min(rect.width(), rect.height());
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QPixmap pm = IconProvider::pixmap(m_symbol, side, paletteColour(mode), dpr);
        painter->drawPixmap(rect.x() + (rect.width() - side) / 2,
                            rect.y() + (rect.height() - side) / 2, pm);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        Q_UNUSED(state);
        return IconProvider::pixmap(m_symbol, std::min(size.width(), size.height()),
                                    paletteColour(mode));
    }

    QIconEngine* clone() const override { return new SymbolIconEngine(m_symbol); }
    QString key() const override { return u"tessel-symbol"_s; }

private:
    QString m_symbol;
};

QIcon themedOrOwn(const QString& themeName, const QString& path)
{
    ensureResources();
    return QIcon::fromTheme(themeName, QIcon(path));
}

} // namespace

QStringList IconProvider::symbols()
{
    QStringList names;
    names.reserve(qsizetype(symbolTable.size()));
    for (const SymbolRow& row : symbolTable)
        names.append(row.symbol);
    return names;
}

bool IconProvider::contains(const QString& symbol)
{
    return findRow(symbol) != nullptr;
}

QString IconProvider::themeName(const QString& symbol)
{
    const SymbolRow* row = findRow(symbol);
    return row ? QString(row->themeName) : QString();
}

QString IconProvider::resourcePath(const QString& symbol)
{
    return contains(symbol) ? u":/icons/"_s + symbol + u".svg"_s : QString();
}

QIcon IconProvider::icon(const QString& symbol)
{
    const SymbolRow* row = findRow(symbol);
    if (!row)
        return {};
    QIcon own(new SymbolIconEngine(symbol));
    return row->themeName.isEmpty() ? own : QIcon::fromTheme(row->themeName, own);
}

QPixmap IconProvider::pixmap(const QString& symbol, int pixelSize, const QColor& tint,
                             qreal devicePixelRatio)
{
    if (pixelSize < 1 || !contains(symbol))
        return {};
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QString cacheKey = u"tessel-symbol/%1/%2/%3/%4"_s.arg(symbol)
                                 .arg(pixelSize)
                                 .arg(uint(tint.rgba()), 8, 16, QChar(u'0'))
                                 .arg(dpr);
    QPixmap cached;
    if (QPixmapCache::find(cacheKey, &cached))
        return cached;

    ensureResources();
    QFile file(resourcePath(symbol));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The SVGs paint in currentColor; an opaque colour here and the alpha applied afterwards
    // keep overlapping strokes from darkening where they cross.
    QByteArray svg = file.readAll();
    svg.replace("currentColor", tint.name(QColor::HexRgb).toLatin1());
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};

    const int side = qRound(pixelSize * dpr);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, side, side));
        if (tint.alpha() < 255) {
            painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            painter.fillRect(image.rect(), QColor(0, 0, 0, tint.alpha()));
        }
    }
    QPixmap result = QPixmap::fromImage(std::move(image));
    result.setDevicePixelRatio(dpr);
    QPixmapCache::insert(cacheKey, result);
    return result;
}

QIcon IconProvider::applicationIcon()
{
    return themedOrOwn(QStringLiteral(TESSEL_APP_ID), u":/icons/tessel.svg"_s);
}

QIcon IconProvider::trayIcon()
{
    return themedOrOwn(QStringLiteral(TESSEL_APP_ID "-tray"), u":/icons/tessel-tray.svg"_s);
}

} // namespace tessel
