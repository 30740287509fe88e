#pragma once

#include <QByteArray>
#include <QString>

namespace zk::proc {

// What the task list's actions do to a task, apart from the widgets.

// True while the task's folder in /proc can be opened: the task still exists
// (an ended task that has not been reaped yet counts).
bool procExists(int pid);

// How a kill ended. Killed and NoSuchProcess both mean the task is gone and
// its row goes; Refused (no permission) means it still runs, so its row stays.
enum class KillOutcome {
    Killed,
    NoSuchProcess,
    Refused
};

// True when the task is gone after the kill, i.e. its row is to be removed.
inline bool killRemovesRow(KillOutcome outcome)
{
    return outcome != KillOutcome::Refused;
}

// Sends SIGKILL and logs "Killed a pid [<pid>]", or "Error when kill a pid
// [<pid>]" when it failed. A pid below 1 never reaches kill(): there it would
// mean a whole process group or every process.
KillOutcome killProc(int pid);

// setpriority() for the task; a refusal (another user's task, or a raise
// above what this user may ask) changes nothing and logs "Error when set
// priority of a pid [<pid>]". A pid below 1 would name this process.
bool setProcPriority(int pid, int nice);

// The channel on which the application with that pid listens.
QByteArray appChannel(int pid);

// Sends the message, with empty data, on the task's application channel.
bool sendToApp(int pid, const QString& message);

// Asks the task's application to leave ("quickQuit()").
bool quitApp(int pid);

// The system's "back to idle" request that hides every application.
inline constexpr const char* kSystemChannel = "EZX/System";
inline constexpr const char* kReturnToIdle = "ReturnToIdle(int)";
inline constexpr int kHideAllReason = -5003;

// The data of "ReturnToIdle(int)": one 32-bit big-endian integer
// (-5003 is FF FF EC 75).
QByteArray returnToIdleData(int reason = kHideAllReason);

}  // namespace zk::proc
