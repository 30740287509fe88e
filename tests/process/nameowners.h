#pragma once

#include <QObject>
#include <QSet>
#include <QString>

// Which "EZX/Application/<pid>" channels have ever had an owner on the
// session bus since the watch began (those owned then included), from the
// daemon's NameOwnerChanged signals. The daemon sends the signal before it
// answers any later question about the name, so once the events are
// processed a pid that a scan found registered is in the set.
class WindowOwnerWatch : public QObject
{
    Q_OBJECT
public:
    WindowOwnerWatch();

    bool isWatching() const { return m_watching; }
    bool everRegistered(int pid) const { return m_pids.contains(pid); }
    int count() const { return static_cast<int>(m_pids.size()); }

private slots:
    void ownerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    void note(const QString& busName);

    bool m_watching = false;
    QSet<int> m_pids;
};
