#include "platform/idleheaptrim.h"

#include <QAbstractEventDispatcher>
#include <QFile>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <unistd.h>

IdleHeapTrim::IdleHeapTrim(QObject* parent)
    : QObject(parent)
{
    m_deferred.setSingleShot(true);
    connect(&m_deferred, &QTimer::timeout, this, &IdleHeapTrim::deferredLook);
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &IdleHeapTrim::aboutToBlock);
    m_floorKb = residentKb();
    m_sinceLook.start();
}

qint64 IdleHeapTrim::residentKb()
{
    // statm: size, resident, ... in pages.
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readLine(128).split(' ');
    bool ok = false;
    const qint64 pages = fields.value(1).toLongLong(&ok);
    return ok ? pages * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

bool IdleHeapTrim::trimNow()
{
#if defined(__GLIBC__)
    malloc_trim(0);
    return true;
#else
    return false;
#endif
}

void IdleHeapTrim::aboutToBlock()
{
    // The wait that follows our own deferred look is not new work.
    if (m_justLooked) {
        m_justLooked = false;
        return;
    }
    if (m_deferred.isActive())
        return;
    const qint64 since = m_sinceLook.elapsed();
    if (since >= kIntervalMs)
        look();
    else
        m_deferred.start(static_cast<int>(kIntervalMs - since));
}

void IdleHeapTrim::deferredLook()
{
    m_justLooked = true;
    look();
}

void IdleHeapTrim::look()
{
    m_sinceLook.restart();
    const qint64 now = residentKb();
    if (now < 0)
        return;
    if (m_floorKb < 0 || now < m_floorKb)
        m_floorKb = now;
    if (now - m_floorKb < kGrowthKb || !trimNow())
        return;
    // A trim that gave little back met memory in use: that is the new
    // floor. One that gave much keeps the old floor, so the look after
    // the end of a burst still trims what the burst left.
    const qint64 after = residentKb();
    if (after >= 0 && now - after < kGrowthKb / 8)
        m_floorKb = after;
}
