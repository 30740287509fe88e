#include "tests/process/appchildren.h"

#include "platform/qcopchannel.h"
#include "platform/taskdir.h"

#include <QDeadlineTimer>
#include <QThread>

#include <csignal>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
QByteArray appChildPath()
{
    return QByteArray(ZK_BIN_DIR) + "/zk_appchild";
}

// Our environment with the child's answer to "quickQuit()" in it.
std::vector<QByteArray> childEnvironment(AppChildGroup::QuitAnswer answer)
{
    std::vector<QByteArray> env;
    for (char** e = environ; *e; ++e) {
        if (!QByteArray(*e).startsWith("ZK_APPCHILD_QUIT="))
            env.emplace_back(*e);
    }
    env.emplace_back(answer == AppChildGroup::ExitOnQuit ? "ZK_APPCHILD_QUIT=exit"
                                                         : "ZK_APPCHILD_QUIT=ignore");
    return env;
}

bool ready(pid_t pid, const QByteArray& expectedCmdline)
{
    return TaskDir(pid).read("cmdline", expectedCmdline.size()) == expectedCmdline
           && QCopChannel::isRegistered("EZX/Application/" + QByteArray::number(pid));
}
}

bool reapChild(pid_t pid, int timeoutMs, int* status)
{
    QDeadlineTimer deadline(timeoutMs);
    do {
        int st = 0;
        const pid_t r = waitpid(pid, &st, WNOHANG);
        if (r == pid) {
            if (status)
                *status = st;
            return true;
        }
        if (r < 0)
            return false;
        QThread::msleep(1);
    } while (!deadline.hasExpired());
    return false;
}

AppChildGroup::~AppChildGroup()
{
    for (const pid_t pid : m_pids) {
        ::kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

pid_t AppChildGroup::start(const QList<QByteArray>& argv, QuitAnswer answer)
{
    std::vector<char*> args;
    for (const QByteArray& a : argv)
        args.push_back(const_cast<char*>(a.constData()));
    args.push_back(nullptr);
    std::vector<QByteArray> env = childEnvironment(answer);
    std::vector<char*> envp;
    for (QByteArray& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    if (posix_spawn(&pid, appChildPath().constData(), nullptr, nullptr, args.data(), envp.data()) != 0)
        return 0;
    m_pids << pid;
    const QByteArray expected = argv.join('\0') + '\0';
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (ready(pid, expected))
            return pid;
        QThread::msleep(2);
    }
    return 0;
}

bool AppChildGroup::reap(pid_t pid, int timeoutMs, int* status)
{
    if (!m_pids.contains(pid) || !reapChild(pid, timeoutMs, status))
        return false;
    m_pids.removeAll(pid);
    return true;
}
