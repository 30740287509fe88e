#include "canvas.h"

#include <QLinearGradient>
#include <QtMath>

Canvas::Canvas(int width, int height)
    : m_image(width, height, QImage::Format_ARGB32_Premultiplied)
{
    m_image.fill(Qt::transparent);
    m_painter = std::make_unique<QPainter>(&m_image);
    m_painter->setRenderHint(QPainter::Antialiasing);
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform);
}

QImage Canvas::take()
{
    m_painter.reset();
    return m_image.convertToFormat(QImage::Format_ARGB32);
}

QPen roundPen(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QBrush shade(const QColor& colour, qreal top, qreal bottom)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, colour.lighter(125));
    g.setColorAt(1, colour.darker(108));
    return QBrush(g);
}

void shadedShape(QPainter& p, const QPainterPath& shape, const QColor& colour, qreal edgeWidth)
{
    const QRectF box = shape.boundingRect();
    p.setPen(edgeWidth > 0 ? roundPen(ink::edge(colour), edgeWidth) : QPen(Qt::NoPen));
    p.setBrush(shade(colour, box.top(), box.bottom()));
    p.drawPath(shape);
}

void tile(QPainter& p, const QRectF& box, const QColor& colour)
{
    const qreal radius = box.width() * 0.22;
    QPainterPath body;
    body.addRoundedRect(box, radius, radius);
    shadedShape(p, body, colour);
    // A faint gloss on the upper half keeps tiles lively without noise.
    QPainterPath gloss;
    gloss.addRoundedRect(box.adjusted(1, 1, -1, -box.height() * 0.5), radius - 1, radius - 1);
    QLinearGradient g(0, box.top(), 0, box.center().y());
    g.setColorAt(0, QColor(255, 255, 255, 70));
    g.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(gloss);
}

QPainterPath arrow(QPointF from, QPointF to, qreal shaft, qreal head, qreal headLength)
{
    const QLineF line(from, to);
    const qreal length = line.length();
    QPainterPath path;
    path.moveTo(0, -shaft / 2);
    path.lineTo(length - headLength, -shaft / 2);
    path.lineTo(length - headLength, -head / 2);
    path.lineTo(length, 0);
    path.lineTo(length - headLength, head / 2);
    path.lineTo(length - headLength, shaft / 2);
    path.lineTo(0, shaft / 2);
    path.closeSubpath();
    QTransform t;
    t.translate(from.x(), from.y());
    t.rotate(-line.angle());
    return t.map(path);
}

QPainterPath gear(QPointF centre, qreal outer, qreal inner, int teeth, qreal hole)
{
    QPainterPath path;
    const int steps = teeth * 4;
    for (int i = 0; i < steps; ++i) {
        // Each tooth: two points out, two points in, slightly tapered.
        const qreal a = 2 * M_PI * (i - 0.5) / steps;
        const bool out = (i % 4) == 1 || (i % 4) == 2;
        const qreal r = out ? outer : inner;
        const qreal step = 2 * M_PI / steps;
        const qreal taper = out ? ((i % 4) == 1 ? 0.2 * step : -0.2 * step) : 0.0;
        const QPointF pt(centre.x() + r * qCos(a + taper), centre.y() + r * qSin(a + taper));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    path.addEllipse(centre, hole, hole);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

QPainterPath star(QPointF centre, qreal outer, qreal inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const qreal r = (i % 2 == 0) ? outer : inner;
        const QPointF pt(centre.x() + r * qCos(a), centre.y() + r * qSin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}
