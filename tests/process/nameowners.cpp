#include "tests/process/nameowners.h"

#include "platform/qcopchannel.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace {
// Bus names of application channels: the prefix of "EZX/Application/" in
// the bus's hex form, then the pid's digits in hex.
const QString kPrefix = QCopChannel::busName("EZX/Application/");
}

WindowOwnerWatch::WindowOwnerWatch()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    m_watching = bus.connect(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                             QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameOwnerChanged"), this,
                             SLOT(ownerChanged(QString, QString, QString)));
    // Names owned before the watch began (the signal came before it).
    if (QDBusConnectionInterface* daemon = bus.interface()) {
        const QStringList names = daemon->registeredServiceNames().value();
        for (const QString& name : names)
            note(name);
    }
}

void WindowOwnerWatch::ownerChanged(const QString& name, const QString& oldOwner, const QString& newOwner)
{
    Q_UNUSED(oldOwner);
    if (!newOwner.isEmpty())
        note(name);
}

void WindowOwnerWatch::note(const QString& busName)
{
    if (!busName.startsWith(kPrefix))
        return;
    const QByteArray digits = QByteArray::fromHex(busName.mid(kPrefix.size()).toLatin1());
    bool ok = false;
    const int pid = digits.toInt(&ok);
    if (ok)
        m_pids.insert(pid);
}
