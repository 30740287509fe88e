#pragma once

#include <QList>
#include <QString>

namespace zk::monitor {

// One place that may tell the processor clock, and how to read it.
struct CpuFrequencySource
{
    enum Kind {
        MpmOperatingPoint,  // the phone's "/sys/mpm/op": one number, MHz
        CpufreqKhz,         // cpufreq "scaling_cur_freq": one number, kHz
        CpuInfoMhz,         // /proc/cpuinfo: the first "cpu MHz" line
    };
    QString path;
    Kind kind = MpmOperatingPoint;
};

// The phone's own file first (below the device root), then the kernel's
// cpufreq for cpu0, then /proc/cpuinfo.
QList<CpuFrequencySource> defaultCpuFrequencySources();

// The clock in MHz from the first source that answers, -1 when none does.
// Every source is read afresh on every call. answered, when given, gets the
// index of the source that answered (-1 for none).
int readCpuFrequency(const QList<CpuFrequencySource>& sources, int* answered = nullptr);
int readCpuFrequency();

// The clock as a window reads it every refresh: the first source (the
// phone's own file) is read afresh every time; only when it fails that time
// do the others answer: the one that answered last time first, and when it
// no longer does, the others in their order. The default sources are taken
// at the first reading.
class CpuClockReader
{
public:
    CpuClockReader() = default;
    explicit CpuClockReader(QList<CpuFrequencySource> sources);
    int read();

private:
    QList<CpuFrequencySource> m_sources;
    bool m_haveSources = false;
    int m_answered = -1;
};

// The MHz one source gives, -1 when it is missing or holds no usable number.
int readCpuFrequencySource(const CpuFrequencySource& source);

}  // namespace zk::monitor
