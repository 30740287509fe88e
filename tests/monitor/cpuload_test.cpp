#include "monitor/cpuload.h"
#include "monitor/historyrings.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"
#include "tests/monitor/monitorfiles.h"

#include <QTemporaryDir>

using namespace zk::monitor;

using Counters = QList<quint64>;

namespace {
QByteArray statText(const Counters& c)
{
    QByteArray line = "cpu ";
    for (quint64 v : c)
        line += ' ' + QByteArray::number(v);
    return line + "\ncpu0 1 2 3 4\nintr 5 6\n";
}

CpuCounters counters(const Counters& c)
{
    return CpuCounters{c.value(0), c.value(1), c.value(2), c.value(3)};
}
}

class CpuLoadTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

    QString stat(const QByteArray& text)
    {
        return writeTestFile(dir.filePath(QStringLiteral("stat")), text);
    }

private slots:
    // Two samples in a row; the load is the second one's.
    void loadBetweenSamples_data()
    {
        QTest::addColumn<Counters>("first");
        QTest::addColumn<Counters>("second");
        QTest::addColumn<int>("load");
        QTest::newRow("no jiffy in between") << Counters{500, 20, 300, 4000}
                                             << Counters{500, 20, 300, 4000} << 0;
        QTest::newRow("a quarter busy") << Counters{500, 20, 300, 4000}
                                        << Counters{530, 25, 315, 4150} << 25;
        QTest::newRow("all busy") << Counters{10, 0, 10, 80} << Counters{60, 0, 60, 80} << 100;
        QTest::newRow("truncated, not rounded") << Counters{0, 0, 0, 0} << Counters{2, 0, 0, 1}
                                                << 66;
        // Busy jiffies but no total ones: an infinite load, shown as 100.
        QTest::newRow("busy without total") << Counters{100, 0, 0, 100} << Counters{200, 0, 0, 0}
                                            << 100;
        // Only busy advanced past total: clamped.
        QTest::newRow("above 100") << Counters{100, 0, 0, 100} << Counters{200, 0, 0, 50} << 100;
        // A counter reset: every difference wraps round in unsigned arithmetic.
        QTest::newRow("counters went backwards") << Counters{900000, 0, 100000, 9000000}
                                                 << Counters{300, 0, 200, 5000} << 100;
        // Sums past 2^31: kept whole, they still give the true difference.
        QTest::newRow("sums above 2^31") << Counters{1500000000, 0, 700000000, 100}
                                         << Counters{1500000040, 0, 700000010, 250} << 25;
        QTest::newRow("sums above 2^32") << Counters{3000000000, 7, 2000000000, 1000000000}
                                         << Counters{3000000020, 7, 2000000010, 1000000070}
                                         << 30;
        QTest::newRow("sums above 2^63") << Counters{0x7fffffffffffff00ULL, 0, 0x100, 0x10}
                                         << Counters{0x7fffffffffffff10ULL, 0, 0x110, 0x20} << 66;
    }
    void loadBetweenSamples()
    {
        QFETCH(Counters, first);
        QFETCH(Counters, second);
        QFETCH(int, load);
        CpuSampler sampler;
        sampler.sample(counters(first));
        QCOMPARE(sampler.sample(counters(second)), load);
        QCOMPARE(sampler.prevBusy(), second[0] + second[1] + second[2]);
        QCOMPARE(sampler.prevTotal(), second[0] + second[1] + second[2] + second[3]);
    }

    // The first sample compares against zero sums: the average since boot,
    // from the first line only, however long the file.
    void capturedFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("load");
        QTest::newRow("two-core pc") << QStringLiteral("two-core-pc") << 94;
        QTest::newRow("64 cores, longer than a read") << QStringLiteral("64-core-server") << 9;
        QTest::newRow("phone") << QStringLiteral("phone") << 0;
        // I/O wait and later counters are neither busy nor total.
        QTest::newRow("no final line feed") << QStringLiteral("no-final-newline") << 30;
    }
    void capturedFiles()
    {
        QFETCH(QString, file);
        QFETCH(int, load);
        CpuSampler sampler;
        HistoryRings rings;
        QCOMPARE(readCpuLoad(testfiles::fixture(QStringLiteral("monitor/fixtures/stat/") + file), sampler, rings), load);
    }

    void successStoresInRingAndAdvances()
    {
        CpuSampler sampler;
        HistoryRings rings;
        rings.pos = 9;
        QCOMPARE(readCpuLoad(stat(statText({10, 0, 10, 80})), sampler, rings), 20);
        QCOMPARE(rings.cpu[9], 20);
        QCOMPARE(rings.pos, 0);
    }

    // A failed read gives -1 and leaves sums, rings and position as they were;
    // the next good sample still measures from the last good one.
    void failureChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("missing");
        QTest::newRow("missing file") << QByteArray() << true;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("three counters") << QByteArray("cpu 1 2 3\n") << false;
        QTest::newRow("not a number") << QByteArray("cpu 1 2 x 4\n") << false;
        QTest::newRow("negative counter") << QByteArray("cpu 1 -2 3 4\n") << false;
        QTest::newRow("too big for 64 bits")
            << QByteArray("cpu 1 2 3 99999999999999999999\n") << false;
        QTest::newRow("other line first") << QByteArray("intr 1 2 3 4\ncpu 1 2 3 4\n") << false;
        QTest::newRow("per-processor line only") << QByteArray("cpu0 1 2 3 4\n") << false;
    }
    void failureChangesNothing()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, missing);
        CpuSampler sampler;
        HistoryRings rings;
        readCpuLoad(stat(statText({100, 0, 100, 800})), sampler, rings);
        readCpuLoad(stat(statText({150, 0, 150, 900})), sampler, rings);
        rings.ram = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        rings.swap = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
        const HistoryRings before = rings;
        const quint64 busy = sampler.prevBusy();
        const quint64 total = sampler.prevTotal();

        QString path = dir.filePath(QStringLiteral("broken"));
        QFile::remove(path);
        if (!missing)
            writeTestFile(path, text);
        QCOMPARE(readCpuLoad(path, sampler, rings), -1);

        QCOMPARE(sampler.prevBusy(), busy);
        QCOMPARE(sampler.prevTotal(), total);
        QCOMPARE(rings.pos, before.pos);
        QCOMPARE(rings.cpu, before.cpu);
        QCOMPARE(rings.ram, before.ram);
        QCOMPARE(rings.swap, before.swap);
        QCOMPARE(readCpuLoad(stat(statText({160, 0, 150, 990})), sampler, rings), 10);
    }

    // The machine's own counters make a load within 0..100.
    void realProcStat()
    {
        CpuSampler sampler;
        HistoryRings rings;
        const int load = readCpuLoad(procStatPath(), sampler, rings);
        QVERIFY2(load >= 0 && load <= 100, qPrintable(QString::number(load)));
        QCOMPARE(rings.pos, 1);
    }
};
ZK_TEST(CpuLoadTest)

#include "cpuload_test.moc"
