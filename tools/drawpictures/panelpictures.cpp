// The side panel of the task page: CPU, RAM and SWAP pictures with their
// gauges, and the covers the program sizes over the gauges.
//
// The panel is 50 pixels wide. The CPU picture carries a vertical gauge
// (8×40) at its right edge, drawn fully lit; the program lays the unlit
// cover (progressv.png) over its top and shortens it as the load grows, so
// the lit part rises from the bottom. RAM and SWAP carry a horizontal gauge
// (48×6) along their bottom edge from x 0; the cover (progress.png) lies over
// its left part and the lit part left free at the right shows the free
// memory. Covers and gauges share one cell pattern so that they line up.
#include "pictures.h"

#include <QLinearGradient>

namespace {

constexpr int panelWidth = 50;
constexpr int cpuHeight = 40;
constexpr int cpuGaugeWidth = 8;
constexpr int cpuGaugeHeight = 40;
constexpr int memoryHeight = 40;
constexpr int memoryGaugeWidth = 48;
constexpr int memoryGaugeHeight = 6;

const QColor track(0x2a, 0x30, 0x37);
const QColor unlitCell(0x4b, 0x54, 0x5f);

// Load colours from calm to busy.
QColor loadColour(qreal busy)
{
    const QColor calm(0x3c, 0xc4, 0x6e), warm(0xf2, 0xb2, 0x2e), hot(0xe8, 0x4a, 0x3c);
    auto mix = [](const QColor& a, const QColor& b, qreal t) {
        return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                                a.blueF() + (b.blueF() - a.blueF()) * t);
    };
    return busy < 0.5 ? mix(calm, warm, busy * 2) : mix(warm, hot, (busy - 0.5) * 2);
}

// Vertical gauge at (x, 0): 13 cells of 2 pixels with 1-pixel gaps inside a
// 1-pixel margin. lit: the cells glow in the colour of their load.
void verticalGauge(QPainter& p, int x, bool lit)
{
    p.setPen(Qt::NoPen);
    p.setBrush(track);
    p.drawRoundedRect(QRectF(x, 0, cpuGaugeWidth, cpuGaugeHeight), 1.5, 1.5);
    const int cells = 13;
    for (int k = 0; k < cells; ++k) {
        const int y = 1 + k * 3;
        const qreal busy = 1.0 - qreal(k) / (cells - 1);  // top cell = full load
        p.setBrush(lit ? loadColour(busy) : unlitCell);
        p.drawRect(QRect(x + 1, y, cpuGaugeWidth - 2, 2));
    }
}

// Horizontal gauge at (0, y): 15 cells of 2 pixels with 1-pixel gaps inside
// a margin of 2 pixels at the ends and 1 pixel at top and bottom.
void horizontalGauge(QPainter& p, int y, bool lit, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(track);
    p.drawRoundedRect(QRectF(0, y, memoryGaugeWidth, memoryGaugeHeight), 1.5, 1.5);
    for (int k = 0; k < 15; ++k) {
        QLinearGradient g(0, y + 1, 0, y + memoryGaugeHeight - 1);
        g.setColorAt(0, colour.lighter(130));
        g.setColorAt(1, colour);
        p.setBrush(lit ? QBrush(g) : QBrush(unlitCell));
        p.drawRect(QRect(2 + k * 3, y + 1, 2, memoryGaugeHeight - 2));
    }
}

QImage cpu()
{
    Canvas canvas(panelWidth, cpuHeight);
    QPainter& p = canvas.painter();
    // A processor chip, pins on every side.
    const QRectF body(9.5, 8.5, 23, 23);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xa9, 0xb3, 0xbe));
    for (int i = 0; i < 5; ++i) {
        const qreal at = 11.0 + i * 4.0;
        p.drawRect(QRectF(at, 4, 2, 5));       // top
        p.drawRect(QRectF(at, 31, 2, 5));      // bottom
        p.drawRect(QRectF(5, at - 1, 5, 2));   // left
        p.drawRect(QRectF(32, at - 1, 5, 2));  // right
    }
    QPainterPath chip;
    chip.addRoundedRect(body, 2.5, 2.5);
    shadedShape(p, chip, ink::graphite(), 1.0);
    QPainterPath die;
    die.addRoundedRect(QRectF(14.5, 13.5, 13, 13), 1.5, 1.5);
    shadedShape(p, die, ink::blue(), 1.0);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.0));
    p.drawLine(QPointF(17.5, 17.5), QPointF(24.5, 17.5));
    p.drawLine(QPointF(17.5, 20.5), QPointF(24.5, 20.5));
    p.drawLine(QPointF(17.5, 23.5), QPointF(21.5, 23.5));
    p.setPen(Qt::NoPen);
    p.setBrush(ink::white());
    p.drawEllipse(QPointF(12.6, 11.6), 1.0, 1.0);  // pin-one mark
    verticalGauge(p, panelWidth - cpuGaugeWidth, true);
    return canvas.take();
}

