#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// Gives memory back to the system once a burst of work is over.
//
// A burst of bus messages (a sender flooding a channel) is read by the bus
// thread ahead of the event loop and queued; once the loop has worked it off
// the queue is freed, but the allocator keeps the pages, scattered between
// live objects, and the process stays as big as at the burst's peak. So when
// the event loop is about to wait and the allocator holds well more free
// memory than at its lowest since the last trim, the freed pages are handed
// back. (Free memory, not the resident set: freeing does not shrink the
// resident set, so a set that was high and in use during the burst would
// hide what the burst's end freed.) A later burst that takes those free
// blocks again touches their pages again without changing the free memory
// much, so a resident set well above the one after the last trim, with
// enough held free, is worth a trim too.
//
// Cheap while idle: one look at the allocator per wake-up of the event loop
// at most every kIntervalMs, and no wake-up of its own except one deferred
// look right after busy time.
class IdleHeapTrim : public QObject
{
    Q_OBJECT
public:
    // Free memory newly held by the allocator, in KiB, that is worth a trim.
    static constexpr qint64 kGrowthKb = 8 * 1024;
    static constexpr int kIntervalMs = 250;

    explicit IdleHeapTrim(QObject* parent = nullptr);

    // The resident set of this process in KiB, -1 when unknown.
    static qint64 residentKb();
    // Hands freed heap pages back; false where the allocator cannot.
    static bool trimNow();
    // The free memory the allocator holds in KiB, -1 when unknown.
    static qint64 heldFreeKb();

private slots:
    void aboutToBlock();
    void deferredLook();

private:
    void look();

    QElapsedTimer m_sinceLook;
    QTimer m_deferred;
    // The least free memory held since the last trim (or after it).
    qint64 m_freeFloorKb = -1;
    // The resident set after the last trim (or at the start).
    qint64 m_trimmedRssKb = -1;
    bool m_justLooked = false;
};
