#include "monitor/cpufrequency.h"
#include "monitor/cpuload.h"
#include "monitor/meminfo.h"
#include "platform/devicepath.h"
#include "tests/common/ztest.h"
#include "tests/monitor/monitorfiles.h"

#include <QTemporaryDir>

#include <fstream>
#include <string>

using namespace zk::monitor;

class CpuFrequencyTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

    // The three kinds of source in their usual order, in the temp folder;
    // only the files a test writes exist.
    QList<CpuFrequencySource> sources() const
    {
        return {{dir.filePath(QStringLiteral("op")), CpuFrequencySource::MpmOperatingPoint},
                {dir.filePath(QStringLiteral("scaling_cur_freq")), CpuFrequencySource::CpufreqKhz},
                {dir.filePath(QStringLiteral("cpuinfo")), CpuFrequencySource::CpuInfoMhz}};
    }
    void write(const char* name, const QByteArray& text)
    {
        writeTestFile(dir.filePath(QString::fromLatin1(name)), text);
    }

    static QByteArray cpuInfo(const QByteArray& firstMhz, const QByteArray& secondMhz)
    {
        return "processor\t: 0\nmodel name\t: Test CPU\ncpu MHz\t\t: " + firstMhz
               + "\ncache size\t: 512 KB\n\nprocessor\t: 1\ncpu MHz\t\t: " + secondMhz + "\n";
    }

