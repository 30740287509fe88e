// Icons of list rows and launchers: small tiles in the style of the
// phone's resource icons, so that rows with and without a registry icon
// look alike.
#include "glyphs.h"
#include "pictures.h"

#include <QLinearGradient>

namespace {

QImage desktop()
{
    // "Hide all": the bare desktop, a screen showing its wallpaper.
    Canvas canvas(19, 19);
    QPainter& p = canvas.painter();
    QPainterPath screen;
    screen.addRoundedRect(QRectF(1.5, 2.5, 16, 12), 1.5, 1.5);
    p.setPen(roundPen(ink::navy(), 1.0));
    QLinearGradient sky(0, 3, 0, 14);
    sky.setColorAt(0, QColor(0x7f, 0xb8, 0xee));
    sky.setColorAt(1, QColor(0xd8, 0xea, 0xfa));
    p.setBrush(sky);
    p.drawPath(screen);
    p.save();
    p.setClipPath(screen);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::green());
    p.drawEllipse(QPointF(5, 17), 8, 5.5);
    p.setBrush(ink::green().darker(115));
    p.drawEllipse(QPointF(15, 17.5), 7, 5);
    p.setBrush(ink::gold());
    p.drawEllipse(QPointF(13.5, 6.5), 1.8, 1.8);
    p.restore();
    p.setPen(roundPen(ink::navy(), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(screen);
    // Stand.
    p.setPen(Qt::NoPen);
    p.setBrush(ink::slate());
    p.drawRect(QRectF(8, 14.5, 3, 2));
    p.setBrush(ink::graphite());
    p.drawRoundedRect(QRectF(5, 16.5, 9, 1.8), 0.9, 0.9);
    return canvas.take();
}

}  // namespace

Pictures rowAndLauncherIcons()
{
    return {
        {QStringLiteral("img/sh.png"), tileIcon(16, ink::graphite(), glyph16::terminal, 16)},
        {QStringLiteral("img/java.png"), tileIcon(16, ink::rust(), glyph16::java, 16)},
        {QStringLiteral("img/app.png"), tileIcon(16, ink::steel(), glyph16::generic, 16)},
        {QStringLiteral("img/run_app.png"), tileIcon(19, ink::green(), glyph::play)},
        {QStringLiteral("img/desktop.png"), desktop()},
    };
}
