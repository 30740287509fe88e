#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>

#include <atomic>
#include <thread>

#include <sys/types.h>

// Nanoseconds on the monotonic clock: the spawner and the scans share it.
qint64 monotonicNs();

// One process the spawner started: which pid it had, from when to when, and
// the command line it was given.
struct Life
{
    enum Kind {
        Window,   // zk_appchild: registers "EZX/Application/<pid>"
        UserApp,  // zk_sleeper under /mmc/mmca1: listed without a window only
        System,   // zk_sleeper under /usr/bin: never listed
        Reused,   // zk_sleeper put on the pid a window process just left
    };
    pid_t pid = 0;
    int serial = 0;
    Kind kind = System;
    QList<QByteArray> argv;
    // The pid is surely this process's from spawnedNs (the spawn has
    // returned) to killedNs (the kill is sent), and may be from bornNs
    // (before the spawn) to goneNs (reaped; -1 while alive).
    qint64 bornNs = 0;
    qint64 spawnedNs = 0;
    qint64 killedNs = -1;
    qint64 goneNs = -1;

    // The name the task list gives it ("/x/w12 -n 12" is "w12").
    QString name() const;
    // Its command line as the scan reads it: arguments joined by blanks,
    // with the blank of the last NUL.
    QString cmdlineText() const;
    // Whether it surely held its pid all through [fromNs, toNs].
    bool heldPidThroughout(qint64 fromNs, qint64 toNs) const;
    // Whether it may have held its pid at some time in [fromNs, toNs].
    bool overlaps(qint64 fromNs, qint64 toNs) const;
};

// Starts and ends short-lived processes on a thread of its own: up to
// `maxAlive` at a time, each killed and reaped after a random lifetime.
// Every n-th is a window process; sleepers live from 0 to a few ms.
class ChurnSpawner
{
public:
    struct Options
    {
        int processes = 400;
        int windowEvery = 4;  // every n-th process is a window process
        int maxAlive = 16;
        int maxSleeperLifeUs = 4000;
        int maxWindowLifeUs = 400000;  // long enough for most to register
        int maxReusedLifeUs = 16000;
        // After a window process is reaped, start a sleeper on its pid
        // (through /proc/sys/kernel/ns_last_pid, when writable).
        bool reusePids = true;
    };

    explicit ChurnSpawner(const Options& options);
    ~ChurnSpawner();
    ChurnSpawner(const ChurnSpawner&) = delete;
    ChurnSpawner& operator=(const ChurnSpawner&) = delete;

    void start();
    bool finished() const { return m_finished.load(); }
    void join();

    // Every process started so far, in start order.
    QList<Life> lives() const;
    // How many sleepers got the pid of a window process just reaped.
    int pidsReused() const { return m_reused.load(); }
    bool canReusePids() const { return m_canReuse.load(); }
    int spawnFailures() const { return m_failures.load(); }

private:
    struct Alive
    {
        int index;  // into m_lives
        qint64 deadlineNs;
    };
    void run();
    pid_t spawn(Life::Kind kind, int serial, pid_t onPid);
    void end(const Alive& alive);

    Options m_options;
    std::thread m_thread;
    std::atomic<bool> m_finished{false};
    std::atomic<int> m_reused{0};
    std::atomic<int> m_failures{0};
    std::atomic<bool> m_canReuse{false};
    mutable QMutex m_mutex;
    QList<Life> m_lives;
};
