#include "bench/driver/spawn.h"

#include <QByteArrayList>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
// The environment of the child: this process's, with the given entries
// replacing those of the same name.
QByteArrayList childEnvironment(const QStringList& extra)
{
    QByteArrayList env;
    for (char** e = environ; *e; ++e) {
        const QByteArray entry(*e);
        const QByteArray name = entry.left(entry.indexOf('=') + 1);
        bool replaced = false;
        for (const QString& x : extra)
            replaced = replaced || x.toLocal8Bit().startsWith(name);
        if (!replaced)
            env.append(entry);
    }
    for (const QString& x : extra)
        env.append(x.toLocal8Bit());
    return env;
}

std::vector<char*> pointers(QByteArrayList& list)
{
    std::vector<char*> out;
    for (QByteArray& item : list)
        out.push_back(item.data());
    out.push_back(nullptr);
    return out;
}
}

Spawned spawnProgram(const QString& program, const QStringList& args, const SpawnOptions& options,
                     const QString& argv0)
{
    QByteArrayList argList{(argv0.isEmpty() ? program : argv0).toLocal8Bit()};
    for (const QString& a : args)
        argList.append(a.toLocal8Bit());
    QByteArrayList envList = childEnvironment(options.environment);
    std::vector<char*> argv = pointers(argList);
    std::vector<char*> envp = pointers(envList);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int pipeFds[2] = {-1, -1};
    if (options.pipeOutput) {
        if (pipe2(pipeFds, O_CLOEXEC) != 0)
            return {};
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }

    const QByteArray path = program.toLocal8Bit();
    Spawned spawned;
    const int rc = program.contains(QLatin1Char('/'))
                       ? posix_spawn(&spawned.pid, path.constData(), &actions, nullptr, argv.data(), envp.data())
                       : posix_spawnp(&spawned.pid, path.constData(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (options.pipeOutput)
        close(pipeFds[1]);
    if (rc != 0) {
        if (options.pipeOutput)
            close(pipeFds[0]);
        return {};
    }
    spawned.pipeFd = pipeFds[0];
    return spawned;
}

int waitChild(pid_t pid, rusage* usage)
{
    int status = 0;
    rusage ignored{};
    while (wait4(pid, &status, 0, usage ? usage : &ignored) < 0 && errno == EINTR) {
    }
    return status;
}

void killChild(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGKILL);
    waitChild(pid);
}

QByteArray readLine(int fd, int timeoutMs)
{
    QByteArray line;
    char c = 0;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0)
            return QByteArray();
        if (read(fd, &c, 1) != 1)
            return QByteArray();
        if (c == '\n')
            return line;
        line.append(c);
    }
}

double cpuMsOf(const rusage& usage)
{
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}
