#pragma once

#include <QString>

#include <sys/types.h>

// What /proc tells about a process and about the machine.

// Resident set of a process (VmRSS), in kilobytes; -1 when it is gone.
qint64 residentKb(pid_t pid);
// The part of the resident set that is anonymous memory (heap, stacks:
// RssAnon) and the part that is mapped files (code, fonts: RssFile), in
// kilobytes; -1 when the process is gone.
qint64 residentAnonKb(pid_t pid);
qint64 residentFileKb(pid_t pid);
// CPU time a process has used (user + system, every thread), in
// nanoseconds, at the kernel's tick resolution; -1 when it is gone.
qint64 cpuTimeNs(pid_t pid);
// Time on a CPU of every thread of a process, from the scheduler's own
// accounting (nanosecond resolution); -1 when it is gone.
qint64 runTimeNs(pid_t pid);

// One line about the machine: CPU model, cores, kernel, Qt version.
QString machineLine();
// The number of entries of /proc that are processes.
int processCount();
