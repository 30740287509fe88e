#include "monitor/monitortexts.h"

namespace zk::monitor {

QString megabyteText(qint64 kilobytes)
{
    return QString::number(static_cast<double>(kilobytes) * 0.0009765625, 'f', 1)
           + QStringLiteral("Mb");
}

QString ramTitleText(qint64 freeKilobytes)
{
    return QStringLiteral("RAM:") + megabyteText(freeKilobytes);
}

QString swapTitleText(qint64 freeKilobytes)
{
    return QStringLiteral("SWAP:") + megabyteText(freeKilobytes);
}

QString cpuPanelText(int mhz, int load)
{
    return QString::number(mhz) + QStringLiteral("MHz\n") + QString::number(load)
           + QStringLiteral("%");
}

QString cpuTitleText(int mhz, int load)
{
    return QStringLiteral("CPU:") + QString::number(mhz) + QStringLiteral("MHz,")
           + QString::number(load) + QStringLiteral("%");
}

int cpuBarHeight(int load)
{
    return 40 - static_cast<int>(load * 0.4);
}

int memBarWidth(int freePercent)
{
    return 48 - freePercent / 2;
}

}  // namespace zk::monitor
