#include "monitor/graphdrawing.h"
#include "tests/common/ztest.h"

#include <array>

using namespace zk::monitor;

using Ring = std::array<int, 10>;

namespace {
bool isColour(const QImage& image, int x, int y, const QColor& colour)
{
    return image.pixel(x, y) == colour.rgb();
}

int countColour(const QImage& image, const QColor& colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += isColour(image, x, y, colour) ? 1 : 0;
    return n;
}

// The rows of one column that carry the curve colour.
QList<int> curveRows(const QImage& image, int x, const QColor& colour)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (isColour(image, x, y, colour))
            rows << y;
    return rows;
}

void save(const QImage& image, const QString& name)
{
    image.scaled(image.size() * 3).save(ztest::shotsDir() + QLatin1Char('/') + name + QStringLiteral(".png"));
}
}

class GraphDrawingTest : public QObject
{
    Q_OBJECT

private slots:
    void blackPictureWithDarkGrid()
    {
        Ring ring{};
        const QColor red(Qt::red);
        const QImage image = drawGraph(ring, 0, red, false);
        QCOMPARE(image.size(), QSize(200, 50));
        const QColor grid = red.darker(200);
        QCOMPARE(grid.rgb(), qRgb(127, 0, 0));
        // 19 vertical lines x = 10..190, horizontal lines at y = 10..40
        // (the one at y 50 lies just below the picture).
        for (int x = 0; x < 200; ++x) {
            const bool line = x % 10 == 0 && x >= 10 && x <= 190;
            QCOMPARE(isColour(image, x, 5, grid), line);
            QCOMPARE(isColour(image, x, 49, grid), line);
        }
        for (int y = 0; y < 50; ++y) {
            const bool line = y % 10 == 0 && y >= 10;
            QCOMPARE(isColour(image, 5, y, grid), line);
            QCOMPARE(isColour(image, 199, y, grid), line);
        }
        QVERIFY(isColour(image, 5, 5, Qt::black));
        QVERIFY(isColour(image, 195, 45, Qt::black));
    }

    // Ten 50s: the first point at 50 - 25, the others at trunc(25.5).
    void tenFiftiesDrawAtRow25()
    {
        Ring ring;
        ring.fill(50);
        const QColor green(Qt::green);
        const QImage image = drawGraph(ring, 3, green, false);
        save(image, QStringLiteral("graph-fifties"));
        for (int x = 0; x <= 198; ++x)
            QCOMPARE(curveRows(image, x, green), QList<int>{25});
        QCOMPARE(curveRows(image, 199, green), QList<int>{});
        QCOMPARE(countColour(image, green), 199);
    }

