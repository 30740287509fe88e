// The program's own icon (56×56): a kestrel's head keeping watch over a
// task list, on the title bar's blue.
#include "pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace {

const QColor headGrey(0xa8, 0xba, 0xcc);
const QColor cheekCream(0xf8, 0xec, 0xd8);
const QColor mantleRust(0xc9, 0x66, 0x2c);
const QColor beakSlate(0x4d, 0x5f, 0x75);
const QColor eyeRing(0xf2, 0xc2, 0x30);
const QColor markDark(0x1f, 0x24, 0x2b);

QPainterPath headOutline()
{
    QPainterPath h;
    h.moveTo(17, 37);
    h.cubicTo(13.5, 26, 16.5, 7.5, 29, 5);       // back of the head to the crown
    h.cubicTo(35, 4, 39, 6.5, 40.5, 10);         // forehead
    h.cubicTo(44.5, 9.8, 47.8, 12.8, 47, 18.6);  // upper beak to the hooked tip
    h.quadTo(46, 15.4, 42.4, 15.8);              // gape
    h.lineTo(42.4, 17.2);
    h.quadTo(41.6, 18.6, 39.6, 18.8);       // chin
    h.cubicTo(37.5, 24, 39, 30, 41.5, 37);  // throat
    h.closeSubpath();
    return h;
}

void drawHead(QPainter& p)
{
    const QPainterPath head = headOutline();
    QLinearGradient grey(0, 4, 0, 37);
    grey.setColorAt(0, headGrey.lighter(112));
    grey.setColorAt(1, headGrey.darker(108));
    p.setPen(Qt::NoPen);
    p.setBrush(grey);
    p.drawPath(head);

    p.save();
    p.setClipPath(head);
    // Rufous mantle at the back of the neck, with the bird's dark spots.
    p.setBrush(mantleRust);
    p.drawEllipse(QPointF(14.5, 36), 8.5, 13);
    p.setBrush(markDark);
    p.drawEllipse(QPointF(17.2, 28.5), 1.1, 0.8);
    p.drawEllipse(QPointF(19.5, 32.5), 1.1, 0.8);
    // Pale cheek and throat.
    p.setBrush(cheekCream);
    p.drawEllipse(QPointF(36.5, 27.5), 8.5, 12.5);
    // The kestrel's mark: the dark moustache below the eye.
    QPainterPath moustache;
    moustache.moveTo(30.8, 14.5);
    moustache.cubicTo(30.2, 19, 30.8, 22.8, 32.4, 26);
    moustache.cubicTo(34.2, 22.8, 34.6, 18.8, 34.2, 15);
    moustache.closeSubpath();
    p.setBrush(markDark);
    p.drawPath(moustache);
    p.restore();

    // Beak: slate with a dark hooked tip, yellow cere at its base.
    QPainterPath beak;
    beak.moveTo(40, 9.8);
    beak.cubicTo(44.5, 9.8, 47.8, 12.8, 47, 18.6);
    beak.quadTo(46, 15.4, 42.4, 15.8);
    beak.lineTo(42.4, 17.2);
    beak.quadTo(41.6, 18.6, 39.6, 18.8);
    beak.closeSubpath();
    p.setBrush(beakSlate);
    p.drawPath(beak);
    QPainterPath tip;
    tip.moveTo(45.4, 12.6);
    tip.cubicTo(47.2, 14, 47.4, 16.6, 47, 18.6);
    tip.quadTo(46.4, 16.4, 44.8, 15.8);
    tip.closeSubpath();
    p.setBrush(markDark);
    p.drawPath(tip);
    QPainterPath cere;
    cere.moveTo(39.6, 9.6);
    cere.cubicTo(41.4, 9.4, 42.6, 9.9, 43.2, 10.8);
    cere.lineTo(41.2, 13.2);
    cere.lineTo(39.4, 13.2);
    cere.closeSubpath();
    p.setBrush(eyeRing);
    p.drawPath(cere);

    // The eye: dark, with the yellow ring and a glint.
    p.setBrush(eyeRing);
    p.drawEllipse(QPointF(34.6, 12.4), 3.5, 3.4);
    p.setBrush(markDark);
    p.drawEllipse(QPointF(34.8, 12.4), 2.5, 2.5);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawEllipse(QPointF(35.7, 11.4), 0.9, 0.9);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x0d, 0x1f, 0x33), 1.0));
    p.drawPath(head);
}

void drawTaskCard(QPainter& p)
{
    // Soft shadow, then the card; rows sit on whole pixels to stay crisp.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(QRectF(7, 35, 43, 19), 3, 3);
    p.setPen(QPen(QColor(0x0d, 0x1f, 0x33), 1.0));
    p.setBrush(zskin::background());
    p.drawRoundedRect(QRectF(6.5, 33.5, 43, 19), 3, 3);

    // Three rows: the first one is the current row, in the list's highlight.
    const int lengths[] = {30, 22, 27};
    for (int row = 0; row < 3; ++row) {
        const int y = 35 + row * 6;
        p.setPen(Qt::NoPen);
        if (row == 0) {
            p.setBrush(zskin::highlight());
            p.drawRoundedRect(QRectF(8, y, 40, 5), 1.5, 1.5);
        }
        p.setBrush(row == 0 ? QColor(Qt::white) : zskin::dimText());
        p.drawRect(QRect(10, y + 1, 3, 3));
        p.setBrush(row == 0 ? QColor(Qt::white) : zskin::rule().darker(118));
        p.drawRect(QRect(15, y + 2, lengths[row], 1));
    }
}

QImage kestrel()
{
    Canvas canvas(56, 56);
    QPainter& p = canvas.painter();
    const QRectF badge(0.5, 0.5, 55, 55);
    QLinearGradient sky(0, 0, 0, 56);
    sky.setColorAt(0, zskin::titleTop().lighter(115));
    sky.setColorAt(1, zskin::titleBottom());
    p.setPen(QPen(zskin::titleBottom().darker(140), 1.0));
    p.setBrush(sky);
    p.drawRoundedRect(badge, 11, 11);
    // A soft light behind the head.
    QRadialGradient glow(QPointF(30, 18), 22);
    glow.setColorAt(0, QColor(255, 255, 255, 60));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRoundedRect(badge.adjusted(1, 1, -1, -1), 10, 10);

    drawHead(p);
    drawTaskCard(p);
    return canvas.take();
}

}  // namespace

Pictures programIcon()
{
    return {{QStringLiteral("img/zKestrel.png"), kestrel()}};
}
