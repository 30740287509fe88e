// Start-up and resident behaviour of the real zKestrel, measured from the
// outside with the frame probe: exec to first frame (against the smallest Qt
// widgets program), the resident set after start-up, "show()" to the window
// on screen, and the CPU share of a window left open.
#include "bench/driver/benches.h"
#include "bench/driver/clocks.h"
#include "bench/driver/framelog.h"
#include "bench/driver/procfs.h"
#include "bench/driver/report.h"
#include "bench/driver/spawn.h"

#include "platform/qcopchannel.h"

#include <QDataStream>
#include <QIODevice>

#include <unistd.h>

namespace {
const QByteArray kCommandChannel = QByteArrayLiteral("PE/zKestrel/");
// How long a program may take to show its first frame before the run fails.
constexpr int kFrameTimeoutMs = 30000;
// The resident set is read this long after the first frame, once the
// start-up's own work has settled.
constexpr useconds_t kSettleUs = 300000;

struct Launch
{
    double firstFrameMs = -1;
    double cpuMs = -1;  // CPU the program used up to that frame
    qint64 rssKb = -1;
};

// Starts a program, waits for its first frame, reads its resident set and
// ends it.
Launch launchOnce(const QString& program, const BenchConfig& config, const FrameLog& log)
{
    Launch out;
    const QString probe = config.binDir + QStringLiteral("/libzk_frameprobe.so");
    const qint64 t0 = monotonicNs();
    const Spawned child = spawnProgram(program, {}, {log.environment(probe), false});
    if (child.pid < 0)
        return out;
    qint64 cpuNs = -1;
    const qint64 frame = log.firstFrameAfter(t0, kFrameTimeoutMs, &cpuNs);
    if (frame > 0) {
        out.firstFrameMs = double(frame - t0) / 1e6;
        out.cpuMs = double(cpuNs) / 1e6;
        usleep(kSettleUs);
        out.rssKb = residentKb(child.pid);
    }
    killChild(child.pid);
    return out;
}

bool waitForChannel(const QByteArray& channel, bool registered, int timeoutMs)
{
    const qint64 deadline = monotonicNs() + qint64(timeoutMs) * 1000000;
    while (QCopChannel::isRegistered(channel) != registered) {
        if (monotonicNs() > deadline)
            return false;
        usleep(5000);
    }
    return true;
}

// Asks the resident instance to show its window: the time until its next
// frame and the CPU the resident used meanwhile, in ms (-1 when no frame
// came).
Timing popUp(const FrameLog& log, pid_t resident)
{
    const qint64 run0 = runTimeNs(resident);
    const qint64 t0 = monotonicNs();
    QCopChannel::send(kCommandChannel, "show()");
    const qint64 frame = log.firstFrameAfter(t0, kFrameTimeoutMs);
    const qint64 run1 = runTimeNs(resident);
    if (frame < 0)
        return {-1, -1};
    return {double(frame - t0) / 1e6, double(run1 - run0) / 1e6};
}

// Sends the window away the way the phone does when it returns to its idle
// screen; the program hides its window.
void sendToIdle(pid_t pid)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << qint32(-5003);
    QCopChannel::send("EZX/Application/" + QByteArray::number(pid), "ReturnToIdle(int)", data);
}

struct Resident
{
    Spawned child;
    bool ok = false;
};

Resident startResident(const BenchConfig& config, const FrameLog& log)
{
    const QString probe = config.binDir + QStringLiteral("/libzk_frameprobe.so");
    Resident r;
    r.child = spawnProgram(config.binDir + QStringLiteral("/zKestrel"), {QStringLiteral("-daemon")},
                           {log.environment(probe), false});
    r.ok = r.child.pid > 0 && waitForChannel(kCommandChannel, true, kFrameTimeoutMs);
    return r;
}

void stopResident(const Resident& r)
{
    killChild(r.child.pid);
    // The next resident must not find this one's channel still up.
    waitForChannel(kCommandChannel, false, kFrameTimeoutMs);
}
}

void benchStartup(const BenchConfig& config, Report& report)
{
    const QString zk = config.binDir + QStringLiteral("/zKestrel");
    const QString minimal = config.binDir + QStringLiteral("/zk_bench_minimal");
    const FrameLog log(config.workDir + QStringLiteral("/frames-startup"));

    QList<double> zkMs, refMs, ratio, zkRss, refRss, rssRatio, zkCpu, refCpu;
    int failures = 0;
    for (int run = 0; run < config.runs; ++run) {
        // Alternate which goes first, so that neither always meets a
        // warmer machine.
        Launch a, b;
        if (run % 2 == 0) {
            a = launchOnce(zk, config, log);
            b = launchOnce(minimal, config, log);
        } else {
            b = launchOnce(minimal, config, log);
            a = launchOnce(zk, config, log);
        }
        if (a.firstFrameMs < 0 || b.firstFrameMs < 0 || a.rssKb < 0 || b.rssKb < 0) {
            ++failures;
            continue;
        }
        zkMs.append(a.firstFrameMs);
        refMs.append(b.firstFrameMs);
        zkCpu.append(a.cpuMs);
        refCpu.append(b.cpuMs);
        ratio.append(a.firstFrameMs / b.firstFrameMs);
        zkRss.append(double(a.rssKb));
        refRss.append(double(b.rssKb));
        rssRatio.append(double(a.rssKb) / double(b.rssKb));
    }

    const double r = median(ratio);
    report.add({QStringLiteral("3 Start-up"), QStringLiteral("exec to first painted frame, window mode"),
                wallWithCpu(median(zkMs), median(zkCpu)),
                QStringLiteral("minimal Qt: ") + wallWithCpu(median(refMs), median(refCpu)), times(r),
                QStringLiteral("≤ 1.5×"), verdict(!ratio.isEmpty() && r <= 1.5)});
    const double m = median(rssRatio);
    report.add({QStringLiteral("4 Memory"), QStringLiteral("resident set after start-up (first frame + 0.3 s)"),
                mib(median(zkRss)), QStringLiteral("minimal Qt: ") + mib(median(refRss)), times(m),
                QStringLiteral("≤ 1.5×"), verdict(!rssRatio.isEmpty() && m <= 1.5)});
    report.note(QStringLiteral("Start-up: %1 paired runs (order alternating); ratio = median of the per-run ratios "
                               "of wall times; CPU = the program's own CPU time when it handed its first frame "
                               "over%2.")
                    .arg(ratio.size())
                    .arg(failures ? QStringLiteral("; %1 runs without a frame were dropped").arg(failures)
                                  : QString()));
}

