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
// the event loop is about to wait and the resident set has grown well past
// its floor, the freed pages are handed back.
//
// Cheap while idle: one look at the resident set per wake-up of the event
// loop at most every kIntervalMs, and no wake-up of its own except one
// deferred look right after busy time.
class IdleHeapTrim : public QObject
{
    Q_OBJECT
public:
    // Growth of the resident set, in KiB, that is worth a trim.
    static constexpr qint64 kGrowthKb = 8 * 1024;
    static constexpr int kIntervalMs = 250;

    explicit IdleHeapTrim(QObject* parent = nullptr);

    // The resident set of this process in KiB, -1 when unknown.
    static qint64 residentKb();
    // Hands freed heap pages back; false where the allocator cannot.
    static bool trimNow();

private slots:
    void aboutToBlock();
    void deferredLook();

private:
    void look();

    QElapsedTimer m_sinceLook;
    QTimer m_deferred;
    // The resident set when nothing was left to give back.
    qint64 m_floorKb = -1;
    bool m_justLooked = false;
};
