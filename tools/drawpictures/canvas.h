#pragma once

// Drawing helpers shared by every picture: the palette (the toolkit's own
// colours plus a few accents), a transparent antialiased canvas, and the
// shapes that recur (shaded fills, tiles, arrows, gears, stars).
#include "ezx/zskin.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <memory>

struct Picture
{
    QString path;  // relative to the repository
    QImage image;
};
using Pictures = QList<Picture>;

namespace ink {
inline QColor navy() { return zskin::titleBottom(); }
inline QColor steel() { return zskin::titleTop(); }
inline QColor blue() { return zskin::highlight(); }
inline QColor paper() { return zskin::background(); }
inline QColor rule() { return zskin::rule(); }
inline QColor slate() { return zskin::dimText(); }
inline QColor dark() { return zskin::text(); }
inline QColor white() { return QColor(Qt::white); }
// Accents, chosen to sit well beside the blues above.
inline QColor green() { return QColor(0x2e, 0x9e, 0x5b); }
inline QColor red() { return QColor(0xd0, 0x45, 0x3a); }
inline QColor amber() { return QColor(0xe8, 0x9a, 0x2c); }
inline QColor gold() { return QColor(0xf4, 0xb9, 0x30); }
inline QColor rust() { return QColor(0xc0, 0x5a, 0x28); }
inline QColor teal() { return QColor(0x1c, 0x93, 0x96); }
inline QColor purple() { return QColor(0x76, 0x57, 0xc4); }
inline QColor magenta() { return QColor(0xc2, 0x3f, 0x86); }
inline QColor graphite() { return QColor(0x3a, 0x41, 0x4a); }
// The darker line drawn around a filled shape.
inline QColor edge(const QColor& fill) { return fill.darker(155); }
}

// A transparent picture with an antialiased painter on it.
class Canvas
{
public:
    Canvas(int width, int height);
    QPainter& painter() { return *m_painter; }
    QImage take();

private:
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
};

QPen roundPen(const QColor& colour, qreal width);
// A top-lit fill of the colour (lighter at the top, as the title bar).
QBrush shade(const QColor& colour, qreal top, qreal bottom);
// Fills a shape with the shaded colour and draws its darker edge.
void shadedShape(QPainter& p, const QPainterPath& shape, const QColor& colour, qreal edgeWidth = 1.0);

// A rounded application tile, the background of row and launcher icons.
void tile(QPainter& p, const QRectF& box, const QColor& colour);

QPainterPath arrow(QPointF from, QPointF to, qreal shaft, qreal head, qreal headLength);
QPainterPath gear(QPointF centre, qreal outer, qreal inner, int teeth, qreal hole);
QPainterPath star(QPointF centre, qreal outer, qreal inner);
