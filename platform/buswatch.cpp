#include "platform/buswatch.h"

#include "platform/logline.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QMetaObject>

namespace {
// Where libdbus puts the signal it makes up for a dead connection.
const QString kLocalPath = QStringLiteral("/org/freedesktop/DBus/Local");
const QString kLocalInterface = QStringLiteral("org.freedesktop.DBus.Local");
const QString kDisconnected = QStringLiteral("Disconnected");
}

BusWatch::BusWatch(QObject* parent)
    : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        // No bus now means no bus ever: say so as a loss would, once the
        // caller has had the chance to connect to lost().
        QMetaObject::invokeMethod(this, &BusWatch::disconnected, Qt::QueuedConnection);
        return;
    }
    // A bus that is there but cannot be watched is still a working bus.
    if (!bus.connect(QString(), kLocalPath, kLocalInterface, kDisconnected, this, SLOT(disconnected())))
        logLine(QStringLiteral("BusWatch: cannot watch the session bus: ") + bus.lastError().message());
}

void BusWatch::disconnected()
{
    if (m_lost)
        return;
    m_lost = true;
    emit lost();
}
