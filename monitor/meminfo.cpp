#include "monitor/meminfo.h"

#include "platform/boundedread.h"
#include "platform/logline.h"

#include <QList>

#include <limits>

namespace zk::monitor {

namespace {
// A kernel's meminfo is about 1.5 KiB.
constexpr qint64 kMemInfoLimit = 64 * 1024;
}

QString procMemInfoPath()
{
    return QStringLiteral("/proc/meminfo");
}

MemInfo parseMemInfo(const QByteArray& text)
{
    MemInfo info;
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> words = line.simplified().split(' ');
        const QByteArray& name = words.at(0);
        qint64* sum = nullptr;
        qint64* single = nullptr;
        if (name == "MemFree:" || name == "Cached:")
            sum = &info.freeRam;
        else if (name == "MemTotal:")
            single = &info.ramTotal;
        else if (name == "SwapFree:" || name == "SwapCached:")
            sum = &info.freeSwap;
        else if (name == "SwapTotal:")
            single = &info.swapTotal;
        else
            continue;
        bool ok = false;
        const qint64 value = words.size() > 1 ? words.at(1).toLongLong(&ok) : 0;
        if (!ok || value < 0) {
            logLine(QStringLiteral("setMemInfo: bad line \"") + QString::fromLatin1(line.trimmed())
                    + QStringLiteral("\""));
            continue;
        }
        if (sum)  // saturating: a forged file must not overflow the sum
            *sum = value > std::numeric_limits<qint64>::max() - *sum
                       ? std::numeric_limits<qint64>::max()
                       : *sum + value;
        else
            *single = value;
    }
    return info;
}

MemInfo readMemInfo(const QString& path)
{
    // /proc files report size 0: read until read() says the end.
    const std::optional<QByteArray> text = readFileAtMost(path, kMemInfoLimit);
    if (!text) {
        logLine(QStringLiteral("setMemInfo: cannot open ") + path);
        return {};
    }
    return parseMemInfo(text->left(kMemInfoLimit));
}

int freePercent(qint64 free, qint64 total)
{
    if (total <= 0 || free <= 0)
        return 0;
    const double percent = static_cast<double>(free) * 100.0 / static_cast<double>(total);
    if (percent >= 100.0)
        return 100;
    return static_cast<int>(percent);
}

}  // namespace zk::monitor
