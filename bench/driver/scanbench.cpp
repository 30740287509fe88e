// The /proc scan with many processes running, some with a window, against
// the machine's floor (a plain loop reading every command line) and against
// ps. The three run side by side in every round, in both list modes, with a
// thousand processes and with many more.
#include "bench/driver/benches.h"
#include "bench/driver/clocks.h"
#include "bench/driver/procfs.h"
#include "bench/driver/report.h"
#include "bench/driver/spawn.h"

#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/zlistbox.h"
#include "process/procwalk.h"
#include "ui/zkestrel.h"

#include <QApplication>
#include <QTimer>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

using namespace zk::proc;

namespace {
constexpr int kReadyTimeoutMs = 60000;

// Reference A: every process's command line read with plain system calls.
int readEveryCommandLine()
{
    DIR* proc = opendir("/proc");
    if (!proc)
        return 0;
    int read = 0;
    char path[300];
    char buffer[4096];
    while (const dirent* entry = readdir(proc)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
            continue;
        std::snprintf(path, sizeof path, "/proc/%s/cmdline", entry->d_name);
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::read(fd, buffer, sizeof buffer) > 0)
            ++read;
        close(fd);
    }
    closedir(proc);
    return read;
}

// Reference B: ps listing every process with its command line.
Timing runPs()
{
    rusage usage{};
    const qint64 t0 = monotonicNs();
    const Spawned ps = spawnProgram(QStringLiteral("ps"),
                                    {QStringLiteral("-e"), QStringLiteral("-o"), QStringLiteral("pid=,args=")});
    if (ps.pid < 0)
        return {-1, -1};
    waitChild(ps.pid, &usage);
    return {double(monotonicNs() - t0) / 1e6, cpuMsOf(usage)};
}

// The processes of the scan: `count` idlers, the first `windows` of them
// looking like phone applications; of the rest, every other one is started
// from the memory card (a user application, listed without a window when
// those are shown), the others look like system daemons.
QList<pid_t> startIdlers(const BenchConfig& config, int count, int windows)
{
    QList<pid_t> pids;
    const QString idler = config.binDir + QStringLiteral("/zk_bench_idler");
    for (int i = 0; i < count; ++i) {
        const bool app = i < windows;
        const bool userApp = !app && i % 2 == 0;
        const QString argv0 = app       ? QStringLiteral("/usr/SYSqtapp/benchapp%1/benchapp%1").arg(i)
                              : userApp ? QStringLiteral("/mmc/mmca1/bench/benchd%1").arg(i)
                                        : QStringLiteral("/usr/bin/benchd%1").arg(i);
        const QStringList args = app ? QStringList() : QStringList{QStringLiteral("-x")};
        const Spawned s = spawnProgram(idler, args, {}, argv0);
        if (s.pid > 0)
            pids.append(s.pid);
    }
    return pids;
}

// Which tasks the list shows: the settings as shipped, or every task with
// the windowless applications too.
struct ScanMode
{
    const char* name;
    bool hideSystemTasks;
    bool showAppNoWindow;
};
constexpr ScanMode kDefaultMode{"default settings", true, false};
constexpr ScanMode kAllMode{"\"Show All Tasks\" + windowless applications", false, true};

struct ModeFigures
{
    Samples scan, a, b;
    QList<double> ratioA, ratioB;
    int rows = 0;
};

ModeFigures measureMode(ZKestrel* w, const ScanMode& mode, int runs)
{
    const bool hide = gSettings->hideSystemTasks;
    const bool noWindow = gSettings->showAppNoWindow;
    gSettings->hideSystemTasks = mode.hideSystemTasks;
    gSettings->showAppNoWindow = mode.showAppNoWindow;
    ModeFigures f;
    for (int run = 0; run < runs; ++run) {
        const Timing ta = timeInProcess(readEveryCommandLine);
        // The program scans from a turn of its event loop: what the bus said
        // before that turn is known to it.
        QApplication::processEvents();
        const Timing ts = timeInProcess([w] { w->buildProcList(); });
        f.rows = w->procListBox->count();
        const Timing tb = runPs();
        f.a.add(ta);
        f.scan.add(ts);
        f.b.add(tb);
        f.ratioA.append(ts.wallMs / ta.wallMs);
        f.ratioB.append(tb.wallMs / ts.wallMs);
    }
    gSettings->hideSystemTasks = hide;
    gSettings->showAppNoWindow = noWindow;
    // The rows of the last scan would otherwise be torn down inside the
    // next mode's first timing.
    w->procListBox->clear();
    QApplication::processEvents();
    return f;
}

