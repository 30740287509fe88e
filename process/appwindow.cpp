#include "platform/qcopchannel.h"
#include "platform/qcopnames.h"
#include "platform/taskdir.h"
#include "process/procwalk.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QHash>
#include <QSet>

#include <memory>
#include <utility>

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

namespace {
QDBusMessage pingOf(int pid)
{
    return QDBusMessage::createMethodCall(QCopChannel::busName(appChannelOf(pid)), QStringLiteral("/"),
                                          QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
}

// A ping to a dead owner fails only once the daemon has dropped the owner,
// names and all; one that timed out leaves the name in place.
bool answered(const QDBusMessage& reply, int pid)
{
    return reply.type() == QDBusMessage::ReplyMessage || QCopChannel::isRegistered(appChannelOf(pid));
}
}

bool windowOwnerAnswers(int pid)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    return answered(bus.call(pingOf(pid), QDBus::Block, kPingTimeoutMs), pid);
}

QHash<int, bool> windowOwnersAnswer(const QList<int>& pids)
{
    QHash<int, bool> answers;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        for (const int pid : pids)
            answers.insert(pid, false);
        return answers;
    }
    // All sent before any is awaited: each call's timeout runs from its
    // sending, so the waits overlap.
    QList<std::pair<int, QDBusPendingCall>> calls;
    calls.reserve(pids.size());
    for (const int pid : pids)
        calls.append({pid, bus.asyncCall(pingOf(pid), kPingTimeoutMs)});
    for (auto& [pid, call] : calls) {
        call.waitForFinished();
        answers.insert(pid, answered(call.reply(), pid));
    }
    return answers;
}

OwnerCheck windowOwnersNow()
{
    QCopNameMirror* names = QCopNameMirror::instance();
    if (!names)
        return OwnerCheck([](const TaskDir&) { return false; });
    // Tasks confirmed before, by pid and start time: a long-lived window
    // that came up quickly after its start is asked once, not each scan.
    static QHash<int, qint64> confirmed;
    // The answers gathered before this scan's walk, by pid, with the start
    // time of the task that was asked about.
    struct Asked
    {
        qint64 startNs;
        bool answered;
    };
    auto asked = std::make_shared<QHash<int, Asked>>();

    OwnerCheck check;
    check.askAll = [names, asked](const QList<int>& pids) {
        QList<int> ask;
        QHash<int, qint64> starts;
        for (const int pid : pids) {
            const qint64 startNs = taskStartNs(pid);
            if (startNs < 0 || confirmed.value(pid, -1) == startNs)
                continue;
            if (ownerMustAnswer(names->listenerSeenNs(appChannelOf(pid)), startNs)) {
                ask.append(pid);
                starts.insert(pid, startNs);
            }
        }
        if (ask.isEmpty())
            return;
        const QHash<int, bool> answers = windowOwnersAnswer(ask);
        for (auto it = answers.constBegin(); it != answers.constEnd(); ++it)
            asked->insert(it.key(), {starts.value(it.key()), it.value()});
    };
    check.confirms = [names, asked](const TaskDir& task) {
        const int pid = task.pid();
        const qint64 startNs = taskStartNs(task);
        if (startNs >= 0 && confirmed.value(pid, -1) == startNs)
            return true;
        const bool own = isWindowOwnersTask(names->listenerSeenNs(appChannelOf(pid)), startNs, [&] {
            // Asked before the walk, unless the pid went to another task
            // since (or nothing was asked before the walk).
            const auto before = asked->constFind(pid);
            if (before != asked->constEnd() && before->startNs == startNs)
                return before->answered;
            return windowOwnerAnswers(pid);
        });
        if (own) {
            // Pids come back; the table only needs to outlive a few scans.
            if (confirmed.size() > 4096)
                confirmed.clear();
            confirmed.insert(pid, startNs);
        }
        return own;
    };
    return check;
}

}  // namespace zk::proc
