#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The parameter list of a message such as "keyMsg(int,int)": its type names,
// trimmed. hasList is false for a message without one ("launchApp4NoLockCheck").
// False, with a reason in error, when the message is not well formed.
bool parseQcopParameters(const QByteArray& message, QList<QByteArray>* types, bool* hasList, QString* error);

// Encodes the command-line arguments of a message into its data block, the
// way the receiver reads it with QDataStream (Qt's default, big-endian):
//   int, uint, long, ... 32-bit integers     QString             QString
//   QCString, QByteArray  QByteArray         bool  true/false/1/0
//   QUuid  "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"
// Text arguments are taken in the local 8-bit encoding. A message without a
// parameter list takes no argument (empty data) or one QUuid in braces.
// False, with a reason in error and data untouched, when the arguments do
// not fit the message.
bool encodeQcopArgs(const QByteArray& message, const QList<QByteArray>& args, QByteArray* data, QString* error);