private slots:
    void init()
    {
        for (const CpuFrequencySource& s : sources())
            QFile::remove(s.path);
    }

    void phoneFileComesFirst()
    {
        write("op", "312\n");
        write("scaling_cur_freq", "1200000\n");
        write("cpuinfo", cpuInfo("2394.561", "800.000"));
        QCOMPARE(readCpuFrequency(sources()), 312);
    }

    void cpufreqWhenPhoneFileMissing()
    {
        write("scaling_cur_freq", "1199999\n");
        write("cpuinfo", cpuInfo("2394.561", "800.000"));
        QCOMPARE(readCpuFrequency(sources()), 1199);
    }

    void cpuInfoWhenOnlyItAnswers()
    {
        write("cpuinfo", cpuInfo("2394.961", "800.000"));
        QCOMPARE(readCpuFrequency(sources()), 2394);
    }

    // Refresh after refresh: the phone's file is asked first each time, and
    // a fallback answers only while it fails.
    void clockReaderGoesBackToThePhoneFile()
    {
        CpuClockReader reader(sources());
        write("scaling_cur_freq", "1200000\n");
        write("cpuinfo", cpuInfo("2394.561", "800.000"));
        for (const auto& [op, mhz] : {std::pair{"312\n", 312}, {"", 1200}, {"450\n", 450}, {"x", 1200}, {"200", 200}})
            QCOMPARE((write("op", op), reader.read()), mhz);
    }

    void noSourceGivesMinusOne()
    {
        QCOMPARE(readCpuFrequency(sources()), -1);
        QCOMPARE(readCpuFrequency({}), -1);
    }

    // A source that is there but says nothing usable passes to the next one.
    void unusableSourcesAreSkipped_data()
    {
        QTest::addColumn<QByteArray>("op");
        QTest::addColumn<QByteArray>("khz");
        QTest::addColumn<QByteArray>("info");
        QTest::addColumn<int>("mhz");
        QTest::newRow("empty phone file") << QByteArray("") << QByteArray("500000")
                                          << QByteArray() << 500;
        QTest::newRow("words in phone file") << QByteArray("fast\n") << QByteArray("500000")
                                             << QByteArray() << 500;
        QTest::newRow("negative in phone file") << QByteArray("-5\n") << QByteArray("500000")
                                                << QByteArray() << 500;
        QTest::newRow("phone file beyond int") << QByteArray("4294967608\n")
                                               << QByteArray("500000") << QByteArray() << 500;
        QTest::newRow("empty cpufreq") << QByteArray() << QByteArray("")
                                       << cpuInfo("1000.0", "1.0") << 1000;
        QTest::newRow("cpuinfo without MHz") << QByteArray() << QByteArray()
                                             << QByteArray("processor\t: 0\nBogoMIPS\t: 38.40\n")
                                             << -1;
        QTest::newRow("cpuinfo MHz unreadable") << QByteArray() << QByteArray()
                                                << QByteArray("cpu MHz\t\t: unknown\n") << -1;
        QTest::newRow("phone file with spaces") << QByteArray("  532 \n") << QByteArray()
                                                << QByteArray() << 532;
    }
    void unusableSourcesAreSkipped()
    {
        QFETCH(QByteArray, op);
        QFETCH(QByteArray, khz);
        QFETCH(QByteArray, info);
        QFETCH(int, mhz);
        // A null text means the file does not exist; an empty one is written.
        if (!op.isNull())
            write("op", op);
        if (!khz.isNull())
            write("scaling_cur_freq", khz);
        if (!info.isNull())
            write("cpuinfo", info);
        QCOMPARE(readCpuFrequency(sources()), mhz);
    }

    // The readers on this machine's own kernel files, which report a size of
    // 0 (/proc) or of a page (/sys): each reader answers from the file when
    // the file holds what it looks for. The figures are the machine's.
    void kernelFilesOfThisMachineAnswer_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("holds");
        QTest::newRow("stat") << procStatPath() << QStringLiteral("cpu ");
        QTest::newRow("meminfo") << procMemInfoPath() << QStringLiteral("MemTotal:");
        QTest::newRow("cpuinfo") << QStringLiteral("/proc/cpuinfo") << QStringLiteral("cpu MHz");
        QTest::newRow("cpufreq") << QStringLiteral("/sys/devices/system/cpu/cpu0/cpufreq/scaling_cur_freq")
                                 << QString();
    }
    void kernelFilesOfThisMachineAnswer()
    {
        QFETCH(QString, path);
        QFETCH(QString, holds);
        // Whether the file is there and holds a line for the reader, told by
        // a stream that reads to the end whatever size the file reports.
        std::ifstream file(path.toStdString());
        if (!file)
            QSKIP("this machine has no such file");
        bool found = holds.isEmpty();
        for (std::string line; !found && std::getline(file, line);)
            found = QString::fromStdString(line).startsWith(holds);
        if (!found)
            QSKIP("this machine's file has no line for the reader");

        const QString row = QString::fromLatin1(QTest::currentDataTag());
        if (row == QLatin1String("stat")) {
            QVERIFY(readCpuCounters(path).has_value());
        } else if (row == QLatin1String("meminfo")) {
            QVERIFY(readMemInfo(path).ramTotal > 0);
        } else {
            const auto kind = row == QLatin1String("cpuinfo") ? CpuFrequencySource::CpuInfoMhz
                                                              : CpuFrequencySource::CpufreqKhz;
            QVERIFY(readCpuFrequencySource({path, kind}) >= 0);
            // And the clock as the monitor asks for it, whichever answers first.
            QVERIFY(readCpuFrequency() >= 0);
        }
    }

    // The phone's file is looked up below the device root.
    void defaultSourcesStartWithPhoneFile()
    {
        const QList<CpuFrequencySource> defaults = defaultCpuFrequencySources();
        QCOMPARE(defaults.size(), 3);
        QCOMPARE(defaults[0].kind, CpuFrequencySource::MpmOperatingPoint);
        QVERIFY(!deviceRoot().isEmpty());
        QCOMPARE(defaults[0].path, deviceRoot() + QStringLiteral("/sys/mpm/op"));
        writeTestFile(defaults[0].path, "399\n");
        QCOMPARE(readCpuFrequency(), 399);
        QFile::remove(defaults[0].path);
        QVERIFY(readCpuFrequency() != 399);
    }
};
ZK_TEST(CpuFrequencyTest)

#include "cpufrequency_test.moc"
