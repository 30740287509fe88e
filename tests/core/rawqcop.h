#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>

// qcop messages made by hand on a connection of the test's choosing: in the
// bus's wire form (the signal /qcop org.qcop.Channel.message(s, s, ay)) or,
// on purpose, not. Sends do not wait; confirmDelivery() does.
namespace rawqcop {

// The signal with any argument list.
QDBusMessage signalWith(const QVariantList& args);
// A well-formed message.
QDBusMessage message(const QString& channel, const QString& name, const QByteArray& data = QByteArray());

// The data of keyMsg(int,int), and of one int.
QByteArray keyData(qint32 code, qint32 type);
QByteArray intData(qint32 value);

// True once the daemon holds everything this connection sent before.
bool confirmDelivery(QDBusConnection& bus);
// Whether the channel has a listener, asked on this connection.
bool isRegistered(QDBusConnection& bus, const QByteArray& channel);

}
