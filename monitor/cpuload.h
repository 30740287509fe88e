#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace zk::monitor {

struct HistoryRingsView;

// The first four counters of the "cpu" line of /proc/stat, in jiffies.
struct CpuCounters
{
    quint64 user = 0;
    quint64 nice = 0;
    quint64 system = 0;
    quint64 idle = 0;

    quint64 busy() const { return user + nice + system; }
    quint64 total() const { return busy() + idle; }
};

// Reads the "cpu" line that opens a stat file. Empty when the file cannot be
// read or the line does not carry four counters. Counters after idle (I/O
// wait, interrupts) are neither busy nor total and are not read.
std::optional<CpuCounters> readCpuCounters(const QString& statPath);

// Percent of dBusy in dTotal, truncated; above 100 gives 100 and no jiffy at
// all (0 of 0) gives 0. The differences are unsigned, so counters that went
// backwards give huge values and the load usually comes out as 100.
int cpuLoadPercent(quint64 dBusy, quint64 dTotal);

// Keeps the sums of the previous sample and turns each new sample into the
// load since then. The sums are kept whole in 64 bits: after a long uptime
// (or on a many-core machine) they pass 2^31 and 2^32 jiffies.
class CpuSampler
{
public:
    CpuSampler() = default;
    // Goes on from sums kept elsewhere (the main window keeps its own).
    CpuSampler(quint64 prevBusy, quint64 prevTotal)
        : m_prevBusy(prevBusy)
        , m_prevTotal(prevTotal)
    {
    }

    // The load since the previous sample (since boot for the first one);
    // the new sums replace the previous ones.
    int sample(const CpuCounters& counters);

    quint64 prevBusy() const { return m_prevBusy; }
    quint64 prevTotal() const { return m_prevTotal; }

private:
    quint64 m_prevBusy = 0;
    quint64 m_prevTotal = 0;
};

// One refresh's CPU sample: reads statPath, stores the load in the CPU ring
// and advances the ring. On failure returns -1 and changes nothing (sums,
// rings and position stay).
int readCpuLoad(const QString& statPath, CpuSampler& sampler, HistoryRingsView rings);

// Where the kernel publishes the counters; never below the device root.
QString procStatPath();

}  // namespace zk::monitor
