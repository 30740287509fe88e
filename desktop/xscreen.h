#pragma once

#include "desktop/appchannels.h"
#include "desktop/windowtasks.h"

#include <QHash>
#include <QList>
#include <QObject>

struct xcb_connection_t;
class QSocketNotifier;

namespace zk::desktop {

// The X display as an EWMH window manager presents it: the managed windows
// (_NET_CLIENT_LIST on the root, followed through PropertyNotify events,
// each window's _NET_WM_PID and WM_CLIENT_MACHINE read once; without
// _NET_WM_PID the X server's word for the process, X-Resource) and the
// requests a pager sends (_NET_ACTIVE_WINDOW, _NET_CLOSE_WINDOW,
// _NET_SHOWING_DESKTOP). Works on XWayland alike, which lists the X
// programs only.
//
// Without a display, or without a manager that lists its windows, it says
// so once in the log and there are no windows; a manager that starts later
// is followed from then on.
class XScreen : public QObject, public WindowActions
{
    Q_OBJECT
public:
    explicit XScreen(QObject* parent = nullptr);
    ~XScreen() override;

    // Connects to $DISPLAY; false (logged) when there is none.
    bool open();

    // The managed windows, as of the last change.
    const QList<ClientWindow>& clients() const { return m_clients; }

    void activate(quint32 window) override;
    void close(quint32 window) override;
    QList<quint32> stacking() override;
    // Shows the desktop (hides the windows as the manager does).
    void showDesktop();

signals:
    void clientsChanged();

private:
    enum Atom {
        ClientList,
        ClientListStacking,
        WmPid,
        ActiveWindow,
        CloseWindow,
        ShowingDesktop,
        WmDesktop,
        CurrentDesktop,
        AtomCount
    };

    void readEvents();
    void readClientList();
    QList<quint32> windowList(quint32 window, Atom atom, bool* present);
    qint64 cardinal(quint32 window, Atom atom);
    qint64 clientPid(quint32 window);
    void sendToRoot(quint32 window, Atom type, quint32 d0, quint32 d1 = 0, quint32 d2 = 0);
    bool connectionLost();
    void eventsQueued();

    xcb_connection_t* m_c = nullptr;
    quint32 m_root = 0;
    quint32 m_atoms[AtomCount] = {};
    QSocketNotifier* m_notifier = nullptr;
    // Known windows: what each said when read; a window that had no pid
    // yet is watched until it sets one.
    QHash<quint32, ClientWindow> m_known;
    QList<ClientWindow> m_clients;
    // The server time of the last event seen: a request stamped with it is
    // as recent as the user's last action the manager saw.
    quint32 m_time = 0;
    int m_listState = -1;  // whether the root had a list at the last look
    bool m_lost = false;
    bool m_serverKnowsPids = false;
};

}  // namespace zk::desktop
