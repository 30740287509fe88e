#include "monitor/meminfo.h"
#include "monitor/monitortexts.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"

#include <QTemporaryDir>

using namespace zk::monitor;

class MemInfoTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

    static QString capture(const char* name)
    {
        return testfiles::fixture(QStringLiteral("monitor/fixtures/meminfo/") + QLatin1String(name));
    }

private slots:
    // Captured files: free RAM is MemFree + Cached, free swap SwapFree +
    // SwapCached; percentages are truncated.
    void capturedFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QList<qint64>>("figures");  // RAM total, free; swap total, free
        QTest::addColumn<QList<int>>("percents");    // RAM, swap
        QTest::addColumn<QString>("ramTitle");
        QTest::addColumn<QString>("swapTitle");
        // 22 GB free: free * 100 is far beyond 32 bits.
        QTest::newRow("24 GB pc without swap") << capture("24gb-pc") << QList<qint64>{24683716, 22844980, 0, 0}
                                               << QList<int>{92, 0} << QStringLiteral("RAM:22309.6Mb")
                                               << QStringLiteral("SWAP:0.0Mb");
        // Unit-less HugePages lines included.
        QTest::newRow("phone") << capture("phone") << QList<qint64>{48160, 2364 + 10228, 16380, 6028 + 112}
                               << QList<int>{26, 37} << QStringLiteral("RAM:12.3Mb") << QStringLiteral("SWAP:6.0Mb");
        QTest::newRow("phone without swap") << capture("phone-without-swap") << QList<qint64>{30512, 10860, 0, 0}
                                            << QList<int>{35, 0} << QStringLiteral("RAM:10.6Mb")
                                            << QStringLiteral("SWAP:0.0Mb");
        // No units at all; the last line counts though it has no line end.
        QTest::newRow("no final line feed") << capture("no-final-newline") << QList<qint64>{2000, 800, 100, 65}
                                            << QList<int>{40, 65} << QStringLiteral("RAM:0.8Mb")
                                            << QStringLiteral("SWAP:0.1Mb");
    }
    void capturedFiles()
    {
        QFETCH(QString, path);
        QFETCH(QList<qint64>, figures);
        QFETCH(QList<int>, percents);
        const MemInfo m = readMemInfo(path);
        QCOMPARE((QList<qint64>{m.ramTotal, m.freeRam, m.swapTotal, m.freeSwap}), figures);
        QCOMPARE((QList<int>{freePercent(m.freeRam, m.ramTotal), freePercent(m.freeSwap, m.swapTotal)}), percents);
        QTEST(ramTitleText(m.freeRam), "ramTitle");
        QTEST(swapTitleText(m.freeSwap), "swapTitle");
    }

    // The same figures whatever the order of the lines.
    void otherOrder()
    {
        QList<QByteArray> lines = testfiles::fileBytes(capture("phone")).trimmed().split('\n');
        std::reverse(lines.begin(), lines.end());
        const MemInfo m = parseMemInfo(lines.join('\n') + '\n');
        QCOMPARE(m.ramTotal, 48160);
        QCOMPARE(m.freeRam, 12592);
        QCOMPARE(m.swapTotal, 16380);
        QCOMPARE(m.freeSwap, 6140);
    }

    // Whole words: SwapCached goes to swap only, Cached to RAM only.
    void swapCachedIsNotCached()
    {
        const MemInfo m = parseMemInfo("SwapCached: 7 kB\nCached: 100 kB\nMemFree: 1 kB\n"
                                       "cached: 1000 kB\nMemFree 50 kB\nSwapFree: 3 kB\n");
        QCOMPARE(m.freeRam, 101);
        QCOMPARE(m.freeSwap, 10);
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

#include "meminfo_test.moc"
