#pragma once

#include <QObject>

// Tells when this process loses its session bus: the daemon ended, or it
// dropped the connection. libdbus reports that to the process itself as the
// local signal org.freedesktop.DBus.Local.Disconnected; after it every
// QCopChannel is deaf and every send is dropped, for good.
//
// lost() is emitted once, from the event loop; a process that had no bus to
// begin with gets it right after construction.
class BusWatch : public QObject
{
    Q_OBJECT
public:
    explicit BusWatch(QObject* parent = nullptr);

signals:
    void lost();

private slots:
    void disconnected();

private:
    bool m_lost = false;
};
