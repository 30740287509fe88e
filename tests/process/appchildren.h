#pragma once

#include <QByteArray>
#include <QList>

#include <sys/types.h>

// Children that look like applications with a window: zk_appchild listening
// on "EZX/Application/<pid>". Stopped when the group goes out of scope.
class AppChildGroup
{
public:
    enum QuitAnswer {
        IgnoreQuit,
        ExitOnQuit
    };

    AppChildGroup() = default;
    ~AppChildGroup();
    AppChildGroup(const AppChildGroup&) = delete;
    AppChildGroup& operator=(const AppChildGroup&) = delete;

    // Starts one with exactly this argv (argv[0] included) and returns once
    // its command line is readable and its channel registered; 0 on failure.
    pid_t start(const QList<QByteArray>& argv, QuitAnswer answer = IgnoreQuit);

    // Waits (up to timeoutMs) for a child of this group to end and reaps it,
    // so that /proc forgets it. True when it ended; its wait status then goes
    // to *status.
    bool reap(pid_t pid, int timeoutMs, int* status = nullptr);

private:
    QList<pid_t> m_pids;
};

// Blocks until a child (of any kind) has ended and reaps it; true when it
// did within timeoutMs.
bool reapChild(pid_t pid, int timeoutMs, int* status = nullptr);
