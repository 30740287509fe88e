#include "desktop/windowtasks.h"

namespace zk::desktop {

bool isThisHost(const QByteArray& machine, const QByteArray& hostName)
{
    if (machine.isEmpty() || hostName.isEmpty())
        return false;
    if (machine == hostName)
        return true;
    const bool machineShort = !machine.contains('.'), hostShort = !hostName.contains('.');
    if (machineShort == hostShort)
        return false;
    return machine.split('.').constFirst() == hostName.split('.').constFirst();
}

QMap<qint64, QList<quint32>> windowsByPid(const QList<ClientWindow>& clients, const QByteArray& hostName)
{
    QMap<qint64, QList<quint32>> byPid;
    for (const ClientWindow& w : clients) {
        if (w.pid > 0 && isThisHost(w.machine, hostName))
            byPid[w.pid].append(w.id);
    }
    return byPid;
}

quint32 windowToRaise(const QList<quint32>& own, const QList<quint32>& stackingBottomToTop)
{
    for (qsizetype i = stackingBottomToTop.size() - 1; i >= 0; --i) {
        if (own.contains(stackingBottomToTop.at(i)))
            return stackingBottomToTop.at(i);
    }
    return own.isEmpty() ? 0 : own.constLast();
}

}  // namespace zk::desktop
