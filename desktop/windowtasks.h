#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>

namespace zk::desktop {

// Which processes have a window, from the window manager's list.

// A managed window as the X server describes it.
struct ClientWindow
{
    quint32 id = 0;
    qint64 pid = 0;      // _NET_WM_PID; 0 when unset
    QByteArray machine;  // WM_CLIENT_MACHINE; empty when unset

    bool operator==(const ClientWindow&) const = default;
};

// Whether a WM_CLIENT_MACHINE names this host: the same name, or the same
// first label when one of the two is not qualified ("box" and
// "box.example.org"). Empty names none.
bool isThisHost(const QByteArray& machine, const QByteArray& hostName);

// The windows of each local process, in the list's order: windows without
// a pid, or of another machine, are no process's here.
QMap<qint64, QList<quint32>> windowsByPid(const QList<ClientWindow>& clients, const QByteArray& hostName);

// The window to bring forward of a process's windows: the highest in the
// stacking order (bottom to top), else the last one it mapped.
quint32 windowToRaise(const QList<quint32>& own, const QList<quint32>& stackingBottomToTop);

}  // namespace zk::desktop
