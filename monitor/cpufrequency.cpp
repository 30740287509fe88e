#include "monitor/cpufrequency.h"

#include "platform/devicepath.h"
#include "platform/logline.h"

#include <QFile>

#include <climits>
#include <cmath>

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

int cpuInfoMhz(QFile& file)
{
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(4096);
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
    QFile file(source.path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    switch (source.kind) {
    case CpuFrequencySource::MpmOperatingPoint:
        return static_cast<int>(leadingNumber(file.readLine(256)));
    case CpuFrequencySource::CpufreqKhz: {
        const qint64 khz = leadingNumber(file.readLine(256));
        return khz < 0 ? -1 : static_cast<int>(khz / 1000);
    }
    case CpuFrequencySource::CpuInfoMhz:
        return cpuInfoMhz(file);
    }
    return -1;
}

int readCpuFrequency(const QList<CpuFrequencySource>& sources)
{
    // Logged once when no source answers, again only after one has answered.
    static bool reported = false;
    for (const CpuFrequencySource& source : sources) {
        const int mhz = readCpuFrequencySource(source);
        if (mhz >= 0) {
            reported = false;
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
