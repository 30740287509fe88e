#include "tests/ui/drawntexts.h"

#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QScreen>
#include <QTextItem>

#include <cmath>
#include <memory>

namespace {
// Notes the texts and draws nothing; every other operation is a no-op, so
// the painter never falls back to emulating one.
class RecordingEngine : public QPaintEngine
{
public:
    explicit RecordingEngine(QList<drawntexts::Text>* out)
        : QPaintEngine(QPaintEngine::AllFeatures)
        , m_out(out)
    {
    }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return QPaintEngine::User; }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTiledPixmap(const QRectF&, const QPixmap&, const QPointF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
    void drawRects(const QRectF*, int) override {}
    void drawRects(const QRect*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawLines(const QLine*, int) override {}
    void drawEllipse(const QRectF&) override {}
    void drawEllipse(const QRect&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPoints(const QPointF*, int) override {}
    void drawPoints(const QPoint*, int) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}

    void drawTextItem(const QPointF& at, const QTextItem& item) override
    {
        QPainter* p = painter();
        const QTransform toWindow = p->deviceTransform();
        const QRectF logical(at.x(), at.y() - item.ascent(), item.width(),
                             item.ascent() + item.descent());
        drawntexts::Text t;
        t.widget = dynamic_cast<QWidget*>(p->device());
        t.text = item.text();
        t.box = toWindow.mapRect(logical);
        if (p->hasClipping())
            t.clip = toWindow.mapRect(p->clipBoundingRect());
        // One line split into runs: the pieces follow each other on one
        // baseline.
        if (!m_out->isEmpty()) {
            drawntexts::Text& last = m_out->last();
            if (last.widget == t.widget && last.clip == t.clip
                && std::abs(last.box.bottom() - t.box.bottom()) < 0.5
                && std::abs(last.box.right() - t.box.left()) < 0.5) {
                last.text += t.text;
                last.box |= t.box;
                return;
            }
        }
        m_out->append(t);
    }

private:
    QList<drawntexts::Text>* m_out;
};

class RecordingDevice : public QPaintDevice
{
public:
    RecordingDevice(QSize size, QList<drawntexts::Text>* out)
        : m_size(size)
        , m_engine(std::make_unique<RecordingEngine>(out))
    {
    }
    ~RecordingDevice() override = default;

    QPaintEngine* paintEngine() const override { return m_engine.get(); }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        // The screen's resolution, so that point sizes come out as on screen.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int dpiX = screen ? qRound(screen->logicalDotsPerInchX()) : 96;
        const int dpiY = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
        switch (m) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return m_size.width() * 254 / (10 * dpiX);
        case PdmHeightMM:
            return m_size.height() * 254 / (10 * dpiY);
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return dpiX;
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return dpiY;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    QSize m_size;
    std::unique_ptr<RecordingEngine> m_engine;
};
}

QList<drawntexts::Text> drawntexts::render(QWidget* window)
{
    QList<Text> texts;
    RecordingDevice device(window->size(), &texts);
    window->render(&device, QPoint(), QRegion(), QWidget::DrawChildren);
    return texts;
}

QRect drawntexts::windowRect(const QWidget* widget)
{
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}
