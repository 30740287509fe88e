#include "glyphs.h"

#include "canvas.h"

#include <QtMath>

namespace {
const QColor paperWhite(255, 255, 255);

void fillWhite(QPainter& p, const QPainterPath& path)
{
    p.setPen(Qt::NoPen);
    p.setBrush(paperWhite);
    p.drawPath(path);
}
}

namespace glyph {

void phone(QPainter& p, const QColor&)
{
    // A handset seen from the side: earpiece top left, mouthpiece bottom right.
    QPainterPath h;
    h.moveTo(6.2, 5.0);
    h.lineTo(9.0, 4.6);
    h.lineTo(10.6, 8.6);
    h.lineTo(8.7, 10.3);
    h.cubicTo(9.6, 12.2, 11.4, 14.2, 13.6, 15.3);
    h.lineTo(15.4, 13.4);
    h.lineTo(19.4, 15.0);
    h.lineTo(19.0, 17.8);
    h.cubicTo(18.6, 19.1, 17.6, 19.6, 16.2, 19.4);
    h.cubicTo(10.4, 18.4, 5.6, 13.6, 4.6, 7.8);
    h.cubicTo(4.4, 6.4, 4.9, 5.3, 6.2, 5.0);
    h.closeSubpath();
    fillWhite(p, h);
}

void messaging(QPainter& p, const QColor& c)
{
    QPainterPath b;
    b.addRoundedRect(QRectF(4, 5, 16, 11), 3.5, 3.5);
    QPainterPath tail;
    tail.moveTo(7, 15);
    tail.lineTo(6.2, 19.5);
    tail.lineTo(11.5, 15);
    tail.closeSubpath();
    fillWhite(p, b.united(tail));
    p.setBrush(c);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(8.2 + i * 3.8, 10.5), 1.25, 1.25);
}

void browser(QPainter& p, const QColor&)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(paperWhite, 1.6));
    p.drawEllipse(QPointF(12, 12), 7.2, 7.2);
    p.setPen(roundPen(paperWhite, 1.3));
    p.drawEllipse(QPointF(12, 12), 3.2, 7.2);
    p.drawLine(QPointF(4.8, 12), QPointF(19.2, 12));
}

void camera(QPainter& p, const QColor& c)
{
    QPainterPath body;
    body.addRoundedRect(QRectF(3.5, 8, 17, 11), 2.2, 2.2);
    QPainterPath bump;
    bump.addRoundedRect(QRectF(8, 5.5, 8, 4), 1.2, 1.2);
    fillWhite(p, body.united(bump));
    p.setBrush(c);
    p.drawEllipse(QPointF(12, 13.5), 4.0, 4.0);
    p.setBrush(paperWhite);
    p.drawEllipse(QPointF(12, 13.5), 2.4, 2.4);
    p.setBrush(c);
    p.drawEllipse(QPointF(17.8, 10.3), 0.9, 0.9);
}