QImage ram()
{
    Canvas canvas(panelWidth, memoryHeight);
    QPainter& p = canvas.painter();
    // A memory module: board, chips, gold contacts with a key notch.
    QPainterPath board;
    board.addRoundedRect(QRectF(2.5, 6.5, 43, 22), 1.5, 1.5);
    QPainterPath notch;
    notch.addRect(QRectF(28, 26, 3, 4));
    shadedShape(p, board.subtracted(notch), QColor(0x2f, 0x8a, 0x55), 1.0);
    for (int i = 0; i < 4; ++i) {
        QPainterPath chip;
        chip.addRoundedRect(QRectF(5.5 + i * 10, 9.5, 8, 10), 1, 1);
        shadedShape(p, chip, ink::graphite(), 1.0);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe9, 0xb8, 0x3c));
    for (int x = 4; x < 44; x += 2) {
        if (x >= 27 && x <= 31)
            continue;
        p.drawRect(QRect(x, 23, 1, 5));
    }
    horizontalGauge(p, memoryHeight - memoryGaugeHeight, true, QColor(0x2f, 0x9b, 0xe8));
    return canvas.take();
}

QImage swap()
{
    Canvas canvas(panelWidth, memoryHeight);
    QPainter& p = canvas.painter();
    // A disk (a stack of platters) and two arrows trading pages with it.
    const QColor disk = ink::slate();
    QPainterPath cylinder;
    cylinder.addRect(QRectF(3.5, 8, 20, 17));
    cylinder.addEllipse(QRectF(3.5, 20, 20, 8));
    cylinder.addEllipse(QRectF(3.5, 4, 20, 8));
    cylinder.setFillRule(Qt::WindingFill);
    shadedShape(p, cylinder.simplified(), disk, 1.0);
    p.setPen(roundPen(ink::edge(disk), 1.0));
    p.setBrush(disk.lighter(150));
    p.drawEllipse(QRectF(3.5, 4, 20, 8));
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(disk.lighter(160), 1.0));
    p.drawArc(QRectF(3.5, 10, 20, 8), 180 * 16, 180 * 16);
    p.drawArc(QRectF(3.5, 15, 20, 8), 180 * 16, 180 * 16);
    shadedShape(p, arrow(QPointF(26, 10.5), QPointF(46.5, 10.5), 3, 9, 5.5), QColor(0x2f, 0x9b, 0xe8), 1.0);
    shadedShape(p, arrow(QPointF(46.5, 21.5), QPointF(26, 21.5), 3, 9, 5.5), ink::amber(), 1.0);
    horizontalGauge(p, memoryHeight - memoryGaugeHeight, true, QColor(0x2f, 0x9b, 0xe8));
    return canvas.take();
}

QImage verticalCover()
{
    Canvas canvas(cpuGaugeWidth, cpuGaugeHeight);
    verticalGauge(canvas.painter(), 0, false);
    return canvas.take();
}

QImage horizontalCover()
{
    Canvas canvas(memoryGaugeWidth, memoryGaugeHeight);
    horizontalGauge(canvas.painter(), 0, false, QColor());
    return canvas.take();
}

}  // namespace

Pictures panelPictures()
{
    return {
        {QStringLiteral("panel/cpu.png"), cpu()},
        {QStringLiteral("panel/ram.png"), ram()},
        {QStringLiteral("panel/swap.png"), swap()},
        {QStringLiteral("panel/progressv.png"), verticalCover()},
        {QStringLiteral("panel/progress.png"), horizontalCover()},
    };
}
