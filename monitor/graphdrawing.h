#pragma once

#include <QColor>
#include <QImage>

#include <span>

namespace zk::monitor {

// One history graph of the monitor tab: 200 by 50 pixels, black, a grid in
// the half-bright colour, and the ten ring values as a curve in the colour,
// drawn from ring[pos] at the left edge round the ring to ring[pos - 1] at
// the right. A value v is drawn at y = 50 - v * 0.49 (the first point at
// 50 - v / 2): 100 near the top, 0 on the bottom edge just outside.
//
// With fillGaps a 0 is taken as a missing measurement and replaced, in the
// ring itself, by the value carried so far: the one at pos - 1 to begin
// with, then each non-zero value met from the second point on (the first
// point's own value is never carried).
inline constexpr int graphWidth = 200;
inline constexpr int graphHeight = 50;

QImage drawGraph(std::span<int, 10> ring, int pos, const QColor& colour, bool fillGaps);

}  // namespace zk::monitor
