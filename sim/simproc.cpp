#include "sim/simproc.h"

#include "platform/taskdir.h"

#include <QDir>

#include <algorithm>
#include <climits>

namespace {
// The simulated phone's command lines and stat lines are short; a longer
// command line is cut here.
constexpr qint64 kProcFileLimit = 64 * 1024;

std::optional<QByteArray> procFile(qint64 pid, const char* name)
{
    if (pid <= 0 || pid > INT_MAX)
        return std::nullopt;
    return TaskDir(static_cast<int>(pid)).read(name, kProcFileLimit);
}
}

QByteArray processCommandLine(qint64 pid)
{
    const std::optional<QByteArray> file = procFile(pid, "cmdline");
    if (!file)
        return {};
    QByteArray text = *file;
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
    const std::optional<QByteArray> file = procFile(pid, "stat");
    if (!file)
        return false;
    // "pid (comm) S ...": the state follows the last ')', since comm may hold any byte.
    const QByteArray& stat = *file;
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0 || close + 2 >= stat.size())
        return false;
    const char state = stat.at(close + 2);
    return state != 'Z' && state != 'X';
}
