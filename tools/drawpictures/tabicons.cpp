// 24×24 icons of the tab bars: the main window's three pages and the two
// pages of the task details dialog.
#include "pictures.h"

#include <QLinearGradient>

namespace {

QImage taskList()
{
    // Three rows, each with its icon: the task list.
    Canvas canvas(24, 24);
    QPainter& p = canvas.painter();
    const QColor bullets[] = {ink::blue(), ink::green(), ink::amber()};
    for (int row = 0; row < 3; ++row) {
        const qreal y = 3.5 + row * 6.5;
        QPainterPath bullet;
        bullet.addRoundedRect(QRectF(1.5, y, 5, 5), 1.2, 1.2);
        shadedShape(p, bullet, bullets[row], 1.0);
        QPainterPath bar;
        bar.addRoundedRect(QRectF(8.5, y + 1, 14, 3), 1.5, 1.5);
        shadedShape(p, bar, row == 0 ? ink::steel() : ink::slate(), 1.0);
    }
    return canvas.take();
}

QImage favourites()
{
    Canvas canvas(24, 24);
    QPainter& p = canvas.painter();
    shadedShape(p, star(QPointF(12, 12.8), 11.0, 4.6), ink::gold(), 1.1);
    return canvas.take();
}

QImage graph()
{
    // Axes and a load curve with its area.
    Canvas canvas(24, 24);
    QPainter& p = canvas.painter();
    QPainterPath panel;
    panel.addRoundedRect(QRectF(1.5, 2.5, 21, 19), 2, 2);
    p.setPen(roundPen(ink::navy(), 1.0));
    p.setBrush(ink::white());
    p.drawPath(panel);
    p.setPen(QPen(ink::rule(), 1.0));
    for (int y : {8, 13, 18})
        p.drawLine(QPointF(3, y + 0.5), QPointF(21, y + 0.5));
    const QPointF points[] = {{3, 17}, {7, 12}, {10.5, 14}, {14, 7}, {17.5, 10}, {21, 5}};
    QPainterPath curve;
    curve.moveTo(points[0]);
    for (const QPointF& pt : points)
        curve.lineTo(pt);
    QPainterPath area = curve;
    area.lineTo(21, 20.5);
    area.lineTo(3, 20.5);
    area.closeSubpath();
    QLinearGradient fill(0, 5, 0, 21);
    fill.setColorAt(0, QColor(0x2e, 0x9e, 0x5b, 150));
    fill.setColorAt(1, QColor(0x2e, 0x9e, 0x5b, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(area);
    p.setPen(roundPen(ink::green().darker(115), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    return canvas.take();
}

QImage info()
{
    Canvas canvas(24, 24);
    QPainter& p = canvas.painter();
    QPainterPath disc;
    disc.addEllipse(QPointF(12, 12), 10.5, 10.5);
    shadedShape(p, disc, ink::blue(), 1.0);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::white());
    p.drawEllipse(QPointF(12, 6.9), 1.75, 1.75);
    p.drawRoundedRect(QRectF(10.5, 10, 3, 8.5), 1, 1);
    return canvas.take();
}

QImage libraryList()
{
    // A stack of pages: the libraries a task has loaded.
    Canvas canvas(24, 24);
    QPainter& p = canvas.painter();
    for (int i = 2; i >= 0; --i) {
        const qreal dx = i * 3.0;
        const qreal dy = (2 - i) * 2.5;
        QPainterPath page;
        page.addRoundedRect(QRectF(1.5 + dx, 2.5 + dy, 13, 16), 1.2, 1.2);
        p.setPen(roundPen(ink::slate(), 1.0));
        p.setBrush(i == 0 ? ink::white() : (i == 1 ? QColor(0xe6, 0xeb, 0xf1) : QColor(0xd3, 0xdb, 0xe4)));
        p.drawPath(page);
    }
    // Lines of text on the front page, the first one picked out.
    p.setPen(roundPen(ink::blue(), 1.4));
    p.drawLine(QPointF(4.5, 11), QPointF(12, 11));
    p.setPen(roundPen(ink::slate(), 1.2));
    for (qreal y : {14.0, 17.0, 20.0})
        p.drawLine(QPointF(4.5, y), QPointF(12, y));
    return canvas.take();
}

}  // namespace

Pictures tabIcons()
{
    return {
        {QStringLiteral("img/tab_task.png"), taskList()},
        {QStringLiteral("img/tab_favorits.png"), favourites()},
        {QStringLiteral("img/tab_graph.png"), graph()},
        {QStringLiteral("img/info.png"), info()},
        {QStringLiteral("img/liblist.png"), libraryList()},
    };
}
