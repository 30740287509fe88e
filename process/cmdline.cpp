#include "process/cmdline.h"

#include "platform/boundedread.h"
#include "platform/taskdir.h"

#include <QFile>

namespace zk::proc {

QString cmdlineText(const QByteArray& bytes, int limit)
{
    if (limit <= 0)
        return QString();
    QByteArray text = bytes.left(limit);
    // A task started with an empty first argument has no name to show.
    if (text.startsWith('\0'))
        return QString();
    if (text.endsWith('\n'))
        text.chop(1);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) <= 0x1F)
            c = ' ';
    }
    if (text.isEmpty())
        return QString();
    return QString::fromLatin1(text);
}

QString readCmdline(const TaskDir& task, int limit)
{
    if (limit <= 0)
        return QString();
    return cmdlineText(task.read("cmdline", limit).value_or(QByteArray()), limit);
}

QString readCmdline(const QByteArray& procRoot, int pid, int limit)
{
    if (limit <= 0)
        return QString();
    return cmdlineText(TaskDir(pid, QFile::decodeName(procRoot)).read("cmdline", limit).value_or(QByteArray()), limit);
}

QString readCmdline(int pid, int limit)
{
    return readCmdline(TaskDir(pid), limit);
}

QString readCmdline(const QString& path, int limit)
{
    if (limit <= 0)
        return QString();
    return cmdlineText(readFileAtMost(path, limit).value_or(QByteArray()), limit);
}

}  // namespace zk::proc
