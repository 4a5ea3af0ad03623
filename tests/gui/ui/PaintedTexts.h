// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QTextItem>
#include <QWidget>
#include <climits>

namespace tessel::test {

// One run of text a window painted: what, in which font, where (in the window's logical
// pixels), where the painter could draw at that moment (the painting widget's visible part and
// the painter's clip), which widget painted it, and in which colour.
struct PaintedText {
    QString text;
    QFont font;
    QRectF rect;
    QRectF drawable;
    QPointer<QWidget> widget;
    QColor colour;
};

// A paint device that keeps the text painted on it, run by run, and draws nothing.
class TextRecorder : public QPaintDevice {
public:
    explicit TextRecorder(QSize size)
        : m_size(size)
    {}

    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QList<PaintedText>& texts() const { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return m_size.width() * 254 / 960;
        case PdmHeightMM:
            return m_size.height() * 254 / 960;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default: // the resolutions
            return 96;
        }
    }

private:
    struct Engine : QPaintEngine {
        Engine()
            : QPaintEngine(AllFeatures)
        {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawImage(const QRectF&, const QImage&, const QRectF&,
                       Qt::ImageConversionFlags) override
        {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& at, const QTextItem& item) override
        {
            const QPainter* painter = state->painter();
            const QTransform toDevice = state->transform();
            PaintedText text{item.text(), item.font(), {}, {}, {}, state->pen().color()};
            text.rect = toDevice.mapRect(QRectF(at.x(), at.y() - item.ascent(), item.width(),
                                                item.ascent() + item.descent()));
            text.drawable = QRectF(0, 0, INT_MAX, INT_MAX);
            if (!systemClip().isEmpty())
                text.drawable = systemClip().boundingRect();
            if (painter->hasClipping())
                text.drawable &= toDevice.mapRect(painter->clipBoundingRect());
            if (painter->device() && painter->device()->devType() == QInternal::Widget)
                text.widget = static_cast<QWidget*>(painter->device());
            texts << text;
        }
        Type type() const override { return User; }

        QList<PaintedText> texts;
    };
    QSize m_size;
    mutable Engine m_engine;
};

// Every run of text `window` paints, as it shows now.
inline QList<PaintedText> paintedTexts(QWidget* window)
{
    TextRecorder device(window->size());
    window->render(&device);
    return device.texts();
}

} // namespace tessel::test
