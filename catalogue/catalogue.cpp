#include "catalogue/catalogue.h"

#include "catalogue/javafolder.h"
#include "platform/devicepath.h"
#include "platform/logline.h"

QString cardJavaIndexPath(const QString& javaFolder)
{
    return QLatin1String(cardSystemPath) + QLatin1Char('/') + javaFolder + QStringLiteral("/JAMInfo/index");
}

void fillCatalogue(const QString& javaFolder, IconCatalogue& icons, JavaNames& names)
{
    logLine(QStringLiteral("Build list of icon"));
    icons.clear();
    readRegistryFile(devicePath(QLatin1String(cardRegistryPath)), icons);
    readRegistryFile(devicePath(QLatin1String(systemRegistryPath)), icons);

    logLine(QStringLiteral("Build list of java name"));
    names.clear();
    if (!javaFolder.isNull())
        loadJavaIndex(cardJavaIndexPath(javaFolder), names);
    loadJavaIndex(QLatin1String(phoneJavaIndexPath), names);
}
