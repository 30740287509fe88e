#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace zk::monitor {

// The four memory figures the monitor shows, in kilobytes as the kernel gives
// them. 64 bits: a large machine's figures times 100 do not fit in 32.
struct MemInfo
{
    qint64 freeRam = 0;    // MemFree + Cached
    qint64 ramTotal = 0;   // MemTotal
    qint64 freeSwap = 0;   // SwapFree + SwapCached
    qint64 swapTotal = 0;  // SwapTotal
};

// Reads meminfo text line by line: a word, a number, an optional unit. The
// words are compared whole ("SwapCached:" is not "Cached:"); the order of the
// lines does not matter; unknown words are skipped; a line whose number
// cannot be read is skipped with a log line.
MemInfo parseMemInfo(const QByteArray& text);

// The figures of a meminfo file; all 0 (with a log line) when it cannot be
// read.
MemInfo readMemInfo(const QString& path);

// Where the kernel publishes them; never below the device root.
QString procMemInfoPath();

// free * 100 / total, truncated, limited to 0..100; 0 when total is 0.
int freePercent(qint64 free, qint64 total);

}  // namespace zk::monitor