void calendar(QPainter& p, const QColor& c)
{
    QPainterPath page;
    page.addRoundedRect(QRectF(4.5, 5.5, 15, 14), 2, 2);
    fillWhite(p, page);
    // The binding strip across the top, in the tile's darker colour.
    p.setBrush(c.darker(125));
    p.drawRect(QRectF(4.5, 8.2, 15, 1.6));
    p.setPen(roundPen(paperWhite, 1.6));
    p.drawLine(QPointF(8.5, 4), QPointF(8.5, 7));
    p.drawLine(QPointF(15.5, 4), QPointF(15.5, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            p.drawRect(QRectF(6.4 + col * 3, 11.3 + row * 2.7, 2, 1.7));
}

void contacts(QPainter& p, const QColor&)
{
    QPainterPath person;
    person.addEllipse(QPointF(12, 8.6), 3.6, 3.6);
    QPainterPath shoulders;
    shoulders.moveTo(4.8, 19.5);
    shoulders.cubicTo(4.8, 15.2, 8.2, 13.4, 12, 13.4);
    shoulders.cubicTo(15.8, 13.4, 19.2, 15.2, 19.2, 19.5);
    shoulders.closeSubpath();
    fillWhite(p, person.united(shoulders));
}

void music(QPainter& p, const QColor&)
{
    QPainterPath note;
    note.addEllipse(QPointF(8.2, 17.2), 2.7, 2.1);
    note.addEllipse(QPointF(16.2, 15.6), 2.7, 2.1);
    note.addRect(QRectF(9.5, 6.6, 1.5, 10.6));
    note.addRect(QRectF(17.5, 5.0, 1.5, 10.6));
    QPainterPath beam;
    beam.moveTo(9.5, 6.6);
    beam.lineTo(19.0, 4.2);
    beam.lineTo(19.0, 7.4);
    beam.lineTo(9.5, 9.8);
    beam.closeSubpath();
    note = note.united(beam);
    fillWhite(p, note);
}

void video(QPainter& p, const QColor&)
{
    QPainterPath body;
    body.addRoundedRect(QRectF(3.5, 7, 11.5, 10), 2, 2);
    QPainterPath lens;
    lens.moveTo(15.5, 11);
    lens.lineTo(20.5, 7.8);
    lens.lineTo(20.5, 16.2);
    lens.lineTo(15.5, 13);
    lens.closeSubpath();
    fillWhite(p, body.united(lens));
}

void settings(QPainter& p, const QColor&)
{
    fillWhite(p, gear(QPointF(12, 12), 8.0, 5.9, 8, 2.6));
}

void games(QPainter& p, const QColor& c)
{
    QPainterPath pad;
    pad.moveTo(7, 7.5);
    pad.lineTo(17, 7.5);
    pad.cubicTo(20.2, 7.5, 21.2, 11.5, 21.2, 14.5);
    pad.cubicTo(21.2, 17.4, 19.4, 18.2, 18, 17);
    pad.lineTo(15.8, 15);
    pad.lineTo(8.2, 15);
    pad.lineTo(6, 17);
    pad.cubicTo(4.6, 18.2, 2.8, 17.4, 2.8, 14.5);
    pad.cubicTo(2.8, 11.5, 3.8, 7.5, 7, 7.5);
    pad.closeSubpath();
    fillWhite(p, pad);
    p.setBrush(c);
    p.drawRect(QRectF(6.1, 9.6, 1.8, 5.0));
    p.drawRect(QRectF(4.5, 11.2, 5.0, 1.8));
    p.drawEllipse(QPointF(16.2, 10.6), 1.2, 1.2);
    p.drawEllipse(QPointF(18.3, 12.8), 1.2, 1.2);
}

void clock(QPainter& p, const QColor& c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(paperWhite);
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.setPen(roundPen(c.darker(120), 1.0));
    for (int i = 0; i < 12; i += 3) {
        const qreal a = i * M_PI / 6;
        p.drawLine(QPointF(12 + 6.4 * qSin(a), 12 - 6.4 * qCos(a)), QPointF(12 + 5.2 * qSin(a), 12 - 5.2 * qCos(a)));
    }
    p.setPen(roundPen(c.darker(150), 1.6));
    p.drawLine(QPointF(12, 12), QPointF(12, 7.2));
    p.drawLine(QPointF(12, 12), QPointF(15.4, 13.8));
}

void calculator(QPainter& p, const QColor& c)
{
    QPainterPath body;
    body.addRoundedRect(QRectF(6, 3.5, 12, 17), 2, 2);
    fillWhite(p, body);
    p.setBrush(c.darker(115));
    p.drawRect(QRectF(7.8, 5.4, 8.4, 3.4));
    p.setBrush(c);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(7.8 + col * 3.0, 10.4 + row * 3.1, 2.4, 2.2));
}

void notes(QPainter& p, const QColor& c)
{
    QPainterPath page;
    page.moveTo(5.5, 4);
    page.lineTo(14.5, 4);
    page.lineTo(18.5, 8);
    page.lineTo(18.5, 20);
    page.lineTo(5.5, 20);
    page.closeSubpath();
    fillWhite(p, page);
    p.setBrush(c.lighter(130));
    QPainterPath fold;
    fold.moveTo(14.5, 4);
    fold.lineTo(14.5, 8);
    fold.lineTo(18.5, 8);
    fold.closeSubpath();
    p.drawPath(fold);
    p.setPen(roundPen(c, 1.3));
    p.drawLine(QPointF(8, 10.5), QPointF(16, 10.5));
    p.drawLine(QPointF(8, 13.5), QPointF(16, 13.5));
    p.drawLine(QPointF(8, 16.5), QPointF(13.5, 16.5));
}

void files(QPainter& p, const QColor& c)
{
    QPainterPath folder;
    folder.moveTo(3.5, 7);
    folder.cubicTo(3.5, 6, 4, 5.5, 5, 5.5);
    folder.lineTo(9.5, 5.5);
    folder.lineTo(11.3, 7.5);
    folder.lineTo(19, 7.5);
    folder.cubicTo(20, 7.5, 20.5, 8, 20.5, 9);
    folder.lineTo(20.5, 18);
    folder.cubicTo(20.5, 19, 20, 19.5, 19, 19.5);
    folder.lineTo(5, 19.5);
    folder.cubicTo(4, 19.5, 3.5, 19, 3.5, 18);
    folder.closeSubpath();
    fillWhite(p, folder);
    p.setPen(roundPen(c.lighter(115), 1.0));
    p.drawLine(QPointF(4, 10.2), QPointF(20, 10.2));
}

void java(QPainter& p, const QColor& c)
{
    // A cup with a handle on a saucer, steam above.
    QPainterPath cup;
    cup.moveTo(5.5, 11);
    cup.lineTo(16, 11);
    cup.cubicTo(16, 15.5, 14, 18, 10.75, 18);
    cup.cubicTo(7.5, 18, 5.5, 15.5, 5.5, 11);
    cup.closeSubpath();
    QPainterPath handle;
    handle.addEllipse(QPointF(16.3, 13.4), 2.9, 2.3);
    QPainterPath hole;
    hole.addEllipse(QPointF(16.3, 13.4), 1.5, 1.0);
    QPainterPath saucer;
    saucer.addRoundedRect(QRectF(4, 18.6, 14, 1.8), 0.9, 0.9);
    fillWhite(p, cup.united(handle.subtracted(hole)).united(saucer));
    Q_UNUSED(c);
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(paperWhite, 1.3));
    QPainterPath steam;
    steam.moveTo(8.8, 9.2);
    steam.cubicTo(7.4, 7.6, 10.2, 6.6, 8.8, 4.2);
    steam.moveTo(12.6, 9.2);
    steam.cubicTo(11.2, 7.6, 14.0, 6.6, 12.6, 4.2);
    p.drawPath(steam);
}

