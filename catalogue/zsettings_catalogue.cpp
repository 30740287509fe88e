// The catalogue operations of ZSettings; the work is in the plain functions
// beside this file.
#include "core/zsettings.h"

#include "catalogue/catalogue.h"
#include "catalogue/javafolder.h"
#include "platform/devicepath.h"

void ZSettings::buildCatalogue()
{
    fillCatalogue(javaFolderInSD, iconCatalogue, javaNames);
}

void ZSettings::readRegistry(const QString& path)
{
    readRegistryFile(devicePath(path), iconCatalogue);
}

void ZSettings::processIndex(const QString& path)
{
    loadJavaIndex(path, javaNames);
}

QString ZSettings::getJavaFolderInSD()
{
    return findJavaFolder(devicePath(QLatin1String(cardSystemPath)));
}
