#pragma once

#include <QByteArray>
#include <QtGlobal>

// The data of a "keyMsg(int,int)" message: the key code, then the event type
// (1 press, 0 release), two 32-bit integers in QDataStream's big-endian form.
struct KeyMessage
{
    qint32 code = 0;
    qint32 type = 0;
    // False when the data is shorter than the two integers; code and type
    // then hold what the stream gave for the missing bytes (0).
    bool complete = false;
};

// Bytes after the two integers are ignored.
KeyMessage decodeKeyMessage(const QByteArray& data);
