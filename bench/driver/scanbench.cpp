// The /proc scan with many processes running, some with a window, against
// the machine's floor (a plain loop reading every command line) and against
// ps. The three run side by side in every round.
#include "bench/driver/benches.h"
#include "bench/driver/clocks.h"
#include "bench/driver/procfs.h"
#include "bench/driver/report.h"
#include "bench/driver/spawn.h"

#include "core/globals.h"
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
    rusage usage {};
    const qint64 t0 = monotonicNs();
    const Spawned ps = spawnProgram(QStringLiteral("ps"),
                                    {QStringLiteral("-e"), QStringLiteral("-o"), QStringLiteral("pid=,args=")});
    if (ps.pid < 0)
        return {-1, -1};
    waitChild(ps.pid, &usage);
    return {double(monotonicNs() - t0) / 1e6, cpuMsOf(usage)};
}

// The processes of the scan: `count` idlers, the first `windows` of them
// looking like phone applications, the rest like daemons.
QList<pid_t> startIdlers(const BenchConfig& config)
{
    QList<pid_t> pids;
    const QString idler = config.binDir + QStringLiteral("/zk_bench_idler");
    for (int i = 0; i < config.processes; ++i) {
        const bool app = i < config.windows;
        const QString argv0 = app ? QStringLiteral("/usr/SYSqtapp/benchapp%1/benchapp%1").arg(i)
                                  : QStringLiteral("/usr/bin/benchd%1").arg(i);
        const QStringList args = app ? QStringList() : QStringList {QStringLiteral("-x")};
        const Spawned s = spawnProgram(idler, args, {}, argv0);
        if (s.pid > 0)
            pids.append(s.pid);
    }
    return pids;
}
}

void benchScan(const BenchConfig& config, Report& report)
{
    const QList<pid_t> idlers = startIdlers(config);
    QStringList windowPids;
    for (int i = 0; i < config.windows && i < idlers.size(); ++i)
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

    Samples scan, a, b;
    QList<double> ratioA, ratioB;
    int rows = 0;
    for (int run = 0; run < config.runs; ++run) {
        const Timing ta = timeInProcess(readEveryCommandLine);
        // The program scans from a turn of its event loop: what the bus said
        // before that turn is known to it.
        QApplication::processEvents();
        const Timing ts = timeInProcess([w] { w->buildProcList(); });
        rows = w->procListBox->count();
        const Timing tb = runPs();
        a.add(ta);
        scan.add(ts);
        b.add(tb);
        ratioA.append(ts.wallMs / ta.wallMs);
        ratioB.append(tb.wallMs / ts.wallMs);
    }
    const int listed = processCount();

    gMainWindow = nullptr;
    delete w;
    killChild(holder.pid);
    close(holder.pipeFd);
    for (const pid_t pid : idlers)
        kill(pid, SIGKILL);
    for (const pid_t pid : idlers)
        waitChild(pid);

    const QString what = QStringLiteral("buildProcList(), %1 processes, %2 with a window")
                             .arg(config.processes)
                             .arg(config.windows);
    const double rA = median(ratioA);
    const double rB = median(ratioB);
    report.add({QStringLiteral("1 Scan"), what, ms(median(scan.wallMs)),
                QStringLiteral("A (plain C++ loop): ") + ms(median(a.wallMs)), times(rA), QStringLiteral("≤ 2× A"),
                verdict(rA <= 2.0)});
    report.add({QStringLiteral("1 Scan"), what, ms(median(scan.wallMs)),
                QStringLiteral("B (ps -e -o pid=,args=): ") + ms(median(b.wallMs)),
                times(rB) + QStringLiteral(" faster"), QStringLiteral("≥ 5× faster than B"), verdict(rB >= 5.0)});
    report.note(QStringLiteral("Scan: %1 rounds of A, scan, B; wall times, ratio = median of the per-round ratios. "
                               "CPU: scan %2, A %3, B %4. %5 processes in /proc, %6 of %7 window channels "
                               "up (%8), %9 rows listed.")
                    .arg(config.runs)
                    .arg(ms(median(scan.cpuMs)), ms(median(a.cpuMs)), ms(median(b.cpuMs)))
                    .arg(listed)
                    .arg(windowed)
                    .arg(config.windows)
                    .arg(QString::fromLatin1(ready))
                    .arg(rows));
}
