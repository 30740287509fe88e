#pragma once

#include <QByteArray>
#include <QList>

// /proc lookups of the simulated phone's services (always the real /proc).

// A process's command line with its separators turned into blanks and the
// trailing ones dropped; empty when it cannot be read.
QByteArray processCommandLine(qint64 pid);

// The pids (ascending) whose command line contains needle.
QList<qint64> pidsWithCommandLine(const QByteArray& needle);

// True while the process exists and has not ended (a zombie has ended).
bool processRuns(qint64 pid);
