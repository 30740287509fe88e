#include "sim/simproc.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {
QString procFile(qint64 pid, const char* name)
{
    return QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name));
}
}

QByteArray processCommandLine(qint64 pid)
{
    QFile f(procFile(pid, "cmdline"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray text = f.readAll();
    for (char& c : text) {
        if (static_cast<unsigned char>(c) <= 0x1f)
            c = ' ';
    }
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

QList<qint64> pidsWithCommandLine(const QByteArray& needle)
{
    QList<qint64> pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (isPid && processRuns(pid) && processCommandLine(pid).contains(needle))
            pids << pid;
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

bool processRuns(qint64 pid)
{
    if (pid <= 0)
        return false;
    QFile f(procFile(pid, "stat"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // "pid (comm) S ...": the state follows the last ')', since comm may hold any byte.
    const QByteArray stat = f.readAll();
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0 || close + 2 >= stat.size())
        return false;
    const char state = stat.at(close + 2);
    return state != 'Z' && state != 'X';
}
