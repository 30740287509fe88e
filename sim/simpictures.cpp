#include "sim/simpictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {
QImage canvas(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void roundedTile(QPainter& p, int size, const QColor& colour)
{
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, colour.lighter(150));
    g.setColorAt(1, colour);
    p.setBrush(g);
    p.setPen(QPen(colour.darker(160), size / 24.0));
    const qreal m = size / 16.0;
    p.drawRoundedRect(QRectF(m, m, size - 2 * m, size - 2 * m), size / 6.0, size / 6.0);
}

QImage folder()
{
    QImage image = canvas(48);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(140, 100, 20), 1.5));
    p.setBrush(QColor(240, 190, 70));
    p.drawRoundedRect(QRectF(4, 10, 18, 10), 3, 3);
    p.setBrush(QColor(250, 210, 90));
    p.drawRoundedRect(QRectF(4, 15, 40, 27), 4, 4);
    return image;
}

QImage notepad()
{
    QImage image = canvas(48);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 60), 1.5));
    p.setBrush(QColor(255, 245, 170));
    p.drawRect(QRectF(9, 5, 30, 38));
    p.setPen(QPen(QColor(120, 140, 200), 1.5));
    for (int y = 14; y < 40; y += 6)
        p.drawLine(13, y, 35, y);
    p.setPen(QPen(QColor(200, 60, 60), 3));
    p.drawLine(36, 38, 44, 20);
    return image;
}

QImage filmStrip()
{
    QImage image = canvas(48);
    QPainter p(&image);
    roundedTile(p, 48, QColor(60, 60, 70));
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    QPainterPath play;
    play.moveTo(18, 14);
    play.lineTo(34, 24);
    play.lineTo(18, 34);
    play.closeSubpath();
    p.drawPath(play);
    return image;
}

QImage snake()
{
    QImage image = canvas(48);
    QPainter p(&image);
    roundedTile(p, 48, QColor(40, 120, 50));
    p.setPen(QPen(QColor(200, 240, 90), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath body;
    body.moveTo(12, 36);
    body.cubicTo(12, 20, 36, 36, 36, 16);
    p.drawPath(body);
    p.setBrush(Qt::red);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(14, 13), 3.5, 3.5);
    return image;
}

QImage chess()
{
    QImage image = canvas(48);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            p.fillRect(4 + c * 10, 4 + r * 10, 10, 10,
                       (r + c) % 2 ? QColor(90, 60, 30) : QColor(235, 215, 170));
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(20, 20, 20));
    p.setPen(QPen(Qt::white, 1.5));
    p.drawEllipse(QPointF(24, 18), 5, 5);
    p.drawRoundedRect(QRectF(17, 24, 14, 16), 3, 3);
    return image;
}

QImage sun()
{
    // Small on purpose: a 16×16 icon is shown as it is.
    QImage image = canvas(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(230, 150, 0), 1.2));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(8, 8);
        p.rotate(45 * i);
        p.drawLine(0, 5, 0, 7);
        p.restore();
    }
    p.setBrush(QColor(255, 200, 0));
    p.drawEllipse(QPointF(8, 8), 3.8, 3.8);
    return image;
}
}

QList<SimPicture> drawSimPictures()
{
    const QString card = QStringLiteral("mmc/mmca1/");
    const QString cardJava = card + QStringLiteral(".system/java_0001/DownloadApps/");
    const QString phoneJava = QStringLiteral("ezxlocal/download/mystuff/.system/java/DownloadApps/");
    return {
        {card + QStringLiteral(".Programs/FileManager/filemanager.png"), folder()},
        {card + QStringLiteral("app/Notes/notes.png"), notepad()},
        {QStringLiteral("ezxlocal/download/mystuff/.Programs/Video/video.png"), filmStrip()},
        {cardJava + QStringLiteral("MIDlet00037/Files/MIDlet-1.png"), snake()},
        {cardJava + QStringLiteral("MIDlet00041/Files/MIDlet-1.png"), chess()},
        {phoneJava + QStringLiteral("MIDlet00012/Files/MIDlet-1.png"), sun()},
    };
}
