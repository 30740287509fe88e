#include "bench/driver/framelog.h"

#include "bench/driver/clocks.h"

#include <QFile>
#include <QStringList>

#include <unistd.h>

FrameLog::FrameLog(const QString& path)
    : m_path(path)
{
    QFile::remove(m_path);
}

FrameLog::~FrameLog()
{
    QFile::remove(m_path);
}

QStringList FrameLog::environment(const QString& probeLibrary) const
{
    return {QStringLiteral("LD_PRELOAD=") + probeLibrary, QStringLiteral("ZK_FRAME_PROBE=") + m_path};
}

qint64 FrameLog::firstFrameAfter(qint64 after, int timeoutMs, qint64* cpuNs) const
{
    const qint64 deadline = monotonicNs() + qint64(timeoutMs) * 1000000;
    for (;;) {
        QFile file(m_path);
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : file.readAll().split('\n')) {
                const QList<QByteArray> fields = line.split(' ');
                const qint64 stamp = fields.value(0).toLongLong();
                if (stamp > after) {
                    if (cpuNs)
                        *cpuNs = fields.value(1).toLongLong();
                    return stamp;
                }
            }
        }
        if (monotonicNs() > deadline)
            return -1;
        // The stamp carries its own time: how soon it is noticed does not
        // change the figure, only how long this loop waits.
        usleep(2000);
    }
}
