#include "platform/qcopnames.h"

#include "platform/logline.h"
#include "platform/qcopchannel.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QPointer>

#include <ctime>

namespace {

const QString kDaemon = QStringLiteral("org.freedesktop.DBus");
const QString kDaemonPath = QStringLiteral("/org/freedesktop/DBus");
const QString kChannelPrefix = QStringLiteral("org.qcop.c");

// As for QCopChannel's own daemon calls: a silent daemon must not freeze
// the window for long.
const int kCallTimeoutMs = 10000;

QDBusMessage callDaemon(const QString& method)
{
    const QDBusMessage call = QDBusMessage::createMethodCall(kDaemon, kDaemonPath, kDaemon, method);
    // Block, not BlockWithGui: nothing else may run inside a scan.
    return QDBusConnection::sessionBus().call(call, QDBus::Block, kCallTimeoutMs);
}

bool isChannelName(const QString& name)
{
    return name.startsWith(kChannelPrefix);
}

}

QCopNameMirror* QCopNameMirror::instance()
{
    static QPointer<QCopNameMirror> mirror;
    if (mirror)
        return mirror;
    if (!QCoreApplication::instance() || !QDBusConnection::sessionBus().isConnected())
        return nullptr;
    mirror = new QCopNameMirror(QCoreApplication::instance());
    return mirror;
}

QCopNameMirror::QCopNameMirror(QObject* parent)
    : QObject(parent)
{
}

bool QCopNameMirror::catchUp()
{
    bool ok = false;
    if (!listed) {
        ok = listNames();
    } else {
        // The daemon answers in order: once this reply is here, every name
        // change it made before has reached this process as a signal.
        const QDBusMessage reply = callDaemon(QStringLiteral("GetId"));
        ok = reply.type() == QDBusMessage::ReplyMessage;
    }
    if (ok)
        takePendingChanges();
    if (ok != reachable) {
        reachable = ok;
        logLine(ok ? QStringLiteral("QCopNameMirror: bus names followed again")
                   : QStringLiteral("QCopNameMirror: the bus does not answer, no channel is seen"));
    }
    if (!ok) {
        // Changes made while the daemon was away were never signalled.
        names.clear();
        listed = false;
    }
    return ok;
}

bool QCopNameMirror::listNames()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // Follow the changes first, then list: a change in between is in the
    // list and signalled too, and the signals apply in order after it.
    if (!following) {
        following = bus.connect(kDaemon, kDaemonPath, kDaemon, QStringLiteral("NameOwnerChanged"), this,
                                SLOT(nameOwnerChanged(QString, QString, QString)));
        if (!following)
            return false;
    }
    const QDBusMessage reply = callDaemon(QStringLiteral("ListNames"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    names.clear();
    const QStringList all = reply.arguments().constFirst().toStringList();
    const qint64 now = bootTimeNs();
    for (const QString& name : all) {
        if (isChannelName(name))
            names.insert(name, now);
    }
    listed = true;
    return true;
}

void QCopNameMirror::takePendingChanges()
{
    // The bus's signals wait in this thread's event queue; take them now
    // rather than at the next turn of the event loop.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void QCopNameMirror::nameOwnerChanged(const QString& name, const QString& /*oldOwner*/, const QString& newOwner)
{
    if (!listed || !isChannelName(name))
        return;
    if (newOwner.isEmpty())
        names.remove(name);
    else
        names.insert(name, bootTimeNs());
}

bool QCopNameMirror::isRegistered(const QByteArray& channel) const
{
    return listed && names.contains(QCopChannel::busName(channel));
}

qint64 QCopNameMirror::listenerSeenNs(const QByteArray& channel) const
{
    return listed ? names.value(QCopChannel::busName(channel), -1) : -1;
}

qint64 QCopNameMirror::bootTimeNs()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

QHash<QByteArray, qint64> QCopNameMirror::channelsStartingWith(const QByteArray& prefix) const
{
    QHash<QByteArray, qint64> found;
    if (!listed)
        return found;
    // A bus name is the prefix and the channel in hex, byte by byte: the
    // hex of a channel's beginning is the beginning of its bus name.
    const QString start = QCopChannel::busName(prefix);
    for (auto it = names.constBegin(); it != names.constEnd(); ++it) {
        if (it.key().startsWith(start))
            found.insert(QByteArray::fromHex(it.key().mid(kChannelPrefix.size()).toLatin1()), it.value());
    }
    return found;
}

int QCopNameMirror::channelCount() const
{
    return static_cast<int>(names.size());
}
