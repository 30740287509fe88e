#pragma once

#include <QList>

// Clocks and the statistics the benchmark quotes.

// The machine's monotonic clock, in nanoseconds; comparable across processes.
qint64 monotonicNs();
// CPU time of this whole process (every thread), in nanoseconds.
qint64 processCpuNs();

// The median of the samples (mean of the middle two for an even count); 0
// for none.
double median(QList<double> samples);

// Wall and CPU time of one piece of work, in milliseconds.
struct Timing
{
    double wallMs = 0;
    double cpuMs = 0;
};

// Runs the work once in this process and times it.
template <typename Work>
Timing timeInProcess(Work&& work)
{
    const qint64 cpu0 = processCpuNs();
    const qint64 wall0 = monotonicNs();
    work();
    const qint64 wall1 = monotonicNs();
    const qint64 cpu1 = processCpuNs();
    return {double(wall1 - wall0) / 1e6, double(cpu1 - cpu0) / 1e6};
}

// Samples of several runs, kept per quantity.
struct Samples
{
    QList<double> wallMs;
    QList<double> cpuMs;
    void add(const Timing& t)
    {
        wallMs.append(t.wallMs);
        cpuMs.append(t.cpuMs);
    }
};
