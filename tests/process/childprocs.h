#pragma once

// Process tests read the log through the common capture.
#include "tests/common/logcapture.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

#include <sys/types.h>

// Child processes with command lines of the test's choosing, and a capture
// of the log lines the code under test writes to standard output.

// Path of the sleeping helper program (tests/helpers).
QByteArray sleeperPath();

// Starts the sleeper with exactly this argv (argv[0] included); 0 on failure.
// The command line is readable from /proc when this returns.
pid_t startChild(const QList<QByteArray>& argv);

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

// Runs `body` in a forked child that has given up root for the user
// "nobody", so that root's processes are another user's; returns the
// child's exit code (`body`'s result), 100 when it could not change user,
// -1 when it did not exit normally.
int exitCodeAsNobody(const std::function<int()>& body);
