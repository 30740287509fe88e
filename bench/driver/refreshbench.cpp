// The periodic refresh, measured inside this process on a real main window:
// the CPU time of one slotUpdate() with the repaint it causes, on the task
// tab and on the monitor tab, the heap blocks it asks for, and the resident
// set and heap after start-up and after many refreshes.
#include "bench/driver/benches.h"
#include "bench/driver/clocks.h"
#include "bench/driver/interpose.h"
#include "bench/driver/procfs.h"
#include "bench/driver/report.h"

#include "core/globals.h"
#include "ezx/znavtabwidget.h"
#include "ui/zkestrel.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <malloc.h>
#include <unistd.h>

namespace {
constexpr int kBatch = 100;  // refreshes per timed sample
constexpr int kTaskTab = 0;
constexpr int kMonitorTab = 2;

// Counts the paint events the application delivers while it is installed.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Heap in use (small blocks and mapped ones), in kilobytes.
double heapKb()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / 1024.0;
}

// Lets the window paint what is pending.
void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        usleep(2000);
    }
}

// One refresh as the timer runs it: the slot, then the event loop's turn
// that paints what it changed.
void refresh(ZKestrel* w)
{
    w->slotUpdate();
    QApplication::processEvents();
}

struct TabFigures
{
    double cpuUs = 0;        // slot + repaint
    double wallUs = 0;       // the same, by the clock on the wall
    double slotOnlyUs = 0;   // slot alone
    double allocations = 0;  // heap blocks per refresh
    double paints = 0;       // widget paint events per refresh
};

TabFigures measureTab(ZKestrel* w, int tab, int runs)
{
    w->tabWidget->setCurrentPage(tab);
    settle();
    TabFigures out;
    QList<double> cpu, wall, slotOnly, allocations;
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    for (int run = 0; run < runs; ++run) {
        const quint64 a0 = interpose::allocations();
        const Timing t = timeInProcess([w] {
            for (int i = 0; i < kBatch; ++i)
                refresh(w);
        });
        cpu.append(t.cpuMs * 1000.0 / kBatch);
        wall.append(t.wallMs * 1000.0 / kBatch);
        allocations.append(double(interpose::allocations() - a0) / kBatch);
    }
    qApp->removeEventFilter(&counter);
    out.paints = double(counter.paints) / (runs * kBatch);
    for (int run = 0; run < runs; ++run) {
        slotOnly.append(timeInProcess([w] {
                            for (int i = 0; i < kBatch; ++i)
                                w->slotUpdate();
                        }).cpuMs
                        * 1000.0 / kBatch);
        settle();
    }
    out.cpuUs = median(cpu);
    out.wallUs = median(wall);
    out.slotOnlyUs = median(slotOnly);
    out.allocations = median(allocations);
    return out;
}
}

