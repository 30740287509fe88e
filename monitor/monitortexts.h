#pragma once

#include <QString>
#include <QtGlobal>

namespace zk::monitor {

// The texts and bar sizes of the side panel and the monitor tab.

// Kilobytes as megabytes with one decimal and the unit: "12.3Mb", "0.0Mb".
QString megabyteText(qint64 kilobytes);
// "RAM:12.3Mb" and "SWAP:0.0Mb" on the monitor tab.
QString ramTitleText(qint64 freeKilobytes);
QString swapTitleText(qint64 freeKilobytes);
// Side panel, two lines: "312MHz\n17%".
QString cpuPanelText(int mhz, int load);
// Monitor tab: "CPU:312MHz,17%".
QString cpuTitleText(int mhz, int load);

// The CPU strip grows downwards from the icon's corner: 40 pixels at load 0,
// none at 100. A failed sample (-1) gives 40.
int cpuBarHeight(int load);
// The RAM and swap strips cover what is used: 48 pixels when nothing is free.
// 98 % free and more give a negative width, which the widget shows as empty.
int memBarWidth(int freePercent);

}  // namespace zk::monitor