    // The curve runs from ring[pos] at the left round to ring[pos - 1] at
    // the right, one point every 22 pixels from x 22.
    void pointsFollowRingFromPos()
    {
        Ring ring{10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
        const QColor blue(Qt::blue);
        const QImage image = drawGraph(ring, 7, blue, false);
        save(image, QStringLiteral("graph-rising-from-7"));
        QVERIFY(curveRows(image, 0, blue).contains(50 - 80 / 2));  // ring[7]
        // trunc(50 - v * 0.49) for ring[8], ring[9], ring[0] ... ring[6]
        const int expected[9] = {5, 1, 45, 40, 35, 30, 25, 20, 15};
        for (int k = 0; k < 9; ++k) {
            const int x = 22 * (k + 1);
            QVERIFY2(curveRows(image, x, blue).contains(expected[k]),
                     qPrintable(QStringLiteral("x %1").arg(x)));
        }
        // 100 near the top edge, 0 would sit on the bottom edge.
        QCOMPARE(curveRows(image, 44, blue).first(), 1);
    }

    void withoutFillGapsRingIsUntouched()
    {
        Ring ring{0, 0, 70, 0, 0, 0, 0, 0, 0, 0};
        const Ring before = ring;
        drawGraph(ring, 2, Qt::green, false);
        QCOMPARE(ring, before);
    }

    void allZeroRingStaysZero()
    {
        Ring ring{};
        const QColor red(Qt::red);
        const QImage image = drawGraph(ring, 5, red, true);
        QCOMPARE(ring, Ring{});
        QCOMPARE(countColour(image, red), 0);  // the curve is on the edge below
    }

    // Gaps after a value take that value.
    void gapsCarryLastValue()
    {
        Ring ring{60, 60, 60, 60, 60, 30, 0, 0, 60, 60};
        const QColor red(Qt::red);
        const QImage image = drawGraph(ring, 4, red, true);
        save(image, QStringLiteral("graph-gap-filled"));
        QCOMPARE(ring, (Ring{60, 60, 60, 60, 60, 30, 30, 30, 60, 60}));
        // The filled points are drawn at the carried value: trunc(50 - 14.7).
        QVERIFY(curveRows(image, 44, red).contains(35));
        QVERIFY(curveRows(image, 66, red).contains(35));
    }

    // The first point's own value is never carried: a gap right after it
    // takes the value at the previous ring position.
    void firstPointValueIsNotCarried()
    {
        Ring ring{0, 70, 30, 0, 50, 50, 50, 50, 50, 50};
        ring[0] = 5;
        drawGraph(ring, 2, Qt::red, true);
        QCOMPARE(ring[3], 70);
        QCOMPARE(ring[2], 30);
    }

    void firstPointGapTakesPreviousPosition()
    {
        Ring ring{0, 0, 0, 0, 0, 0, 0, 0, 0, 55};
        drawGraph(ring, 0, Qt::blue, true);
        QCOMPARE(ring, (Ring{55, 55, 55, 55, 55, 55, 55, 55, 55, 55}));
    }

    // Carrying runs round the ring past 9. The carried value starts as the
    // one at the previous position as it was before drawing (0 here), so a
    // gap before the first non-zero value stays 0.
    void carryWrapsRound()
    {
        Ring ring{0, 0, 0, 0, 0, 0, 0, 40, 0, 20};
        drawGraph(ring, 7, Qt::red, true);
        QCOMPARE(ring, (Ring{20, 20, 20, 20, 20, 20, 20, 40, 0, 20}));
    }

    // Values outside 0..100 are drawn as computed, without harm.
    void valuesOutsideRange()
    {
        Ring ring{1000, -500, 100, 0, 50, 50, 50, 50, 50, 50};
        const QColor green(Qt::green);
        const QImage image = drawGraph(ring, 0, green, false);
        QCOMPARE(image.size(), QSize(200, 50));
        QVERIFY(countColour(image, green) > 0);
    }

    void badPositionDrawsFromZero()
    {
        Ring ring{10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
        const QImage bad = drawGraph(ring, 12, Qt::green, false);
        const QImage zero = drawGraph(ring, 0, Qt::green, false);
        QCOMPARE(bad, zero);
    }

    // A typical monitor tab's three graphs, for people to look at.
    void saveExamples()
    {
        Ring cpu{12, 35, 80, 100, 64, 20, 5, 0, 45, 33};
        Ring ram{41, 40, 0, 0, 38, 37, 39, 42, 0, 41};
        Ring swap{90, 90, 89, 0, 88, 88, 87, 87, 86, 86};
        const QImage cpuImage = drawGraph(cpu, 3, Qt::green, false);
        const QImage ramImage = drawGraph(ram, 3, Qt::red, true);
        const QImage swapImage = drawGraph(swap, 3, Qt::blue, true);
        save(cpuImage, QStringLiteral("graph-cpu"));
        save(ramImage, QStringLiteral("graph-ram"));
        save(swapImage, QStringLiteral("graph-swap"));
        QVERIFY(countColour(cpuImage, Qt::green) > 0);
        QVERIFY(countColour(ramImage, Qt::red) > 0);
        // ram[3], the first point, takes ram[2] as it was (a gap itself).
        QCOMPARE(ram, (Ring{41, 40, 40, 0, 38, 37, 39, 42, 42, 41}));
    }
};
ZK_TEST(GraphDrawingTest)

#include "graphdrawing_test.moc"
