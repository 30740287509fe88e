#include "bench/driver/procfs.h"

#include "platform/boundedread.h"
#include "platform/taskdir.h"
#include "process/procstatus.h"

#include <QDir>
#include <QSysInfo>
#include <QThread>

#include <unistd.h>

using namespace zk::proc;

namespace {
// Enough for any of the kernel's text files read here.
constexpr qint64 kProcFileLimit = 1024 * 1024;

QByteArray readProcFile(const QString& path)
{
    return readFileAtMost(path, kProcFileLimit).value_or(QByteArray());
}

bool isNumber(const QString& name)
{
    bool ok = false;
    name.toInt(&ok);
    return ok;
}
}

namespace {
qint64 statusKb(pid_t pid, const QByteArray& field)
{
    const QByteArray status = taskStatusText(TaskDir(static_cast<int>(pid)));
    for (const QByteArray& line : status.split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}
}

qint64 residentKb(pid_t pid)
{
    return statusKb(pid, "VmRSS:");
}

qint64 residentAnonKb(pid_t pid)
{
    return statusKb(pid, "RssAnon:");
}

qint64 residentFileKb(pid_t pid)
{
    return statusKb(pid, "RssFile:");
}

qint64 cpuTimeNs(pid_t pid)
{
    // utime and stime are fields 14 and 15, the 12th and 13th after the name.
    const QList<QByteArray> fields = taskStatFields(static_cast<int>(pid));
    if (fields.size() < 13)
        return -1;
    const qint64 ticks = fields[11].toLongLong() + fields[12].toLongLong();
    return ticks * (1000000000LL / sysconf(_SC_CLK_TCK));
}

qint64 runTimeNs(pid_t pid)
{
    const TaskDir task(static_cast<int>(pid));
    const QList<QByteArray> threads = task.entries("task");
    if (threads.isEmpty())
        return -1;
    qint64 sum = 0;
    for (const QByteArray& thread : threads) {
        const QByteArray file = "task/" + thread + "/schedstat";
        const QByteArray schedstat = task.read(file.constData(), 256).value_or(QByteArray());
        sum += schedstat.split(' ').value(0).toLongLong();
    }
    return sum;
}

QString machineLine()
{
    QString model;
    for (const QByteArray& line : readProcFile(QStringLiteral("/proc/cpuinfo")).split('\n')) {
        if (line.startsWith("model name")) {
            model = QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
            break;
        }
    }
    QString memory;
    for (const QByteArray& line : readProcFile(QStringLiteral("/proc/meminfo")).split('\n')) {
        if (line.startsWith("MemTotal:")) {
            memory = QString::number(line.mid(9).trimmed().split(' ').value(0).toLongLong() / 1024) + QStringLiteral(" MiB RAM");
            break;
        }
    }
    return QStringLiteral("%1, %2 cores, %3, Linux %4, %5, Qt %6")
        .arg(model.isEmpty() ? QStringLiteral("unknown CPU") : model)
        .arg(QThread::idealThreadCount())
        .arg(memory)
        .arg(QSysInfo::kernelVersion(), QSysInfo::prettyProductName(), QString::fromLatin1(qVersion()));
}

int processCount()
{
    int count = 0;
    for (const QString& name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (isNumber(name))
            ++count;
    }
    return count;
}
