#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;

// Figures of one task for the details dialog, from its status and maps files.

// One field of "/proc/<pid>/status": the first line that begins with `key`.
// With wholeLine true the whole line with its white space runs reduced to
// one blank ("VmSize: 1234 kB"), or `key` itself when there is no such line;
// with it false the text after the line's first ":", trimmed, inner tabs
// kept ("0\t0\t0\t0"), or an empty text.
QString getStatusField(int pid, const QString& key, bool wholeLine);
QString getStatusField(const QString& path, const QString& key, bool wholeLine);

// The user shown for a "Uid:" value: "root" only for real, effective, saved
// and file-system uid all 0, "EZX" for anything else.
QString userNameForUid(const QString& uidField);
QString taskUserName(int pid);

// The fields of a "/proc/<pid>/stat" line after the command name, the state
// first (the line's third field); empty when the line has no name in
// parentheses. The name may hold blanks and parentheses, so it ends at the
// last ")".
QList<QByteArray> statFieldsAfterName(const QByteArray& statLine);
// The same for "/proc/<pid>/stat"; empty when the task has gone.
QList<QByteArray> taskStatFields(int pid);

// The task's state, the value of its "State:" line ("S (sleeping)"); empty
// when the task has gone.
QString taskState(int pid);

// The files mapped into a task, from the text of its maps file: each path
// once, in the order of its first mapping. Lines of System V shared memory
// ("/SYSV") and lines without a path are skipped, and so is a path that
// occurs within the text of those already listed.
QStringList mappedPaths(QTextStream& maps);
QStringList mappedPaths(const QString& mapsText);

// The same for a maps file, read as Latin-1 text (the text mode drops its
// carriage returns); empty when it cannot be read.
QStringList readMappedPaths(const QString& mapsPath);
// The same for "/proc/<pid>/maps".
QStringList taskMappedPaths(int pid);
