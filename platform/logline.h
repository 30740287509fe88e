#pragma once

#include <QString>

// The program's log: one line on standard output, in Latin-1, flushed at once
// so that a reader on a pipe sees every line as it is written. Control
// characters in the text are written as '?'. An empty text writes nothing.
void logLine(const QString& text);

// A note of the toolkit about a call it could not do as asked (a row that
// is not there, a slot that does not exist): the same form, on standard
// error, so that it never mixes with the program's log. Ordinary situations
// are not noted at all.
void noteLine(const QString& text);
