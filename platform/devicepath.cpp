#include "platform/devicepath.h"

#include <QFile>

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

QString configFilePath()
{
    // Decoded as file names are, so that the bytes of the variable name the
    // same folder when the path is opened again.
    return QFile::decodeName(qgetenv("EZX_APP_WRITE_PATH")) + QStringLiteral("/setup/zKestrel.cfg");
}
