#include "monitor/cpuload.h"

#include "monitor/historyrings.h"
#include "platform/boundedread.h"
#include "platform/logline.h"

#include <cmath>

namespace zk::monitor {

namespace {
// The "cpu" line of /proc/stat: ten counters of at most 20 digits.
constexpr qint64 kStatLineLimit = 4096;

// A counter is a plain run of decimal digits that fits in 64 bits.
std::optional<quint64> parseCounter(const QByteArray& word)
{
    if (word.isEmpty())
        return std::nullopt;
    for (const char c : word) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    bool ok = false;
    const quint64 value = word.toULongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

// Failures are logged when they start, not on every two-second refresh.
bool& statFailureReported()
{
    static bool reported = false;
    return reported;
}

void reportStatFailure(const QString& why)
{
    if (statFailureReported())
        return;
    statFailureReported() = true;
    logLine(QStringLiteral("readCpuLoad: ") + why);
}
}

QString procStatPath()
{
    return QStringLiteral("/proc/stat");
}

std::optional<CpuCounters> readCpuCounters(const QString& statPath)
{
    // Only the first line counts; the per-processor lines after it are not
    // asked for. /proc files report size 0: read until read() says the end.
    const std::optional<QByteArray> text = readFileAtMost(statPath, kStatLineLimit);
    if (!text) {
        reportStatFailure(QStringLiteral("cannot open ") + statPath);
        return std::nullopt;
    }
    // A file of one line may end without a line feed (left(-1) is empty).
    const qsizetype end = text->indexOf('\n');
    const QByteArray line = end < 0 ? *text : text->left(end);
    const QList<QByteArray> words = line.simplified().split(' ');
    if (words.size() < 5 || words.at(0) != "cpu") {
        reportStatFailure(QStringLiteral("no cpu line with four counters in ") + statPath);
        return std::nullopt;
    }
    quint64 values[4] = {};
    for (int i = 0; i < 4; ++i) {
        const std::optional<quint64> value = parseCounter(words.at(i + 1));
        if (!value) {
            reportStatFailure(QStringLiteral("bad counter \"")
                              + QString::fromLatin1(words.at(i + 1)) + QStringLiteral("\" in ")
                              + statPath);
            return std::nullopt;
        }
        values[i] = *value;
    }
    statFailureReported() = false;
    return CpuCounters{values[0], values[1], values[2], values[3]};
}

int cpuLoadPercent(quint64 dBusy, quint64 dTotal)
{
    const double load = static_cast<double>(dBusy) * 100.0 / static_cast<double>(dTotal);
    if (std::isnan(load))
        return 0;
    if (load > 100.0)
        return 100;
    return static_cast<int>(load);
}

int CpuSampler::sample(const CpuCounters& counters)
{
    const quint64 busy = counters.busy();
    const quint64 total = counters.total();
    // Unsigned differences: a counter that went backwards wraps around.
    const quint64 dBusy = busy - m_prevBusy;
    const quint64 dTotal = total - m_prevTotal;
    m_prevBusy = busy;
    m_prevTotal = total;
    return cpuLoadPercent(dBusy, dTotal);
}

int readCpuLoad(const QString& statPath, CpuSampler& sampler, HistoryRingsView rings)
{
    const std::optional<CpuCounters> counters = readCpuCounters(statPath);
    if (!counters)
        return -1;
    const int load = sampler.sample(*counters);
    rings.storeCpu(load);
    return load;
}

}  // namespace zk::monitor
