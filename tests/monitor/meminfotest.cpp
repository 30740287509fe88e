#include "monitor/meminfo.h"
#include "monitor/monitortexts.h"
#include "tests/common/ztest.h"
#include "tests/monitor/monitorfiles.h"

#include <QTemporaryDir>

using namespace zk::monitor;

// A kernel's meminfo as the phone writes it (unit-less HugePages lines
// included).
static const QByteArray phoneMemInfo = "MemTotal:        48160 kB\n"
                                       "MemFree:          2364 kB\n"
                                       "Buffers:           280 kB\n"
                                       "Cached:          10228 kB\n"
                                       "SwapCached:        112 kB\n"
                                       "Active:          25120 kB\n"
                                       "SwapTotal:       16380 kB\n"
                                       "SwapFree:         6028 kB\n"
                                       "HugePages_Total:     0\n"
                                       "HugePages_Free:      0\n"
                                       "Hugepagesize:     4096 kB\n";

class MemInfoTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void phoneFile()
    {
        const MemInfo m = parseMemInfo(phoneMemInfo);
        QCOMPARE(m.ramTotal, 48160);
        QCOMPARE(m.freeRam, 2364 + 10228);
        QCOMPARE(m.swapTotal, 16380);
        QCOMPARE(m.freeSwap, 6028 + 112);
        QCOMPARE(freePercent(m.freeRam, m.ramTotal), 26);  // 26.146...
        QCOMPARE(freePercent(m.freeSwap, m.swapTotal), 37); // 37.484...
        QCOMPARE(megabyteText(m.freeRam), QStringLiteral("12.3Mb"));
        QCOMPARE(ramTitleText(m.freeRam), QStringLiteral("RAM:12.3Mb"));
        QCOMPARE(swapTitleText(m.freeSwap), QStringLiteral("SWAP:6.0Mb"));
    }

    // The same figures whatever the order of the lines.
    void otherOrder()
    {
        QList<QByteArray> lines = phoneMemInfo.trimmed().split('\n');
        std::reverse(lines.begin(), lines.end());
        const MemInfo m = parseMemInfo(lines.join('\n') + '\n');
        QCOMPARE(m.ramTotal, 48160);
        QCOMPARE(m.freeRam, 12592);
        QCOMPARE(m.swapTotal, 16380);
        QCOMPARE(m.freeSwap, 6140);
    }

    void withoutSwap()
    {
        const MemInfo m = parseMemInfo("MemTotal: 1000 kB\nMemFree: 400 kB\nCached: 0 kB\n"
                                       "SwapCached: 0 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n");
        QCOMPARE(m.freeSwap, 0);
        QCOMPARE(m.swapTotal, 0);
        QCOMPARE(freePercent(m.freeSwap, m.swapTotal), 0);
        QCOMPARE(freePercent(m.freeRam, m.ramTotal), 40);
        QCOMPARE(megabyteText(m.freeSwap), QStringLiteral("0.0Mb"));
        QCOMPARE(swapTitleText(m.freeSwap), QStringLiteral("SWAP:0.0Mb"));
    }

    // A line without a unit must not make the next line's name read as a unit.
    void linesWithoutUnits()
    {
        const MemInfo m = parseMemInfo("MemTotal: 2000\nMemFree: 500\nCached: 300\n"
                                       "HugePages_Total: 0\nSwapTotal: 100\nSwapFree: 60\n"
                                       "SwapCached: 5");
        QCOMPARE(m.ramTotal, 2000);
        QCOMPARE(m.freeRam, 800);
        QCOMPARE(m.swapTotal, 100);
        QCOMPARE(m.freeSwap, 65); // the last line counts though it has no line end
    }

    // Whole words: SwapCached goes to swap only, Cached to RAM only.
    void swapCachedIsNotCached()
    {
        const MemInfo m = parseMemInfo("SwapCached: 7 kB\nCached: 100 kB\nMemFree: 1 kB\n"
                                       "cached: 1000 kB\nMemFree 50 kB\nSwapFree: 3 kB\n");
        QCOMPARE(m.freeRam, 101);
        QCOMPARE(m.freeSwap, 10);
    }

    // 23 GiB: free * 100 is far beyond 32 bits.
    void largeMachine()
    {
        const MemInfo m = parseMemInfo("MemTotal:       24117248 kB\n"
                                       "MemFree:        20000000 kB\n"
                                       "Cached:          3000000 kB\n"
                                       "SwapCached:            0 kB\n"
                                       "SwapTotal:      33554432 kB\n"
                                       "SwapFree:       33554432 kB\n");
        QCOMPARE(m.freeRam, 23000000);
        QCOMPARE(freePercent(m.freeRam, m.ramTotal), 95); // 95.367...
        QCOMPARE(freePercent(m.freeSwap, m.swapTotal), 100);
        QCOMPARE(ramTitleText(m.freeRam), QStringLiteral("RAM:22460.9Mb"));
        QCOMPARE(swapTitleText(m.freeSwap), QStringLiteral("SWAP:32768.0Mb"));
    }

    void badLinesAreSkipped()
    {
        const MemInfo m = parseMemInfo("MemTotal: 1000 kB\nMemFree: lots kB\nCached: -50 kB\n"
                                       "Cached: 200 kB\nSwapTotal:\n\n   \nSwapFree: 99999999999999999999999\n");
        QCOMPARE(m.ramTotal, 1000);
        QCOMPARE(m.freeRam, 200);
        QCOMPARE(m.swapTotal, 0);
        QCOMPARE(m.freeSwap, 0);
    }

    void sumsSaturate()
    {
        const MemInfo m = parseMemInfo("MemFree: 9223372036854775807 kB\nCached: 10 kB\n"
                                       "MemTotal: 1 kB\n");
        QCOMPARE(m.freeRam, std::numeric_limits<qint64>::max());
        QCOMPARE(freePercent(m.freeRam, m.ramTotal), 100);
    }

    void missingFileGivesZeros()
    {
        const MemInfo m = readMemInfo(dir.filePath(QStringLiteral("no-meminfo")));
        QCOMPARE(m.freeRam, 0);
        QCOMPARE(m.ramTotal, 0);
        QCOMPARE(m.freeSwap, 0);
        QCOMPARE(m.swapTotal, 0);
        QCOMPARE(freePercent(m.freeRam, m.ramTotal), 0);
        QCOMPARE(megabyteText(m.freeRam), QStringLiteral("0.0Mb"));
        QCOMPARE(ramTitleText(m.freeRam), QStringLiteral("RAM:0.0Mb"));
    }

    void readsFile()
    {
        const QString path = writeTestFile(dir.filePath(QStringLiteral("meminfo")), phoneMemInfo);
        const MemInfo m = readMemInfo(path);
        QCOMPARE(m.freeRam, 12592);
        QCOMPARE(m.swapTotal, 16380);
    }

    // The machine's own file has a RAM total and no more free than total.
    void realProcMemInfo()
    {
        const MemInfo m = readMemInfo(procMemInfoPath());
        QVERIFY(m.ramTotal > 0);
        QVERIFY(m.freeRam > 0 && m.freeRam <= m.ramTotal);
    }

    void percent_data()
    {
        QTest::addColumn<qint64>("free");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("percent");
        QTest::newRow("40 %") << qint64(400) << qint64(1000) << 40;
        QTest::newRow("truncated") << qint64(999) << qint64(1000) << 99;
        QTest::newRow("nothing free") << qint64(0) << qint64(1000) << 0;
        QTest::newRow("zero of zero") << qint64(0) << qint64(0) << 0;
        QTest::newRow("free without total") << qint64(10) << qint64(0) << 0;
        QTest::newRow("more free than total") << qint64(1500) << qint64(1000) << 100;
    }
    void percent()
    {
        QFETCH(qint64, free);
        QFETCH(qint64, total);
        QFETCH(int, percent);
        QCOMPARE(freePercent(free, total), percent);
    }

    void cpuTexts()
    {
        QCOMPARE(cpuPanelText(312, 17), QStringLiteral("312MHz\n17%"));
        QCOMPARE(cpuTitleText(312, 17), QStringLiteral("CPU:312MHz,17%"));
        QCOMPARE(cpuPanelText(-1, -1), QStringLiteral("-1MHz\n-1%"));
        QCOMPARE(cpuTitleText(-1, -1), QStringLiteral("CPU:-1MHz,-1%"));
    }
};
ZK_TEST(MemInfoTest)

#include "meminfotest.moc"