// One size of process table: `count` idlers, a fifth (as configured) with a
// window; both modes measured on it. `usual`: the phone's usual load, which
// the strict targets are set for.
void scanWithProcesses(const BenchConfig& config, int count, bool usual, Report& report)
{
    const int windows = int(qint64(config.windows) * count / config.processes);
    const QList<pid_t> idlers = startIdlers(config, count, windows);
    QStringList windowPids;
    for (int i = 0; i < windows && i < idlers.size(); ++i)
        windowPids.append(QString::number(idlers[i]));
    SpawnOptions piped;
    piped.pipeOutput = true;
    const Spawned holder = spawnProgram(config.binDir + QStringLiteral("/zk_bench_channels"), windowPids, piped);
    const QByteArray ready = readLine(holder.pipeFd, kReadyTimeoutMs);

    isDaemon = true;
    auto* w = new ZKestrel();
    gMainWindow = w;
    if (w->updateTimer)
        w->updateTimer->stop();
    QApplication::processEvents();

    int windowed = 0;
    for (const QString& pid : std::as_const(windowPids))
        windowed += hasAppWindow(pid.toInt()) ? 1 : 0;

    const ModeFigures figures[] = {measureMode(w, kDefaultMode, config.runs), measureMode(w, kAllMode, config.runs)};
    const int listed = processCount();

    gMainWindow = nullptr;
    delete w;
    killChild(holder.pid);
    close(holder.pipeFd);
    for (const pid_t pid : idlers)
        kill(pid, SIGKILL);
    for (const pid_t pid : idlers)
        waitChild(pid);

    // The strict targets hold for the default settings at the usual load;
    // every mode and size must leave ps far behind.
    for (int m = 0; m < 2; ++m) {
        const ModeFigures& f = figures[m];
        const ScanMode& mode = m == 0 ? kDefaultMode : kAllMode;
        const bool strict = usual && m == 0;
        const QString what = QStringLiteral("buildProcList(), %1 processes, %2 with a window, %3")
                                 .arg(count)
                                 .arg(windows)
                                 .arg(QLatin1String(mode.name));
        const QString scan = wallWithCpu(median(f.scan.wallMs), median(f.scan.cpuMs));
        const double rA = median(f.ratioA);
        const double rB = median(f.ratioB);
        report.add({QStringLiteral("1 Scan"), what, scan,
                    QStringLiteral("A (plain C++ loop): ") + wallWithCpu(median(f.a.wallMs), median(f.a.cpuMs)),
                    times(rA), strict ? QStringLiteral("≤ 1.0× A") : QStringLiteral("–"),
                    strict ? verdict(rA <= 1.0) : QStringLiteral("info")});
        const double wantB = strict ? 8.0 : 5.0;
        report.add({QStringLiteral("1 Scan"), what, scan,
                    QStringLiteral("B (ps -e -o pid=,args=): ") + wallWithCpu(median(f.b.wallMs), median(f.b.cpuMs)),
                    times(rB) + QStringLiteral(" faster"),
                    QStringLiteral("≥ %1× faster than B").arg(wantB, 0, 'f', 0), verdict(rB >= wantB)});
        report.note(QStringLiteral("Scan, %1 processes, %2: %3 rounds of A, scan, B; ratio = median of the "
                                   "per-round ratios of wall times. %4 processes in /proc, %5 of %6 window "
                                   "channels up (%7), %8 rows listed.")
                        .arg(count)
                        .arg(QLatin1String(mode.name))
                        .arg(config.runs)
                        .arg(listed)
                        .arg(windowed)
                        .arg(windows)
                        .arg(QString::fromLatin1(ready))
                        .arg(f.rows));
    }
}
}

void benchScan(const BenchConfig& config, Report& report)
{
    scanWithProcesses(config, config.processes, true, report);
    if (config.largeProcesses > config.processes)
        scanWithProcesses(config, config.largeProcesses, false, report);
}