void benchRefresh(const BenchConfig& config, Report& report)
{
    isDaemon = true;  // nothing here may end the application
    auto* w = new ZKestrel();
    gMainWindow = w;
    settle();
    // The refreshes are driven from here, not by the clock.
    if (w->updateTimer)
        w->updateTimer->stop();

    // Memory: after start-up, then after refreshes on both tabs (half on
    // each, as a user would switch), with a reading on the way. The monitor
    // tab makes its graphs the first time it is shown: start-up counts as
    // done once each tab has been drawn. Both readings are taken on the task
    // tab, at rest.
    const qint64 rssShown = residentKb(getpid());
    const double heapShown = heapKb();
    for (const int tab : {kMonitorTab, kTaskTab}) {
        w->tabWidget->setCurrentPage(tab);
        refresh(w);
        settle();
    }
    const qint64 rss0 = residentKb(getpid());
    const qint64 anon0 = residentAnonKb(getpid());
    const qint64 file0 = residentFileKb(getpid());
    const double heap0 = heapKb();
    qint64 rssEarly = 0;
    double heapEarly = 0;
    const int early = config.refreshes / 10;
    // Per-refresh cost at the start and at the end of each half: work that
    // grows with time would show as a later figure above the earlier one.
    const int half = config.refreshes / 2;
    const QList<int> marks{0, kBatch, half - kBatch, half, half + kBatch, config.refreshes - kBatch,
                           config.refreshes};
    QList<qint64> cpuAt;
    QList<quint64> allocationsAt;
    const qint64 wall0 = monotonicNs();
    for (int i = 0; i <= config.refreshes; ++i) {
        if (marks.contains(i)) {
            cpuAt.append(processCpuNs());
            allocationsAt.append(interpose::allocations());
        }
        if (i == config.refreshes)
            break;
        if (i == 0 || i == half)
            w->tabWidget->setCurrentPage(i == 0 ? kMonitorTab : kTaskTab);
        refresh(w);
        if (i + 1 == early) {
            rssEarly = residentKb(getpid());
            heapEarly = heapKb();
        }
    }
    settle();
    const double loopS = double(monotonicNs() - wall0) / 1e9;
    const qint64 rss1 = residentKb(getpid());
    const qint64 anon1 = residentAnonKb(getpid());
    const qint64 file1 = residentFileKb(getpid());
    const double heap1 = heapKb();

    const qint64 growth = rss1 - rss0;
    report.add({QStringLiteral("4 Memory"),
                QStringLiteral("resident set growth, after start-up to after %1 refreshes (in-process window)")
                    .arg(config.refreshes),
                QStringLiteral("%1 KiB").arg(growth), QStringLiteral("%1 → %2").arg(mib(double(rss0)), mib(double(rss1))),
                QString(), QStringLiteral("no growth"), verdict(growth <= 0)});
    // Whether it goes on growing: the same, from the reading on the way.
    const qint64 later = rss1 - rssEarly;
    report.add({QStringLiteral("4 Memory"),
                QStringLiteral("resident set growth, after %1 to after %2 refreshes").arg(early).arg(config.refreshes),
                QStringLiteral("%1 KiB").arg(later),
                QStringLiteral("%1 → %2").arg(mib(double(rssEarly)), mib(double(rss1))), QString(),
                QStringLiteral("no growth"), verdict(later <= 0)});
    report.note(QStringLiteral("Memory growth: resident set %1 KiB with the window first shown, %2 KiB once each "
                               "tab was drawn (the reading called after start-up above), %3 KiB after %4 refreshes, "
                               "%5 KiB after %6; heap in use %7, %8, %9, %10 KiB (%11 s of refreshing). From the "
                               "reading after start-up to the last, anonymous memory (heap, stacks) grew by %12 KiB "
                               "and mapped files (code, fonts) by %13 KiB.")
                    .arg(rssShown)
                    .arg(rss0)
                    .arg(rssEarly)
                    .arg(early)
                    .arg(rss1)
                    .arg(config.refreshes)
                    .arg(heapShown, 0, 'f', 0)
                    .arg(heap0, 0, 'f', 0)
                    .arg(heapEarly, 0, 'f', 0)
                    .arg(heap1, 0, 'f', 0)
                    .arg(loopS, 0, 'f', 1)
                    .arg(anon1 - anon0)
                    .arg(file1 - file0));

    // Marks 0-1 and 2-3 are the monitor tab's first and last batch, 3-4 and
    // 5-6 the task tab's.
    auto perRefresh = [&](int from) {
        return QStringLiteral("%1 / %2 blocks")
            .arg(us(double(cpuAt[from + 1] - cpuAt[from]) / 1e3 / kBatch))
            .arg(double(allocationsAt[from + 1] - allocationsAt[from]) / kBatch, 0, 'f', 0);
    };
    if (cpuAt.size() == marks.size()) {
        report.note(QStringLiteral("Cost per refresh over time (CPU / heap blocks): monitor tab first %1, last %2; "
                                   "task tab first %3, last %4.")
                        .arg(perRefresh(0), perRefresh(2), perRefresh(3), perRefresh(5)));
    }

    const TabFigures task = measureTab(w, kTaskTab, config.runs);
    const TabFigures monitor = measureTab(w, kMonitorTab, config.runs);
    w->tabWidget->setCurrentPage(kTaskTab);
    report.add({QStringLiteral("2 Refresh"), QStringLiteral("CPU of one slotUpdate() with its repaint, task tab"),
                us(task.cpuUs) + QStringLiteral(" (wall ") + us(task.wallUs) + QLatin1Char(')'), QString(), QString(),
                QStringLiteral("–"), QStringLiteral("info")});
    report.add({QStringLiteral("2 Refresh"),
                QStringLiteral("CPU of one slotUpdate() with its repaint, monitor tab (graphs drawn)"),
                us(monitor.cpuUs) + QStringLiteral(" (wall ") + us(monitor.wallUs) + QLatin1Char(')'), QString(),
                QString(), QStringLiteral("–"), QStringLiteral("info")});
    report.note(QStringLiteral("Refresh: medians of %1 batches of %2; slotUpdate() alone %3 (task tab) and %4 "
                               "(monitor tab); heap blocks per refresh %5 and %6; widget paints per refresh "
                               "%7 and %8.")
                    .arg(config.runs)
                    .arg(kBatch)
                    .arg(us(task.slotOnlyUs), us(monitor.slotOnlyUs))
                    .arg(task.allocations, 0, 'f', 0)
                    .arg(monitor.allocations, 0, 'f', 0)
                    .arg(task.paints, 0, 'f', 1)
                    .arg(monitor.paints, 0, 'f', 1));

    gMainWindow = nullptr;
    delete w;
}
