#include "tests/process/childprocs.h"

#include "platform/taskdir.h"
#include "process/procstatus.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QStringList>
#include <QThread>
#include <QUuid>

#include <csignal>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zk::proc;

extern char** environ;

QByteArray sleeperPath()
{
    return QByteArray(ZK_BIN_DIR) + "/zk_sleeper";
}

pid_t startChild(const QList<QByteArray>& argv)
{
    std::vector<char*> args;
    for (const QByteArray& a : argv)
        args.push_back(const_cast<char*>(a.constData()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, sleeperPath().constData(), nullptr, nullptr, args.data(), environ) != 0)
        return 0;
    // posix_spawn may return while the kernel is still laying out the new
    // program's arguments: wait until the command line is there.
    const QByteArray expected = argv.join('\0') + '\0';
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (TaskDir(pid).read("cmdline", expected.size()) == expected)
            return pid;
        QThread::msleep(1);
    }
    stopChild(pid);
    return 0;
}

bool waitUntilAsleep(pid_t pid)
{
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        const QList<QByteArray> fields = taskStatFields(pid);
        if (fields.isEmpty())
            return false;
        if (fields.first() == "S")
            return true;
        QThread::msleep(1);
    }
    return false;
}

void stopChild(pid_t pid)
{
    if (pid <= 0)
        return;
    ::kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

ChildGroup::~ChildGroup()
{
    for (const int pid : m_pids)
        stopChild(pid);
}

pid_t ChildGroup::start(const QList<QByteArray>& argv)
{
    const pid_t pid = startChild(argv);
    if (pid > 0)
        m_pids << pid;
    return pid;
}

int exitCodeAsNobody(const std::function<int()>& body)
{
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(100);
        const int code = body();
        std::fflush(stdout);
        ::_exit(code);
    }
    int status = -1;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
