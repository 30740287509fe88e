#include "monitor/graphdrawing.h"

#include "monitor/historyrings.h"
#include "platform/logline.h"

#include <QPainter>

#include <cstddef>

namespace zk::monitor {

namespace {
void drawGrid(QPainter& painter, const QColor& colour)
{
    painter.setPen(colour.darker(200));
    for (int x = 10; x <= 190; x += 10)
        painter.drawLine(x, 0, x, graphHeight);
    for (int y = 10; y <= 50; y += 10)
        painter.drawLine(0, y, graphWidth, y);
}

int curveY(int value)
{
    return static_cast<int>(50.0 - value * 0.49);
}
}

QImage drawGraph(std::span<int, 10> ring, int pos, const QColor& colour, bool fillGaps)
{
    QImage image(graphWidth, graphHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    drawGrid(painter, colour);
    painter.setPen(colour);

    if (pos != HistoryRings::valid(pos))
        logLine(QStringLiteral("drawGraph: ring position ") + QString::number(pos)
                + QStringLiteral(" out of range, drawing from 0"));
    auto at = [&ring](int p) -> int& { return ring[static_cast<std::size_t>(p)]; };
    int i = HistoryRings::valid(pos);
    int carried = at(HistoryRings::previous(i));
    if (fillGaps && at(i) == 0)
        at(i) = carried;

    QPoint from(0, 50 - at(i) / 2);
    for (int x = 22; x <= 198; x += 22) {
        i = HistoryRings::next(i);
        if (fillGaps) {
            if (at(i) == 0)
                at(i) = carried;
            else
                carried = at(i);
        }
        const QPoint to(x, curveY(at(i)));
        painter.drawLine(from, to);
        from = to;
    }
    painter.end();
    return image;
}

}  // namespace zk::monitor
