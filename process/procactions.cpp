#include "process/procactions.h"

#include "platform/logline.h"
#include "platform/taskdir.h"

#include <QDataStream>
#include <QIODevice>

#include <cerrno>
#include <csignal>

#include <sys/resource.h>

namespace zk::proc {

bool procExists(int pid)
{
    return TaskDir(pid).isOpen();
}

KillOutcome killProc(int pid)
{
    KillOutcome outcome = KillOutcome::NoSuchProcess;
    if (pid > 0) {
        if (::kill(pid, SIGKILL) == 0)
            outcome = KillOutcome::Killed;
        else if (errno == EPERM)
            outcome = KillOutcome::Refused;
    }
    if (outcome == KillOutcome::Killed)
        logLine(QStringLiteral("Killed a pid [%1]").arg(pid));
    else
        logLine(QStringLiteral("Error when kill a pid [%1]").arg(pid));
    return outcome;
}

bool setProcPriority(int pid, int nice)
{
    if (pid > 0 && ::setpriority(PRIO_PROCESS, static_cast<id_t>(pid), nice) == 0)
        return true;
    logLine(QStringLiteral("Error when set priority of a pid [%1]").arg(pid));
    return false;
}

QByteArray appChannel(int pid)
{
    return "EZX/Application/" + QByteArray::number(pid);
}

QByteArray returnToIdleData(int reason)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << static_cast<qint32>(reason);
    return data;
}

}  // namespace zk::proc
