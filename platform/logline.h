#pragma once

#include <QString>

// The program's log: one line on standard output, in Latin-1, flushed at once
// so that a reader on a pipe sees every line as it is written. Control
// characters in the text are written as '?'. An empty text writes nothing.
void logLine(const QString& text);
