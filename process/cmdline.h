#pragma once

#include <QString>

class TaskDir;

namespace zk::proc {

// The command line of a task as the task list shows it: at most `limit`
// bytes of its cmdline file, a final line feed dropped, every byte of value
// 0x1F or below (the NULs between the arguments among them) turned into a
// blank, the bytes read as Latin-1. The task list reads 254 bytes, the
// details dialog 1023.
//
// A file that cannot be opened, yields no text or begins with a NUL byte
// (an empty first argument) gives a null QString.
QString readCmdline(const TaskDir& task, int limit = 254);
QString readCmdline(int pid, int limit = 254);
// The same for a task of the process table at procRoot (as the file system
// spells it).
QString readCmdline(const QByteArray& procRoot, int pid, int limit = 254);

// The same rules on any file (a captured cmdline file, for one).
QString readCmdline(const QString& path, int limit = 254);

// The rules on bytes already read (at most `limit` of them are used).
QString cmdlineText(const QByteArray& bytes, int limit = 254);

}  // namespace zk::proc