void benchResident(const BenchConfig& config, Report& report)
{
    const FrameLog log(config.workDir + QStringLiteral("/frames-resident"));
    Samples first, later;
    int failures = 0;
    for (int run = 0; run < config.runs; ++run) {
        const Resident r = startResident(config, log);
        if (!r.ok) {
            ++failures;
            stopResident(r);
            continue;
        }
        const Timing f = popUp(log, r.child.pid);
        if (f.wallMs >= 0)
            first.add(f);
        // Two more pop-ups after the window went away.
        for (int k = 0; k < 2; ++k) {
            sendToIdle(r.child.pid);
            usleep(kSettleUs);
            const Timing l = popUp(log, r.child.pid);
            if (l.wallMs >= 0)
                later.add(l);
        }
        stopResident(r);
    }
    report.add({QStringLiteral("3 Start-up"), QStringLiteral("resident: \"show()\" to window on screen, first pop-up"),
                wallWithCpu(median(first.wallMs), median(first.cpuMs)), QString(), QString(), QStringLiteral("–"),
                QStringLiteral("info")});
    const double l = median(later.wallMs);
    report.add({QStringLiteral("3 Start-up"), QStringLiteral("resident: \"show()\" to window on screen, later pop-up"),
                wallWithCpu(l, median(later.cpuMs)), QString(), QString(), QStringLiteral("≤ 50 ms"),
                verdict(!later.wallMs.isEmpty() && l <= 50)});
    report.note(QStringLiteral("Pop-ups: %1 resident starts, each with one first and two later pop-ups "
                               "(the window sent away with \"ReturnToIdle(int)\" on its application channel "
                               "in between); CPU of the resident meanwhile %2 (first) and %3 (later)%4.")
                    .arg(first.wallMs.size())
                    .arg(ms(median(first.cpuMs)), ms(median(later.cpuMs)))
                    .arg(failures ? QStringLiteral("; %1 starts failed").arg(failures) : QString()));

    // A window left open on the task tab: what it costs while it only
    // refreshes every two seconds.
    const Resident r = startResident(config, log);
    if (!r.ok || popUp(log, r.child.pid).wallMs < 0) {
        stopResident(r);
        report.note(QStringLiteral("Idle share: the resident window could not be shown."));
        return;
    }
    sleep(3);
    const qint64 run0 = runTimeNs(r.child.pid);
    const qint64 cpu0 = cpuTimeNs(r.child.pid);
    const qint64 wall0 = monotonicNs();
    sleep(static_cast<unsigned>(config.idleSeconds));
    const qint64 run1 = runTimeNs(r.child.pid);
    const qint64 cpu1 = cpuTimeNs(r.child.pid);
    const qint64 wall1 = monotonicNs();
    stopResident(r);

    const double wall = double(wall1 - wall0);
    const double share = 100.0 * double(run1 - run0) / wall;
    const double tickShare = 100.0 * double(cpu1 - cpu0) / wall;
    const double refreshes = wall / 2e9;
    const double perRefreshMs = double(run1 - run0) / 1e6 / refreshes;
    report.add({QStringLiteral("2 Refresh"),
                QStringLiteral("CPU share of an open window on the task tab, %1 s").arg(config.idleSeconds),
                percent(share) + QStringLiteral(" (CPU ") + ms(perRefreshMs) + QStringLiteral(" per refresh)"),
                QString(), QString(), QStringLiteral("≤ 0.05 % of one core, ≤ 1 ms per refresh"),
                verdict(share <= 0.05 && perRefreshMs <= 1.0)});
    report.note(QStringLiteral("Idle share: %1 ms on a CPU in %2 s by the scheduler's accounting "
                               "(%3 ms by utime+stime, %4), about %5 refreshes; %6 per refresh.")
                    .arg(double(run1 - run0) / 1e6, 0, 'f', 1)
                    .arg(wall / 1e9, 0, 'f', 1)
                    .arg(double(cpu1 - cpu0) / 1e6, 0, 'f', 0)
                    .arg(percent(tickShare))
                    .arg(int(refreshes))
                    .arg(us(perRefreshMs * 1000.0)));
}