void email(QPainter& p, const QColor& c)
{
    QPainterPath env;
    env.addRoundedRect(QRectF(3.5, 6.5, 17, 12), 1.6, 1.6);
    fillWhite(p, env);
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(c, 1.4));
    QPainterPath flap;
    flap.moveTo(4.6, 7.8);
    flap.lineTo(12, 13.4);
    flap.lineTo(19.4, 7.8);
    p.drawPath(flap);
}

void radio(QPainter& p, const QColor& c)
{
    p.setPen(roundPen(paperWhite, 1.4));
    p.drawLine(QPointF(6.5, 9.5), QPointF(17.5, 4.5));
    QPainterPath box;
    box.addRoundedRect(QRectF(3.5, 9, 17, 11), 2, 2);
    fillWhite(p, box);
    p.setBrush(c);
    p.drawEllipse(QPointF(8.6, 14.5), 3.1, 3.1);
    p.setBrush(paperWhite);
    p.drawEllipse(QPointF(8.6, 14.5), 1.0, 1.0);
    p.setBrush(c);
    p.drawRect(QRectF(13.3, 11.5, 5, 1.4));
    p.drawRect(QRectF(13.3, 14.0, 5, 1.4));
    p.drawRect(QRectF(13.3, 16.5, 5, 1.4));
}

void gallery(QPainter& p, const QColor& c)
{
    QPainterPath frame;
    frame.addRoundedRect(QRectF(3.5, 5, 17, 14), 1.8, 1.8);
    fillWhite(p, frame);
    p.setBrush(c);
    QPainterPath hills;
    hills.moveTo(5, 17.5);
    hills.lineTo(10, 10.5);
    hills.lineTo(13.5, 15);
    hills.lineTo(15.5, 12.8);
    hills.lineTo(19, 17.5);
    hills.closeSubpath();
    p.drawPath(hills);
    p.drawEllipse(QPointF(16.2, 8.6), 1.7, 1.7);
}

