#include "ezx/slotbyname.h"

#include "platform/logline.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QObject>

QByteArray slotbyname::normalize(const char* slot)
{
    if (!slot || !*slot)
        return {};
    QByteArray name(slot);
    // SLOT(x) and SIGNAL(x) put a method code digit in front of the name.
    if (name.size() > 1 && name.at(0) >= '0' && name.at(0) <= '2')
        name.remove(0, 1);
    name = name.trimmed();
    if (!name.contains('('))
        name += "()";
    return QMetaObject::normalizedSignature(name.constData());
}

bool slotbyname::invoke(QObject* receiver, const QByteArray& slot, const char* who)
{
    if (!receiver || slot.isEmpty())
        return false;
    const QMetaObject* meta = receiver->metaObject();
    const int index = meta->indexOfMethod(slot.constData());
    if (index < 0) {
        noteLine(QStringLiteral("%1: no slot %2 in %3")
                     .arg(QLatin1String(who), QLatin1String(slot),
                          QLatin1String(meta->className())));
        return false;
    }
    const QMetaMethod method = meta->method(index);
    if (method.parameterCount() != 0) {
        noteLine(QStringLiteral("%1: slot %2 takes arguments")
                     .arg(QLatin1String(who), QLatin1String(slot)));
        return false;
    }
    return method.invoke(receiver, Qt::DirectConnection);
}
