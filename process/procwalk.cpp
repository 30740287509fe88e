#include "process/procwalk.h"

#include "platform/logline.h"
#include "platform/taskdir.h"
#include "process/cmdline.h"
#include "process/procstatus.h"

#include <QFile>

#include <dirent.h>
#include <unistd.h>

#include <climits>

namespace zk::proc {

namespace {
const int kFirstTaskPid = 100;

// A window whose listener was seen less than this after its task started
// (or before) is asked for: the copy of the bus's names learns a listener
// some time after it registered, and start times count in clock ticks.
const qint64 kFreshWindowNs = 1000000000;

// The value of the leading digits of a /proc entry name, or -1 when it does
// not begin with a digit or the number does not fit an int. Lenient as the
// phone's walk was: the kernel names tasks with digits only, and a name with
// more after them finds no folder of that pid to read.
int leadingPid(const char* name)
{
    if (*name < '0' || *name > '9')
        return -1;
    long long value = 0;
    for (const char* c = name; *c >= '0' && *c <= '9'; ++c) {
        value = value * 10 + (*c - '0');
        if (value > INT_MAX)
            return -1;
    }
    return static_cast<int>(value);
}

struct ProcDir
{
    DIR* dir;
    explicit ProcDir(const QString& path)
        : dir(opendir(QFile::encodeName(path).constData()))
    {
    }
    ~ProcDir()
    {
        if (dir)
            closedir(dir);
    }
    ProcDir(const ProcDir&) = delete;
    ProcDir& operator=(const ProcDir&) = delete;
};

bool listPids(const QString& procDir, QList<int>* pids)
{
    ProcDir d(procDir);
    if (!d.dir)
        return false;
    while (const dirent* entry = readdir(d.dir)) {
        const int pid = leadingPid(entry->d_name);
        if (pid >= kFirstTaskPid)
            pids->append(pid);
    }
    return true;
}
}

QList<int> candidatePids(const QString& procDir)
{
    QList<int> pids;
    listPids(procDir, &pids);
    return pids;
}

QList<TaskEntry> scanTasks(const ScanSettings& settings, const std::function<bool(int)>& hasWindow,
                           int* pidPhone, const OwnerCheck& owners,
                           const std::function<void(const TaskEntry&)>& onEntry)
{
    logLine(QStringLiteral("Get runing proc"));
    int phone = 0;
    if (pidPhone)
        *pidPhone = 0;

    QList<int> pids;
    if (!listPids(settings.procDir, &pids)) {
        logLine(QStringLiteral("Can't open /proc"));
        return {};
    }
    QList<int> windows;
    if (hasWindow) {
        for (const int pid : std::as_const(pids)) {
            if (hasWindow(pid))
                windows.append(pid);
        }
    }
    if (owners.askAll && !windows.isEmpty())
        owners.askAll(windows);

    const QByteArray procRoot = QFile::encodeName(settings.procDir);
    QList<TaskEntry> entries;
    auto accept = [&entries, &onEntry](TaskEntry entry) {
        if (onEntry)
            onEntry(entry);
        entries.append(std::move(entry));
    };
    qsizetype nextWindow = 0;
    for (const int pid : std::as_const(pids)) {
        // Both lists are in walk order.
        const bool window = nextWindow < windows.size() && windows.at(nextWindow) == pid;
        if (window)
            ++nextWindow;
        // A task's folder is opened only when something is read from it.
        if (window) {
            const TaskDir task(pid, settings.procDir);
            const QString text = readCmdline(task).trimmed();
            if (text.isEmpty())
                continue;
            // The window may have been a dead program's whose pid went on
            // to this one before the bus noticed: then the line read is
            // not the window's.
            if (owners.confirms && !owners.confirms(task))
                continue;
            if (phone == 0 && text.contains(QLatin1String(kPhoneMarker))) {
                phone = pid;
                if (pidPhone)
                    *pidPhone = pid;
                logLine(QStringLiteral("pidPhone=%1").arg(pid));
            }
            const QString name = getProcName(text);
            if (!checkProcFilter(name, settings.showAllTask, settings.filterList))
                continue;
            accept({pid, name, false});
        } else {
            if (!settings.showAppNoWindow)
                continue;
            const QString text = readCmdline(procRoot, pid);
            if (!isUserApp(text))
                continue;
            accept({pid, text, true});
        }
    }
    logLine(QStringLiteral("Get runing proc: End"));
    return entries;
}

qint64 taskStartNs(const TaskDir& task)
{
    // The start time is the line's 22nd field, the 20th after the name.
    bool ok = false;
    const qint64 ticks = taskStatField(task, 19).toLongLong(&ok);
    const long perSecond = sysconf(_SC_CLK_TCK);
    if (!ok || ticks < 0 || perSecond <= 0)
        return -1;
    return ticks * (1000000000 / perSecond);
}

qint64 taskStartNs(int pid)
{
    return taskStartNs(TaskDir(pid));
}

bool ownerMustAnswer(qint64 listenerSeenNs, qint64 startNs)
{
    return listenerSeenNs >= 0 && startNs >= 0 && startNs + kFreshWindowNs >= listenerSeenNs;
}

bool isWindowOwnersTask(qint64 listenerSeenNs, qint64 startNs, const std::function<bool()>& ownerAnswers)
{
    if (listenerSeenNs < 0 || startNs < 0)
        return false;
    if (!ownerMustAnswer(listenerSeenNs, startNs))
        return true;
    return ownerAnswers && ownerAnswers();
}

}  // namespace zk::proc
