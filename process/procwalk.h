#pragma once

#include "core/settingdefaults.h"
#include "process/procname.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <utility>

class TaskDir;

namespace zk::proc {

// The walk over /proc that fills the task list, as data: the window code
// only turns the entries into rows.

// What the user's settings say about which tasks are listed.
struct ScanSettings
{
    bool showAllTask = false;
    QString filterList = QString::fromLatin1(kDefaultProcFilter);
    bool showAppNoWindow = false;
    // The process table to walk; tests point it at a folder of their own.
    QString procDir = QStringLiteral("/proc");
};

// One accepted task. A task with a window carries its short name; one
// without a window its whole command line (not trimmed), with noWindow set.
struct TaskEntry
{
    int pid = 0;
    QString text;
    bool noWindow = false;

    bool operator==(const TaskEntry&) const = default;
};

// The command line that marks the phone process.
inline constexpr const char* kPhoneMarker = "SYSqtapp/phone/phone";

// The pids of the process table in the order the directory yields them:
// entries whose name begins with a digit, taken by their leading digits,
// 100 and above. Empty when the folder cannot be opened.
QList<int> candidatePids(const QString& procDir = QStringLiteral("/proc"));

// True when the task has a window: its "EZX/Application/<pid>" channel is
// registered on the bus. One round trip to the bus per call.
bool hasAppWindow(int pid);

// The same test for a whole scan, answered from this process's copy of the
// bus's names after one round trip: a window registered before the call is
// seen. Without a bus no task has a window.
std::function<bool(int)> appWindowsNow();

// True while the process that registered the task's window channel is alive:
// it answers a ping, or it is still registered after not answering in time
// (a stopped program keeps its window). The bus daemon drops a dead
// program's channels only once it notices the death, which can come after
// the pid went to a new process.
bool windowOwnerAnswers(int pid);

// The same for many pids at once: every owner is pinged at the same moment
// and the answers are awaited together, for at most the ping timeout in all
// (500 ms), so that many stopped programs cost no more than one.
QHash<int, bool> windowOwnersAnswer(const QList<int>& pids);

// When the task started, in nanoseconds on CLOCK_BOOTTIME (from its stat
// file, to the clock tick); -1 when it has gone. By pid: the process now at
// that pid.
qint64 taskStartNs(const TaskDir& task);
qint64 taskStartNs(int pid);

// Whether the task at a pid whose window channel is listed is the process
// that registered it, given when the channel's listener was seen (-1: none
// any more) and when the task started (-1: gone). A task clearly older than
// the sighting is; one that started about then or later may be a newcomer on
// a dead program's pid, and ownerAnswers() decides.
bool isWindowOwnersTask(qint64 listenerSeenNs, qint64 startNs, const std::function<bool()>& ownerAnswers);
// Whether isWindowOwnersTask() would ask the owner.
bool ownerMustAnswer(qint64 listenerSeenNs, qint64 startNs);

// How a scan confirms the windows it finds. askAll, when set, is handed
// every pid whose window channel is listed before the walk looks at any
// task, so that the owners that must answer are all asked at once;
// confirms is then asked for each window task after its command line was
// read, with the task's folder the line was read from.
struct OwnerCheck
{
    OwnerCheck() = default;
    OwnerCheck(std::function<bool(const TaskDir&)> confirm)
        : confirms(std::move(confirm))
    {
    }
    std::function<void(const QList<int>&)> askAll;
    std::function<bool(const TaskDir&)> confirms;
};

// The confirmation the task list gives scanTasks(): isWindowOwnersTask()
// with the copy of the bus's names that appWindowsNow() brought up to date,
// the owners asked with windowOwnersAnswer() before the walk; a task once
// confirmed is not asked again.
OwnerCheck windowOwnersNow();

// Walks the process table and returns the accepted tasks in walk order.
// When pidPhone is given it is set to the first task with a window whose
// command line contains kPhoneMarker, or 0. Logs "Get runing proc",
// "pidPhone=<pid>" and "Get runing proc: End", or "Can't open /proc".
// owners, when given, confirms each window after its command line was
// read (windowOwnersNow() for the real bus), so that a yes means the line
// is the window owner's own; a task it denies is skipped.
// onEntry, when given, is handed each accepted task at once, during the
// walk (the task list builds its rows there, so that their log lines come
// in walk order before the walk's last line).
// A window task's files are read through one handle on its folder
// (TaskDir); of a windowless task only the command line is read, by its
// path. Nothing is read of a task that cannot be listed.
QList<TaskEntry> scanTasks(const ScanSettings& settings,
                           const std::function<bool(int)>& hasWindow = hasAppWindow,
                           int* pidPhone = nullptr,
                           const OwnerCheck& owners = {},
                           const std::function<void(const TaskEntry&)>& onEntry = {});

}  // namespace zk::proc
