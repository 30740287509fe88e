#include "platform/devicepath.h"

QString deviceRoot()
{
    QString root = qEnvironmentVariable("EZX_DEVICE_ROOT");
    while (root.endsWith(QLatin1Char('/')))
        root.chop(1);
    return root;
}

QString devicePath(const QString& phonePath)
{
    if (phonePath == QLatin1String("/proc") || phonePath.startsWith(QLatin1String("/proc/")))
        return phonePath;
    const QString root = deviceRoot();
    if (root.isEmpty() || !phonePath.startsWith(QLatin1Char('/')))
        return phonePath;
    return root + phonePath;
}
