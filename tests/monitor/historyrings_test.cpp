#include "monitor/cpuload.h"
#include "monitor/historyrings.h"
#include "monitor/monitortexts.h"
#include "tests/common/ztest.h"
#include "tests/monitor/monitorfiles.h"

#include <QTemporaryDir>

using namespace zk::monitor;

class HistoryRingsTest : public QObject
{
    Q_OBJECT

private slots:
    // Ten samples fill the ring; the eleventh overwrites position 0.
    void cpuRingWraps()
    {
        HistoryRings rings;
        QList<int> positions;
        for (int load = 1; load <= 11; ++load) {
            positions << rings.pos;
            rings.storeCpu(load * 5);
        }
        QCOMPARE(positions, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
        QCOMPARE(rings.pos, 1);
        QCOMPARE(rings.cpu, (std::array<int, 10>{55, 10, 15, 20, 25, 30, 35, 40, 45, 50}));
    }

    // Memory samples of a refresh land one position ahead of its CPU sample.
    void memoryGoesToAdvancedPosition()
    {
        HistoryRings rings;
        rings.pos = 9;
        rings.storeCpu(42);
        rings.storeMemory(61, 7);
        QCOMPARE(rings.cpu[9], 42);
        QCOMPARE(rings.ram[0], 61);
        QCOMPARE(rings.swap[0], 7);
        QCOMPARE(rings.ram[9], 0);
        QCOMPARE(rings.pos, 0);
    }

    void carryForward_data()
    {
        QTest::addColumn<int>("pos");
        QTest::addColumn<int>("from");
        QTest::newRow("from 9 into 0") << 0 << 9;
        QTest::newRow("from 3 into 4") << 4 << 3;
        QTest::newRow("from 8 into 9") << 9 << 8;
    }
    void carryForward()
    {
        QFETCH(int, pos);
        QFETCH(int, from);
        HistoryRings rings;
        for (int i = 0; i < 10; ++i) {
            rings.ram[static_cast<size_t>(i)] = 10 + i;
            rings.swap[static_cast<size_t>(i)] = 30 + i;
            rings.cpu[static_cast<size_t>(i)] = 50 + i;
        }
        const HistoryRings before = rings;
        rings.pos = pos;
        rings.carryMemoryForward();
        QCOMPARE(rings.ram[static_cast<size_t>(pos)], 10 + from);
        QCOMPARE(rings.swap[static_cast<size_t>(pos)], 30 + from);
        QCOMPARE(rings.cpu, before.cpu);
        QCOMPARE(rings.pos, pos);
        for (int i = 0; i < 10; ++i) {
            if (i != pos)
                QCOMPARE(rings.ram[static_cast<size_t>(i)], 10 + i);
        }
    }

    // A failed CPU read does not advance, so the next memory sample
    // overwrites the position the previous refresh wrote.
    void failedCpuReadKeepsMemoryPosition()
    {
        QTemporaryDir dir;
        const QString good = writeTestFile(dir.filePath(QStringLiteral("stat")), "cpu 1 1 1 7\n");
        CpuSampler sampler;
        HistoryRings rings;
        readCpuLoad(good, sampler, rings);
        rings.storeMemory(40, 10);
        QCOMPARE(readCpuLoad(dir.filePath(QStringLiteral("gone")), sampler, rings), -1);
        rings.storeMemory(45, 12);
        QCOMPARE(rings.pos, 1);
        QCOMPARE(rings.ram[1], 45);
        QCOMPARE(rings.swap[1], 12);
        QCOMPARE(rings.ram[2], 0);
    }

    void resetClearsEverything()
    {
        HistoryRings rings;
        for (int i = 0; i < 13; ++i) {
            rings.storeCpu(i);
            rings.storeMemory(i + 1, i + 2);
        }
        rings.reset();
        QCOMPARE(rings.pos, 0);
        QCOMPARE(rings.cpu, (std::array<int, 10>{}));
        QCOMPARE(rings.ram, (std::array<int, 10>{}));
        QCOMPARE(rings.swap, (std::array<int, 10>{}));
    }

    // A position a caller spoiled never indexes outside the rings.
    void badPositionStaysInside()
    {
        HistoryRings rings;
        rings.pos = 17;
        rings.storeCpu(33);
        QCOMPARE(rings.cpu[0], 33);
        QCOMPARE(rings.pos, 1);
        rings.pos = -4;
        rings.carryMemoryForward();
        QCOMPARE(rings.pos, -4);
        QCOMPARE(HistoryRings::previous(-4), 9);
    }

    void cpuBar_data()
    {
        QTest::addColumn<int>("load");
        QTest::addColumn<int>("height");
        QTest::newRow("idle") << 0 << 40;
        QTest::newRow("half") << 50 << 20;
        QTest::newRow("17 %") << 17 << 34;  // 6.8 truncated to 6
        QTest::newRow("full") << 100 << 0;
        QTest::newRow("failed sample") << -1 << 40;
    }
    void cpuBar()
    {
        QFETCH(int, load);
        QFETCH(int, height);
        QCOMPARE(cpuBarHeight(load), height);
    }

    void memBar_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("width");
        QTest::newRow("nothing free") << 0 << 48;
        QTest::newRow("40 % free") << 40 << 28;
        QTest::newRow("41 % free") << 41 << 28;
        QTest::newRow("98 % free") << 98 << -1;
        QTest::newRow("all free") << 100 << -2;
    }
    void memBar()
    {
        QFETCH(int, percent);
        QFETCH(int, width);
        QCOMPARE(memBarWidth(percent), width);
    }
};
ZK_TEST(HistoryRingsTest)

#include "historyrings_test.moc"
