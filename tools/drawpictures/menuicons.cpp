// 16×16 icons of the options menus: coloured symbols with a darker edge,
// readable on the white menu and on the blue highlight alike.
#include "glyphs.h"
#include "pictures.h"

#include <QLinearGradient>

namespace {

QImage show()
{
    // An open eye: "look at this task".
    Canvas canvas(16, 16);
    QPainter& p = canvas.painter();
    QPainterPath eye;
    eye.moveTo(0.8, 8);
    eye.cubicTo(3.2, 3.2, 12.8, 3.2, 15.2, 8);
    eye.cubicTo(12.8, 12.8, 3.2, 12.8, 0.8, 8);
    eye.closeSubpath();
    p.setPen(roundPen(ink::navy(), 1.1));
    p.setBrush(ink::white());
    p.drawPath(eye);
    p.save();
    p.setClipPath(eye);
    p.setPen(Qt::NoPen);
    p.setBrush(shade(ink::blue(), 4.5, 11.5));
    p.drawEllipse(QPointF(8, 8), 3.4, 3.4);
    p.setBrush(ink::navy());
    p.drawEllipse(QPointF(8, 8), 1.5, 1.5);
    p.setBrush(ink::white());
    p.drawEllipse(QPointF(9.2, 6.8), 0.8, 0.8);
    p.restore();
    return canvas.take();
}

QImage quit()
{
    Canvas canvas(16, 16);
    QPainter& p = canvas.painter();
    QPainterPath disc;
    disc.addEllipse(QPointF(8, 8), 7, 7);
    shadedShape(p, disc, ink::red());
    p.setPen(roundPen(ink::white(), 2.0));
    p.drawLine(QPointF(5.3, 5.3), QPointF(10.7, 10.7));
    p.drawLine(QPointF(10.7, 5.3), QPointF(5.3, 10.7));
    return canvas.take();
}

QImage priority()
{
    // Up and down: raise or lower the task's share of the processor.
    Canvas canvas(16, 16);
    QPainter& p = canvas.painter();
    shadedShape(p, arrow(QPointF(4.5, 15.5), QPointF(4.5, 0.5), 3, 8, 5), ink::green(), 1.0);
    shadedShape(p, arrow(QPointF(11.5, 0.5), QPointF(11.5, 15.5), 3, 8, 5), ink::blue(), 1.0);
    return canvas.take();
}

// The application tile that the favourites' entries act on, with a badge.
void favouriteTile(QPainter& p)
{
    tile(p, QRectF(0.5, 0.5, 12, 12), ink::steel());
    p.setPen(Qt::NoPen);
    p.setBrush(ink::white());
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            p.drawRect(QRect(3 + col * 4, 3 + row * 4, 3, 3));
}

void badge(QPainter& p, const QColor& colour)
{
    QPainterPath disc;
    disc.addEllipse(QPointF(11.5, 11.5), 4.3, 4.3);
    p.setPen(roundPen(ink::white(), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(disc);
    shadedShape(p, disc, colour, 0.9);
}

QImage appAdd()
{
    Canvas canvas(16, 16);
    QPainter& p = canvas.painter();
    favouriteTile(p);
    badge(p, ink::green());
    p.setPen(roundPen(ink::white(), 1.6));
    p.drawLine(QPointF(11.5, 9.3), QPointF(11.5, 13.7));
    p.drawLine(QPointF(9.3, 11.5), QPointF(13.7, 11.5));
    return canvas.take();
}

QImage appDel()
{
    Canvas canvas(16, 16);
    QPainter& p = canvas.painter();
    favouriteTile(p);
    badge(p, ink::red());
    p.setPen(roundPen(ink::white(), 1.6));
    p.drawLine(QPointF(9.3, 11.5), QPointF(13.7, 11.5));
    return canvas.take();
}

QImage appRen()
{
    Canvas canvas(16, 16);
    QPainter& p = canvas.painter();
    favouriteTile(p);
    // A pencil across the corner.
    p.save();
    p.translate(11.2, 10.8);
    p.rotate(-45);
    QPainterPath body;
    body.addRect(QRectF(-5.0, -1.7, 7.6, 3.4));
    p.setPen(roundPen(ink::white(), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(-5.6, -2.2, 11.6, 4.4));
    shadedShape(p, body, ink::gold(), 0.8);
    QPainterPath tip;
    tip.moveTo(2.6, -1.7);
    tip.lineTo(5.8, 0);
    tip.lineTo(2.6, 1.7);
    tip.closeSubpath();
    p.setPen(roundPen(ink::edge(ink::gold()), 0.8));
    p.setBrush(QColor(0xf2, 0xd9, 0xae));
    p.drawPath(tip);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::dark());
    p.drawEllipse(QPointF(5.3, 0), 0.7, 0.7);
    p.setBrush(ink::red().lighter(120));
    p.drawRect(QRectF(-6.0, -1.7, 1.4, 3.4));
    p.restore();
    return canvas.take();
}

QImage settings()
{
    Canvas canvas(16, 16);
    QPainter& p = canvas.painter();
    shadedShape(p, gear(QPointF(8, 8), 7.3, 5.4, 8, 2.2), ink::slate());
    return canvas.take();
}

QImage about()
{
    // A question in a speech bubble: "what is this program".
    Canvas canvas(16, 16);
    QPainter& p = canvas.painter();
    QPainterPath disc;
    disc.addEllipse(QPointF(8, 8), 7, 7);
    shadedShape(p, disc, ink::steel());
    QPainterPath q;
    q.moveTo(5.6, 6.0);
    q.cubicTo(5.6, 3.2, 10.6, 3.2, 10.6, 6.0);
    q.cubicTo(10.6, 7.8, 8.0, 7.9, 8.0, 9.6);
    p.setPen(roundPen(ink::white(), 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::white());
    p.drawEllipse(QPointF(8, 12.1), 1.15, 1.15);
    return canvas.take();
}

QImage exitIcon()
{
    // A door with an arrow leading out.
    Canvas canvas(16, 16);
    QPainter& p = canvas.painter();
    QPainterPath frame;
    frame.addRect(QRectF(1.5, 1.5, 8, 13));
    p.setPen(roundPen(ink::slate(), 1.0));
    p.setBrush(ink::paper());
    p.drawPath(frame);
    QPainterPath door;
    door.moveTo(1.5, 1.5);
    door.lineTo(6.5, 3);
    door.lineTo(6.5, 15.5);
    door.lineTo(1.5, 14.5);
    door.closeSubpath();
    shadedShape(p, door, ink::rust(), 0.9);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::gold());
    p.drawEllipse(QPointF(5.2, 9), 0.7, 0.7);
    shadedShape(p, arrow(QPointF(7.5, 8), QPointF(15.5, 8), 2.8, 7.4, 4.2), ink::green(), 0.9);
    return canvas.take();
}

}  // namespace

Pictures menuIcons()
{
    return {
        {QStringLiteral("img/show.png"), show()},
        {QStringLiteral("img/quit.png"), quit()},
        {QStringLiteral("img/priority.png"), priority()},
        {QStringLiteral("img/app_add.png"), appAdd()},
        {QStringLiteral("img/app_del.png"), appDel()},
        {QStringLiteral("img/app_ren.png"), appRen()},
        {QStringLiteral("img/flag.png"), settings()},
        {QStringLiteral("img/about.png"), about()},
        {QStringLiteral("img/exit.png"), exitIcon()},
    };
}
