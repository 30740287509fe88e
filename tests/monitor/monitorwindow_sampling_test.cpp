#include "ezx/zimage.h"
#include "ezx/zlabel.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zscrollpanel.h"
#include "monitor/meminfo.h"
#include "tests/common/logcapture.h"
#include "tests/common/ztest.h"
#include "tests/monitor/monitorwindow.h"

#include <QRegularExpression>

#include <cmath>

using namespace zk::monitor;

using namespace monitorwindow;

// The figures of the side panel and the monitor tab as the window's refresh
// produces them from /proc and the phone's clock file.
class MonitorWindowSamplingTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ZKestrel> window;

    // The megabytes a "12.3Mb" text shows; -1 when it has another form.
    static double megabytes(const QString& text)
    {
        static const QRegularExpression form(QStringLiteral("^(\\d+\\.\\d)Mb$"));
        const QRegularExpressionMatch m = form.match(text);
        return m.hasMatch() ? m.captured(1).toDouble() : -1.0;
    }

    // The free RAM percentage at the ring's position is the figure the
    // side panel shows, within the rounding of its one decimal.
    bool ramAgreesWithLabel() const
    {
        const MemInfo totals = readMemInfo(procMemInfoPath());
        const double shown = megabytes(window->ramLabel->text());
        if (totals.ramTotal <= 0 || shown < 0)
            return false;
        const double percent = shown * 1024.0 * 100.0 / static_cast<double>(totals.ramTotal);
        return std::abs(percent - window->ramHistory[window->historyPos]) <= 1.0;
    }

