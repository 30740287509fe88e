#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/types.h>

// A resident zKestrel ("-daemon") run as a child of the test on a bus of the
// test's choosing. Its log goes to a file, not a pipe: while the test is busy
// sending, a full pipe would stall the program and hide what it does on its
// own. CPU time and memory are read from /proc.
class ResidentRig
{
public:
    // busAddress: the D-Bus address the child talks to; empty keeps the
    // test's own session bus.
    explicit ResidentRig(const QString& busAddress = QString());
    ~ResidentRig();
    ResidentRig(const ResidentRig&) = delete;
    ResidentRig& operator=(const ResidentRig&) = delete;

    bool start();
    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() != QProcess::NotRunning; }

    // Log lines written so far (read afresh from the file).
    const QStringList& lines();
    int findLine(const QString& text, int from = 0);
    // Waits until a line from `from` on contains `text`; its index, or -1
    // when none came within the time or the program ended without it.
    int waitForLine(const QString& text, int from = 0, int timeoutMs = 15000);
    // Lines from `from` up to (not including) `to` (-1: the end) that
    // contain `text`.
    int countLines(const QString& text, int from = 0, int to = -1);

    bool waitForExit(int timeoutMs);
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    QString errors() const;

    // utime + stime in clock ticks, -1 once the process has gone.
    qint64 cpuTicks() const;
    // VmRSS and VmHWM (peak) in KiB, -1 once the process has gone.
    qint64 rssKb() const;
    qint64 peakRssKb() const;
    // How often the main thread has gone to sleep and woken again
    // (voluntary context switches); -1 once the process has gone.
    qint64 mainThreadWakeups() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_busAddress;
    QStringList m_lines;
    qint64 m_readTo = 0;
    QByteArray m_partial;
};

// A dbus-daemon of the test's own, apart from the session the test runs in,
// so that it can be killed under a program.
class PrivateBus
{
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool start();
    QString address() const { return m_address; }
    qint64 pid() const { return m_process.processId(); }
    // Sends the signal and waits for the daemon to end.
    bool kill(int signal);

private:
    QProcess m_process;
    QString m_address;
};

// clock ticks per second, for the figures.
long ticksPerSecond();
