#include "bench/driver/clocks.h"

#include <algorithm>
#include <ctime>

namespace {
qint64 readClock(clockid_t id)
{
    timespec t{};
    clock_gettime(id, &t);
    return qint64(t.tv_sec) * 1000000000LL + t.tv_nsec;
}
}

qint64 monotonicNs()
{
    return readClock(CLOCK_MONOTONIC);
}

qint64 processCpuNs()
{
    return readClock(CLOCK_PROCESS_CPUTIME_ID);
}

double median(QList<double> samples)
{
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const qsizetype n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}
