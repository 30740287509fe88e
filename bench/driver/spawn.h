#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <sys/resource.h>
#include <sys/types.h>

// Starting and ending the programs the benchmark measures. posix_spawn (a
// vfork underneath) costs the same whatever the size of this process, so the
// programs compared start on equal terms.

struct SpawnOptions
{
    // Added to (or replacing in) this process's environment.
    QStringList environment;
    // Standard output to a pipe the caller reads (pipeFd); otherwise both
    // output streams go to /dev/null.
    bool pipeOutput = false;
};

struct Spawned
{
    pid_t pid = -1;
    int pipeFd = -1;  // read end of the child's standard output, or -1
};

// Starts program (looked up in PATH when it holds no "/") with the given
// arguments; argv[0] is argv0 when given, else the program. pid -1 on failure.
Spawned spawnProgram(const QString& program, const QStringList& args, const SpawnOptions& options = {},
                     const QString& argv0 = QString());

// Waits for a child to end; its resource use in usage when given.
int waitChild(pid_t pid, rusage* usage = nullptr);
// Ends a child at once and reaps it.
void killChild(pid_t pid);

// Reads a line from a child's output pipe (without its end), waiting at most
// timeoutMs; empty on timeout or end of file.
QByteArray readLine(int fd, int timeoutMs);

// CPU time (user + system) in a resource record, in milliseconds.
double cpuMsOf(const rusage& usage);
