// 2 Refresh, on a desktop: what the desktop services (zk-desktop) and the
// resident zKestrel cost while nothing happens, with a window manager and
// twenty application windows on a virtual screen.
#include "bench/driver/benches.h"
#include "bench/driver/clocks.h"
#include "bench/driver/procfs.h"
#include "bench/driver/report.h"
#include "bench/driver/spawn.h"

#include "platform/qcopchannel.h"

#include <QStandardPaths>

#include <unistd.h>

namespace {
const int kWindows = 20;

bool waitFor(const std::function<bool()>& done, int ms)
{
    for (int waited = 0; waited < ms; waited += 100) {
        if (done())
            return true;
        usleep(100000);
    }
    return done();
}
}

void benchDesktop(const BenchConfig& config, Report& report)
{
    for (const char* tool : {"Xvfb", "openbox", "xeyes", "xcalc"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
            report.note(QStringLiteral("Desktop idle: %1 is not installed (scripts/packages.txt).").arg(QLatin1String(tool)));
            return;
        }
    }
    const QString display = QStringLiteral(":%1").arg(90 + getpid() % 500);
    const Spawned screen = spawnProgram(QStringLiteral("Xvfb"), {display, QStringLiteral("-screen"), QStringLiteral("0"),
                                                                 QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                                                 QStringLiteral("tcp")});
    usleep(1500000);
    const SpawnOptions x{{QStringLiteral("DISPLAY=") + display, QStringLiteral("QT_QPA_PLATFORM=xcb")}, false};
    QList<pid_t> started{spawnProgram(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, x).pid};
    usleep(1000000);
    const Spawned services = spawnProgram(config.binDir + QStringLiteral("/zk-desktop"), {}, x);
    const Spawned resident = spawnProgram(config.binDir + QStringLiteral("/zKestrel"), {QStringLiteral("-daemon")}, x);
    QList<pid_t> apps;
    for (int i = 0; i < kWindows; ++i)
        apps << spawnProgram(i % 2 ? QStringLiteral("xeyes") : QStringLiteral("xcalc"), {}, x).pid;
    const bool up = waitFor(
        [&apps] {
            for (const pid_t pid : apps) {
                if (!QCopChannel::isRegistered("EZX/Application/" + QByteArray::number(pid)))
                    return false;
            }
            return true;
        },
        60000);
    if (up && runTimeNs(resident.pid) < 0)
        report.note(QStringLiteral("Desktop idle: zKestrel -daemon did not stay up."));
    if (up) {
        sleep(3);
        const qint64 d0 = runTimeNs(services.pid), r0 = runTimeNs(resident.pid), wall0 = monotonicNs();
        sleep(static_cast<unsigned>(config.idleSeconds));
        const qint64 d1 = runTimeNs(services.pid), r1 = runTimeNs(resident.pid), wall1 = monotonicNs();
        if (d0 < 0 || d1 < 0 || r0 < 0 || r1 < 0) {
            report.note(QStringLiteral("Desktop idle: a measured program ended during the measurement."));
        }
        const double wall = double(wall1 - wall0);
        const double desktopShare = 100.0 * double(d1 - d0) / wall, residentShare = 100.0 * double(r1 - r0) / wall;
        report.add({QStringLiteral("2 Refresh"),
                    QStringLiteral("CPU share of the desktop services (zk-desktop), idle, %1 windows, %2 s")
                        .arg(kWindows)
                        .arg(config.idleSeconds),
                    percent(desktopShare), QStringLiteral("resident zKestrel beside it: ") + percent(residentShare),
                    QString(), QStringLiteral("≤ 0.05 % of one core"), verdict(desktopShare <= 0.05)});
        report.note(QStringLiteral("Desktop idle: Xvfb with openbox, %1 windows (xcalc, xeyes), each owned as a task "
                                   "by zk-desktop; %2 ms and %3 ms on a CPU in %4 s (zk-desktop, zKestrel -daemon; "
                                   "%5 ms and %6 ms in all since their start).")
                        .arg(kWindows)
                        .arg(double(d1 - d0) / 1e6, 0, 'f', 2)
                        .arg(double(r1 - r0) / 1e6, 0, 'f', 2)
                        .arg(wall / 1e9, 0, 'f', 1)
                        .arg(double(d1) / 1e6, 0, 'f', 1)
                        .arg(double(r1) / 1e6, 0, 'f', 1));
    } else {
        report.note(QStringLiteral("Desktop idle: the %1 windows did not all become tasks in time.").arg(kWindows));
    }
    for (const pid_t pid : apps)
        killChild(pid);
    killChild(resident.pid);
    killChild(services.pid);
    for (const pid_t pid : started)
        killChild(pid);
    killChild(screen.pid);
}
