#include "monitor/cpufrequency.h"

#include "platform/boundedread.h"
#include "platform/devicepath.h"
#include "platform/logline.h"

#include <climits>
#include <cmath>
#include <utility>

namespace zk::monitor {

namespace {
// Leading whitespace, then decimal digits; anything after the digits is
// ignored. -1 when there are no digits or the number does not fit an int.
qint64 leadingNumber(const QByteArray& text)
{
    const QByteArray trimmed = text.trimmed();
    qsizetype digits = 0;
    while (digits < trimmed.size() && trimmed.at(digits) >= '0' && trimmed.at(digits) <= '9')
        ++digits;
    if (digits == 0)
        return -1;
    bool ok = false;
    const qulonglong value = trimmed.left(digits).toULongLong(&ok);
    if (!ok || value > static_cast<qulonglong>(INT_MAX))
        return -1;
    return static_cast<qint64>(value);
}

// A one-number file of the kernel or the phone needs no more than this.
constexpr qint64 kNumberFileLimit = 256;
// The first "cpu MHz" line is in the first processor's block, a few hundred
// bytes in: the blocks of a many-core machine's other processors are never
// asked for.
constexpr qint64 kCpuInfoLimit = 4096;

// The number on the first line of a one-number file.
qint64 leadingNumberOf(const std::optional<QByteArray>& text)
{
    if (!text)
        return -1;
    const QByteArray head = text->left(kNumberFileLimit - 1);
    const qsizetype end = head.indexOf('\n');
    return leadingNumber(end < 0 ? head : head.left(end + 1));
}

int cpuInfoMhz(QByteArray text)
{
    // A line cut by the bound is not read.
    if (text.size() > kCpuInfoLimit)
        text.truncate(text.lastIndexOf('\n', kCpuInfoLimit - 1) + 1);
    for (const QByteArray& line : text.split('\n')) {
        if (!line.startsWith("cpu MHz"))
            continue;
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            return -1;
        bool ok = false;
        const double mhz = line.mid(colon + 1).trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(mhz) || mhz < 0.0 || mhz > INT_MAX)
            return -1;
        return static_cast<int>(mhz);
    }
    return -1;
}
}

QList<CpuFrequencySource> defaultCpuFrequencySources()
{
    return {
        {devicePath(QStringLiteral("/sys/mpm/op")), CpuFrequencySource::MpmOperatingPoint},
        // The host kernel's own files, like /proc: never below the device root.
        {QStringLiteral("/sys/devices/system/cpu/cpu0/cpufreq/scaling_cur_freq"),
         CpuFrequencySource::CpufreqKhz},
        {QStringLiteral("/proc/cpuinfo"), CpuFrequencySource::CpuInfoMhz},
    };
}

int readCpuFrequencySource(const CpuFrequencySource& source)
{
    // These files report a size of 0 or of a page, not of what they hold:
    // they are read until read() returns nothing.
    switch (source.kind) {
    case CpuFrequencySource::MpmOperatingPoint:
        return static_cast<int>(leadingNumberOf(readFileAtMost(source.path, kNumberFileLimit)));
    case CpuFrequencySource::CpufreqKhz: {
        const qint64 khz = leadingNumberOf(readFileAtMost(source.path, kNumberFileLimit));
        return khz < 0 ? -1 : static_cast<int>(khz / 1000);
    }
    case CpuFrequencySource::CpuInfoMhz: {
        const std::optional<QByteArray> text = readFileAtMost(source.path, kCpuInfoLimit);
        return text ? cpuInfoMhz(*text) : -1;
    }
    }
    return -1;
}

int readCpuFrequency(const QList<CpuFrequencySource>& sources, int* answered)
{
    // Logged once when no source answers, again only after one has answered.
    static bool reported = false;
    if (answered)
        *answered = -1;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const int mhz = readCpuFrequencySource(sources.at(i));
        if (mhz >= 0) {
            reported = false;
            if (answered)
                *answered = static_cast<int>(i);
            return mhz;
        }
    }
    if (!reported) {
        reported = true;
        logLine(QStringLiteral("readCpuFrequency: no clock source answered"));
    }
    return -1;
}

int readCpuFrequency()
{
    return readCpuFrequency(defaultCpuFrequencySources());
}

CpuClockReader::CpuClockReader(QList<CpuFrequencySource> sources)
    : m_sources(std::move(sources))
    , m_haveSources(true)
{
}

int CpuClockReader::read()
{
    if (!m_haveSources) {
        m_sources = defaultCpuFrequencySources();
        m_haveSources = true;
    }
    if (m_sources.isEmpty())
        return -1;
    // The first source (the phone's own file) is asked every time: a read
    // that failed once says nothing about the next.
    const int first = readCpuFrequencySource(m_sources.constFirst());
    if (first >= 0)
        return first;
    if (m_answered > 0) {
        const int mhz = readCpuFrequencySource(m_sources.at(m_answered));
        if (mhz >= 0)
            return mhz;
    }
    const QList<CpuFrequencySource> fallbacks = m_sources.mid(1);
    const int mhz = readCpuFrequency(fallbacks, &m_answered);
    if (m_answered >= 0)
        ++m_answered;
    return mhz;
}

}  // namespace zk::monitor
