#include "core/keymessage.h"

#include <QDataStream>

KeyMessage decodeKeyMessage(const QByteArray& data)
{
    KeyMessage key;
    QDataStream in(data);
    in >> key.code >> key.type;
    key.complete = in.status() == QDataStream::Ok;
    return key;
}
