#pragma once

// Shared set-up for the tests that drive the monitor through a real main
// window: the settings object, the phone's clock file below the device
// root, a way to steer the CPU load that the next sample computes, and a
// capture of the log on standard output.

#include "core/globals.h"
#include "core/zsettings.h"
#include "monitor/cpuload.h"
#include "platform/devicepath.h"
#include "tests/monitor/monitorfiles.h"
#include "ui/zkestrel.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryFile>

#include <cstdio>
#include <memory>
#include <unistd.h>

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
    const std::optional<CpuCounters> now = readCpuCounters(procStatPath());
    if (!now)
        return false;
    constexpr qint64 span = 1'000'000'000'000;
    const qint64 busySpan = (span / 1000) * (load * 10 + 5);
    window->prevBusy = static_cast<qint64>(now->busy()) - busySpan;
    window->prevTotal = static_cast<qint64>(now->total()) - span;
    return true;
}

// Collects what is written to standard output (the log) while it lives.
class StdoutCapture
{
public:
    StdoutCapture()
    {
        std::fflush(stdout);
        if (!m_file.open())
            return;
        m_saved = ::dup(STDOUT_FILENO);
        ::dup2(m_file.handle(), STDOUT_FILENO);
    }
    ~StdoutCapture() { restore(); }

    // Ends the capture and returns the lines written.
    QList<QByteArray> lines()
    {
        restore();
        QFile in(m_file.fileName());
        if (!in.open(QIODevice::ReadOnly))
            return {};
        QList<QByteArray> result = in.readAll().split('\n');
        if (!result.isEmpty() && result.last().isEmpty())
            result.removeLast();
        return result;
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stdout);
        ::dup2(m_saved, STDOUT_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }

    QTemporaryFile m_file;
    int m_saved = -1;
};

}
