#include "platform/idleheaptrim.h"

#include "platform/taskdir.h"

#include <QAbstractEventDispatcher>

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
    m_freeFloorKb = heldFreeKb();
    m_trimmedRssKb = residentKb();
    m_sinceLook.start();
}

qint64 IdleHeapTrim::residentKb()
{
    // statm: size, resident, ... in pages.
    const std::optional<QByteArray> statm = TaskDir(static_cast<int>(getpid())).read("statm", 128);
    if (!statm)
        return -1;
    const QList<QByteArray> fields = statm->split(' ');
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

qint64 IdleHeapTrim::heldFreeKb()
{
#if defined(__GLIBC__)
    return static_cast<qint64>(mallinfo2().fordblks / 1024);
#else
    return -1;
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
    const qint64 held = heldFreeKb();
    if (held < 0)
        return;
    // Free memory goes down as it is used again and up as blocks are
    // freed: trim once enough was freed since the least it was.
    if (m_freeFloorKb < 0 || held < m_freeFloorKb)
        m_freeFloorKb = held;
    // Or a later burst, during which the loop never looked, took the free
    // blocks again: their pages are back in the resident set.
    const bool worth = held - m_freeFloorKb >= kGrowthKb
                       || (held >= kGrowthKb && residentKb() - m_trimmedRssKb >= kGrowthKb);
    if (!worth || !trimNow())
        return;
    // The pages of free blocks go back to the system but the blocks stay
    // free in the allocator: count from here.
    m_freeFloorKb = heldFreeKb();
    m_trimmedRssKb = residentKb();
}
