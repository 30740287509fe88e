#include "tests/core/rawqcop.h"

#include "platform/qcopchannel.h"

#include <QDBusConnectionInterface>
#include <QDataStream>
#include <QIODevice>

namespace rawqcop {

QDBusMessage signalWith(const QVariantList& args)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(QStringLiteral("/qcop"), QStringLiteral("org.qcop.Channel"), QStringLiteral("message"));
    signal.setArguments(args);
    return signal;
}

QDBusMessage message(const QString& channel, const QString& name, const QByteArray& data)
{
    return signalWith({channel, name, data});
}

QByteArray keyData(qint32 code, qint32 type)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << code << type;
    return data;
}

QByteArray intData(qint32 value)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << value;
    return data;
}

bool confirmDelivery(QDBusConnection& bus)
{
    // One connection's messages reach the daemon in order: its answer to a
    // call means it holds all that went before.
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId"));
    return bus.call(call, QDBus::Block, 120000).type() == QDBusMessage::ReplyMessage;
}

bool isRegistered(QDBusConnection& bus, const QByteArray& channel)
{
    QDBusConnectionInterface* daemon = bus.interface();
    return daemon && daemon->isServiceRegistered(QCopChannel::busName(channel)).value();
}

}
