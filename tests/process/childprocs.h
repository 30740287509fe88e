#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/types.h>

// Child processes with command lines of the test's choosing, and a capture
// of the log lines the code under test writes to standard output.

// Path of the sleeping helper program (tests/helpers).
QByteArray sleeperPath();

// Starts the sleeper with exactly this argv (argv[0] included); 0 on failure.
// The command line is readable from /proc when this returns.
pid_t startChild(const QList<QByteArray>& argv);

// Waits until the child has reached its sleep ("S" in /proc/<pid>/stat);
// false when it did not. A sleeper that has just started may still be
// running its start-up, a sanitized one for a good while.
bool waitUntilAsleep(pid_t pid);

// Kills and reaps a child started above.
void stopChild(pid_t pid);

// Children of one test, stopped when it goes out of scope.
class ChildGroup
{
public:
    ChildGroup() = default;
    ~ChildGroup();
    ChildGroup(const ChildGroup&) = delete;
    ChildGroup& operator=(const ChildGroup&) = delete;

    pid_t start(const QList<QByteArray>& argv);
    QList<int> pids() const { return m_pids; }

private:
    QList<int> m_pids;
};

// Redirects standard output into a file until finish(), which gives back
// the lines written meanwhile. Check results only after finish(): a failing
// check's message goes to standard output too.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList finish();

private:
    int m_saved = -1;
    QString m_path;
};
