#include "platform/qcopchannel.h"
#include "platform/qcopnames.h"
#include "platform/taskdir.h"
#include "process/procwalk.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QSet>

#include <memory>

namespace zk::proc {

// Kept apart from the walk so that code which only parses /proc does not
// pull in the bus.

namespace {
const QByteArray kAppChannelPrefix = QByteArrayLiteral("EZX/Application/");

QByteArray appChannelOf(int pid)
{
    return kAppChannelPrefix + QByteArray::number(pid);
}

// A live program answers a ping from its bus thread at once; a stopped one
// must not hold the scan up for long.
const int kPingTimeoutMs = 500;
}

bool hasAppWindow(int pid)
{
    return QCopChannel::isRegistered(appChannelOf(pid));
}

std::function<bool(int)> appWindowsNow()
{
    QCopNameMirror* names = QCopNameMirror::instance();
    if (!names || !names->catchUp())
        return [](int) { return false; };
    // The copy does not change during a scan (nothing delivers the bus's
    // signals until the event loop turns): its window channels are taken by
    // pid once, so that each of the many candidates is one look-up.
    auto pids = std::make_shared<QSet<int>>();
    const QHash<QByteArray, qint64> channels = names->channelsStartingWith(kAppChannelPrefix);
    for (auto it = channels.constBegin(); it != channels.constEnd(); ++it) {
        const QByteArray digits = it.key().mid(kAppChannelPrefix.size());
        bool ok = false;
        const int pid = digits.toInt(&ok);
        // Only the pid's own spelling names its channel ("0123" does not).
        if (ok && appChannelOf(pid) == it.key())
            pids->insert(pid);
    }
    return [pids](int pid) { return pids->contains(pid); };
}

bool windowOwnerAnswers(int pid)
{
    const QByteArray channel = appChannelOf(pid);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QDBusMessage ping = QDBusMessage::createMethodCall(
        QCopChannel::busName(channel), QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.Peer"),
        QStringLiteral("Ping"));
    if (bus.call(ping, QDBus::Block, kPingTimeoutMs).type() == QDBusMessage::ReplyMessage)
        return true;
    // A ping to a dead owner fails only once the daemon has dropped the
    // owner, names and all; one that timed out leaves the name in place.
    return QCopChannel::isRegistered(channel);
}

std::function<bool(const TaskDir&)> windowOwnersNow()
{
    QCopNameMirror* names = QCopNameMirror::instance();
    if (!names)
        return [](const TaskDir&) { return false; };
    return [names](const TaskDir& task) {
        // Tasks confirmed before, by pid and start time: a long-lived window
        // that came up quickly after its start is asked once, not each scan.
        static QHash<int, qint64> confirmed;
        const int pid = task.pid();
        const qint64 startNs = taskStartNs(task);
        if (startNs >= 0 && confirmed.value(pid, -1) == startNs)
            return true;
        const bool own = isWindowOwnersTask(names->listenerSeenNs(appChannelOf(pid)), startNs,
                                            [pid] { return windowOwnerAnswers(pid); });
        if (own) {
            // Pids come back; the table only needs to outlive a few scans.
            if (confirmed.size() > 4096)
                confirmed.clear();
            confirmed.insert(pid, startNs);
        }
        return own;
    };
}

}  // namespace zk::proc
