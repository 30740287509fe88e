#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;
class TaskDir;

namespace zk::proc {

// Figures of one task for the details dialog, from its status and maps files.

// The task's status file, read once; empty when the task has gone.
QByteArray taskStatusText(const TaskDir& task);

// One field of a status text: the first line that begins with `key`. With
// wholeLine true the whole line with its white space runs reduced to one
// blank ("VmSize: 1234 kB"), or `key` itself when there is no such line;
// with it false the text after the line's first ":", trimmed, inner tabs
// kept ("0\t0\t0\t0"), or an empty text. The bytes are Latin-1; carriage
// returns do not count.
QString statusField(const QByteArray& statusText, const QString& key, bool wholeLine);
// The same for "/proc/<pid>/status", and for any file (a captured one).
QString getStatusField(int pid, const QString& key, bool wholeLine);
QString getStatusField(const QString& path, const QString& key, bool wholeLine);

// The user shown for a "Uid:" value: "root" only for real, effective, saved
// and file-system uid all 0, "EZX" for anything else.
QString userNameForUid(const QString& uidField);
// The same, and the task's state (the value of its "State:" line, "S
// (sleeping)"), from a status text; "EZX" and empty for an empty one.
QString taskUserName(const QByteArray& statusText);
QString taskState(const QByteArray& statusText);

// The fields of a "/proc/<pid>/stat" line after the command name, the state
// first (the line's third field); empty when the line has no name in
// parentheses. The name may hold blanks and parentheses, so it ends at the
// last ")".
QList<QByteArray> statFieldsAfterName(const QByteArray& statLine);
// The same for the task's stat file; empty when the task has gone.
QList<QByteArray> taskStatFields(const TaskDir& task);
QList<QByteArray> taskStatFields(int pid);
// One of those fields (0: the state), without splitting the rest of the
// line; empty when the line has fewer.
QByteArray statFieldAfterName(const QByteArray& statLine, int index);
// The same for the task's stat file.
QByteArray taskStatField(const TaskDir& task, int index);

// The files mapped into a task, from the text of its maps file: each path
// once, in the order of its first mapping. Lines of System V shared memory
// ("/SYSV") and lines without a path are skipped, and so is a path that
// occurs within the text of those already listed.
QStringList mappedPaths(QTextStream& maps);
QStringList mappedPaths(const QString& mapsText);

// The same for a task's maps file and for any file (a captured one), read as
// Latin-1 text without its carriage returns; empty when it cannot be read.
QStringList taskMappedPaths(const TaskDir& task);
QStringList taskMappedPaths(int pid);
QStringList readMappedPaths(const QString& mapsPath);

}  // namespace zk::proc