void alarm(QPainter& p, const QColor& c)
{
    // An alarm clock: a face with two bells and two feet.
    p.setPen(roundPen(paperWhite, 1.6));
    p.drawLine(QPointF(7.5, 18), QPointF(6, 20));
    p.drawLine(QPointF(16.5, 18), QPointF(18, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(paperWhite);
    QPainterPath bells;
    bells.addEllipse(QPointF(6.4, 6.4), 3.0, 3.0);
    bells.addEllipse(QPointF(17.6, 6.4), 3.0, 3.0);
    p.drawPath(bells);
    p.setPen(roundPen(c, 1.2));
    p.drawEllipse(QPointF(12, 13), 7, 7);
    p.setPen(roundPen(c.darker(140), 1.5));
    p.drawLine(QPointF(12, 13), QPointF(12, 9.0));
    p.drawLine(QPointF(12, 13), QPointF(14.8, 14.6));
}

void generic(QPainter& p, const QColor&)
{
    QPainterPath squares;
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            squares.addRoundedRect(QRectF(5.5 + col * 7, 5.5 + row * 7, 6, 6), 1.5, 1.5);
    fillWhite(p, squares);
}

void terminal(QPainter& p, const QColor&)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(QColor(0x7d, 0xe0, 0x9a), 2.2));
    QPainterPath prompt;
    prompt.moveTo(6, 7.5);
    prompt.lineTo(10.5, 12);
    prompt.lineTo(6, 16.5);
    p.drawPath(prompt);
    p.setPen(roundPen(paperWhite, 2.2));
    p.drawLine(QPointF(12.5, 17), QPointF(18, 17));
}

void play(QPainter& p, const QColor&)
{
    QPainterPath tri;
    tri.moveTo(8.5, 5.8);
    tri.lineTo(18.5, 12);
    tri.lineTo(8.5, 18.2);
    tri.closeSubpath();
    p.setPen(roundPen(paperWhite, 1.6));
    p.setBrush(paperWhite);
    p.drawPath(tri);
}

}  // namespace glyph

namespace glyph16 {

void terminal(QPainter& p, const QColor&)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x7d, 0xe0, 0x9a), 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    QPainterPath prompt;
    prompt.moveTo(4, 4.5);
    prompt.lineTo(7.5, 8);
    prompt.lineTo(4, 11.5);
    p.drawPath(prompt);
    p.setPen(Qt::NoPen);
    p.setBrush(paperWhite);
    p.drawRect(QRect(8, 11, 5, 2));
}

void java(QPainter& p, const QColor&)
{
    QPainterPath cup;
    cup.moveTo(3, 8);
    cup.lineTo(11, 8);
    cup.lineTo(11, 10);
    cup.cubicTo(11, 12, 10, 13, 8.5, 13);
    cup.lineTo(5.5, 13);
    cup.cubicTo(4, 13, 3, 12, 3, 10);
    cup.closeSubpath();
    QPainterPath handle;
    handle.addRoundedRect(QRectF(9, 8.5, 4.5, 3.5), 1.75, 1.75);
    QPainterPath hole;
    hole.addRect(QRectF(10.8, 9.8, 1.2, 1));
    fillWhite(p, cup.united(handle.subtracted(hole)));
    p.drawRect(QRect(2, 14, 11, 1));
    // Steam: two short wisps on whole pixels.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawRect(QRect(5, 3, 1, 2));
    p.drawRect(QRect(6, 5, 1, 2));
    p.drawRect(QRect(8, 3, 1, 2));
    p.drawRect(QRect(9, 5, 1, 2));
}

void generic(QPainter& p, const QColor&)
{
    p.setPen(Qt::NoPen);
    p.setBrush(paperWhite);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            p.drawRoundedRect(QRectF(3 + col * 6, 3 + row * 6, 4, 4), 0.8, 0.8);
}

}  // namespace glyph16

QImage tileIcon(int size, const QColor& colour, const Glyph& symbol, int designSize)
{
    Canvas canvas(size, size);
    QPainter& p = canvas.painter();
    // The tile's edge falls on pixel centres at every size.
    tile(p, QRectF(0.5, 0.5, size - 1, size - 1), colour);
    const qreal scale = qreal(size) / designSize;
    p.save();
    p.scale(scale, scale);
    symbol(p, colour);
    p.restore();
    return canvas.take();
}
