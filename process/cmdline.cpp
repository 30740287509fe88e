#include "process/cmdline.h"

#include <QFile>

QString cmdlineText(const QByteArray& bytes, int limit)
{
    if (limit <= 0)
        return QString();
    QByteArray text = bytes.left(limit);
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

QString readCmdline(const QString& path, int limit)
{
    QFile file(path);
    if (limit <= 0 || !file.open(QIODevice::ReadOnly))
        return QString();
    // /proc files report size 0, so read until the limit or the end.
    return cmdlineText(file.read(limit), limit);
}

QString readCmdline(int pid, int limit)
{
    return readCmdline(QStringLiteral("/proc/%1/cmdline").arg(pid), limit);
}