private slots:
    void initTestCase()
    {
        ensureSettings();
        QVERIFY(writeClock("312\n"));
    }

    void init()
    {
        gSettings->timeInCaption = false;
        window = std::make_unique<ZKestrel>();
        gMainWindow = window.get();
    }

    void cleanup()
    {
        gMainWindow = nullptr;
        window.reset();
    }

    void cpuTexts_data()
    {
        QTest::addColumn<int>("load");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("barHeight");
        QTest::newRow("17 %") << 17 << "312MHz\n17%"
                              << "CPU:312MHz,17%" << 34;
        QTest::newRow("half") << 50 << "312MHz\n50%"
                              << "CPU:312MHz,50%" << 20;
        QTest::newRow("idle") << 0 << "312MHz\n0%"
                              << "CPU:312MHz,0%" << 40;
        QTest::newRow("wrapped counters") << 150 << "312MHz\n100%"
                                          << "CPU:312MHz,100%" << 0;
    }
    // The clock file and the load as the two panel lines, the tab's title
    // and the height of the strip that covers the unused part of the gauge.
    void cpuTexts()
    {
        QFETCH(int, load);
        QVERIFY(steerNextLoad(window.get(), load));
        window->slotUpdate();
        QFETCH(QString, panel);
        QFETCH(QString, title);
        QCOMPARE(window->cpuLabel->text(), panel);
        QCOMPARE(window->cpuTitleLabel->text(), title);
        QFETCH(int, barHeight);
        QCOMPARE(window->cpuBar->height(), barHeight);
        QCOMPARE(window->cpuBar->isVisibleTo(window->sidePanel), barHeight > 0);
    }

    // The clock file is read afresh on every refresh: once it is empty the
    // panel shows what the other clock sources give, in the same form.
    void clockReadAfresh()
    {
        QVERIFY(writeClock(""));
        window->slotUpdate();
        QVERIFY(writeClock("312\n"));
        static const QRegularExpression form(QStringLiteral("^(-1|\\d+)MHz\n\\d{1,3}%$"));
        QVERIFY2(form.match(window->cpuLabel->text()).hasMatch(),
                 qPrintable(window->cpuLabel->text()));
        QVERIFY(!window->cpuLabel->text().startsWith(QStringLiteral("312MHz")));
    }

    // RAM and SWAP from the real /proc/meminfo: texts of one decimal, the
    // titles carrying the same figure, the ring's percentage and the bar
    // agreeing with the figure shown.
    void memoryTexts()
    {
        window->setMemInfo();
        const QString ram = window->ramLabel->text();
        const QString swap = window->swapLabel->text();
        QVERIFY2(megabytes(ram) >= 0, qPrintable(ram));
        QVERIFY2(megabytes(swap) >= 0, qPrintable(swap));
        QCOMPARE(window->ramTitleLabel->text(), QStringLiteral("RAM:") + ram);
        QCOMPARE(window->swapTitleLabel->text(), QStringLiteral("SWAP:") + swap);

        const MemInfo totals = readMemInfo(procMemInfoPath());
        const int pos = window->historyPos;
        const int ramPercent = window->ramHistory[pos];
        QVERIFY2(ramAgreesWithLabel(),
                 qPrintable(QStringLiteral("%1 shown, %2 % in the ring").arg(ram).arg(ramPercent)));
        QVERIFY(ramPercent > 0 && ramPercent <= 100);
        QCOMPARE(window->ramBar->width(), qMax(0, 48 - ramPercent / 2));
        QCOMPARE(window->swapBar->width(), qMax(0, 48 - window->swapHistory[pos] / 2));
        if (totals.swapTotal == 0) {
            QCOMPARE(swap, QStringLiteral("0.0Mb"));
            QCOMPARE(window->swapHistory[pos], 0);
            QCOMPARE(window->swapBar->width(), 48);
        }
    }

    // The CPU sample goes to the position, which advances; the memory sample
    // of the same refresh goes one ahead, wrapping from 9 to 0.
    void ringDiscipline_data()
    {
        QTest::addColumn<int>("start");
        QTest::newRow("middle") << 4;
        QTest::newRow("wrap") << 9;
    }
    void ringDiscipline()
    {
        QFETCH(int, start);
        window->monitorVisible = true;
        for (int i = 0; i < 10; ++i)
            window->cpuHistory[i] = window->ramHistory[i] = window->swapHistory[i] = 77;
        window->historyPos = start;
        QVERIFY(steerNextLoad(window.get(), 63));
        window->slotUpdate();

        const int next = (start + 1) % 10;
        QCOMPARE(window->historyPos, next);
        QCOMPARE(window->cpuHistory[start], 63);
        QCOMPARE(window->cpuHistory[next], 77);
        QCOMPARE(window->ramHistory[start], 77);
        QCOMPARE(window->swapHistory[start], 77);
        // The new RAM sample is the one the label shows.
        QVERIFY2(ramAgreesWithLabel(), qPrintable(window->ramLabel->text()));
    }

    // Off the monitor tab no memory file is read: the labels keep their
    // texts and the new position copies the previous one (0 copies 9).
    void carryForwardOffTheMonitorTab_data()
    {
        QTest::addColumn<int>("start");
        QTest::newRow("3 into 4") << 3;
        QTest::newRow("9 into 0") << 9;
    }
    void carryForwardOffTheMonitorTab()
    {
        QFETCH(int, start);
        QVERIFY(!window->monitorVisible);
        for (int i = 0; i < 10; ++i) {
            window->ramHistory[i] = 10 + i;
            window->swapHistory[i] = 30 + i;
        }
        window->historyPos = start;
        window->ramLabel->setText(QStringLiteral("kept"));
        window->ramTitleLabel->setText(QStringLiteral("RAM:kept"));
        const int barWidth = window->ramBar->width();

        window->slotUpdate();
        const int next = (start + 1) % 10;
        QCOMPARE(window->historyPos, next);
        QCOMPARE(window->ramHistory[next], 10 + start);
        QCOMPARE(window->swapHistory[next], 30 + start);
        QCOMPARE(window->ramLabel->text(), QStringLiteral("kept"));
        QCOMPARE(window->ramTitleLabel->text(), QStringLiteral("RAM:kept"));
        QCOMPARE(window->ramBar->width(), barWidth);

        // On the monitor tab the next refresh samples memory again.
        window->tabWidget->setCurrentPage(2);
        QVERIFY(window->monitorVisible);
        QVERIFY(megabytes(window->ramLabel->text()) >= 0);
    }

    // The clock goes into the title on a refresh only with TimeInCaption on.
    void captionOnlyWhenAsked()
    {
        const QString before = window->mainWidgetTitle();
        window->slotUpdate();
        QCOMPARE(window->mainWidgetTitle(), before);
        gSettings->timeInCaption = true;
        window->slotUpdate();
        QVERIFY2(window->mainWidgetTitle().startsWith(QStringLiteral("zKestrel [")),
                 qPrintable(window->mainWidgetTitle()));
    }

    // The log of one memory sample and of a full refresh, in order.
    void logLines()
    {
        LogCapture capture;
        window->showInfo();
        const QStringList lines = capture.finish();
        const QStringList expected{"showInfo", "setMemInfo", "get data", "set data", "setMemInfo end", "showInfo: end"};
        QStringList seen;
        for (const QString& line : lines) {
            if (expected.contains(line))
                seen << line;
        }
        QCOMPARE(seen, expected);
    }
};

ZK_TEST(MonitorWindowSamplingTest)
#include "monitorwindow_sampling_test.moc"
