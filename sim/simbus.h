#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Bus helpers of the simulated phone's services.

// The channel that a bus name stands for ("org.qcop.c" + lowercase hex of
// the channel's bytes); empty when the name is not such a name.
QByteArray channelOfBusName(const QString& busName);

// The channels that have a listener now and begin with prefix, in bus order.
QList<QByteArray> registeredChannels(const QByteArray& prefix);

// The data block of "keyMsg(int,int)": code, then type, 32-bit big-endian.
QByteArray keyMessageData(qint32 code, qint32 type);

// One 32-bit big-endian integer; reads 0 from a block that is too short.
QByteArray intData(qint32 value);
qint32 readIntData(const QByteArray& data, bool* ok = nullptr);
