#pragma once

// Shared set-up for the tests that drive the monitor through a real main
// window: the settings object, the phone's clock file below the device
// root, and a way to steer the CPU load that the next sample computes.

#include "core/globals.h"
#include "core/zsettings.h"
#include "monitor/cpuload.h"
#include "platform/devicepath.h"
#include "tests/monitor/monitorfiles.h"
#include "ui/zkestrel.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace monitorwindow {

// The one settings object the window reads.
inline void ensureSettings()
{
    if (!gSettings)
        gSettings = new ZSettings;
}

// The phone's operating point file: the clock in MHz.
inline bool writeClock(const QByteArray& text)
{
    return !writeTestFile(devicePath(QStringLiteral("/sys/mpm/op")), text).isEmpty();
}

// Sets the window's previous sums so that the next sample of the real
// /proc/stat computes load + 0.5 %: the busy and total differences are made
// so large that the jiffies passing meanwhile do not move the result.
// Loads above 100 ask for more busy than total time (counters that wrapped).
inline bool steerNextLoad(ZKestrel* window, int load)
{
    const auto now = zk::monitor::readCpuCounters(zk::monitor::procStatPath());
    if (!now)
        return false;
    constexpr qint64 span = 1'000'000'000'000;
    const qint64 busySpan = (span / 1000) * (load * 10 + 5);
    window->prevBusy = static_cast<qint64>(now->busy()) - busySpan;
    window->prevTotal = static_cast<qint64>(now->total()) - span;
    return true;
}

}
