#include "sim/simbus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDataStream>
#include <QIODevice>

namespace {
const QLatin1String kPrefix("org.qcop.c");
}

QByteArray channelOfBusName(const QString& busName)
{
    if (!busName.startsWith(kPrefix))
        return {};
    const QString hex = busName.mid(kPrefix.size());
    if (hex.isEmpty() || hex.size() % 2 != 0)
        return {};
    for (const QChar c : hex) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool lower = c >= QLatin1Char('a') && c <= QLatin1Char('f');
        if (!digit && !lower)
            return {};
    }
    return QByteArray::fromHex(hex.toLatin1());
}

QList<QByteArray> registeredChannels(const QByteArray& prefix)
{
    QList<QByteArray> channels;
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        return channels;
    const QStringList names = bus->registeredServiceNames().value();
    for (const QString& name : names) {
        const QByteArray channel = channelOfBusName(name);
        if (!channel.isEmpty() && channel.startsWith(prefix))
            channels << channel;
    }
    return channels;
}

QByteArray keyMessageData(qint32 code, qint32 type)
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

qint32 readIntData(const QByteArray& data, bool* ok)
{
    if (ok)
        *ok = data.size() >= 4;
    if (data.size() < 4)
        return 0;
    QDataStream in(data);
    qint32 value = 0;
    in >> value;
    return value;
}
