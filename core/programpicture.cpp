#include "core/programpicture.h"

#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/ownpicture.h"

#include <QCoreApplication>

QString programFolder()
{
    if (gSettings)
        return gSettings->getAppDir();
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QPixmap programPicture(const QString& path)
{
    return ownPicture(programFolder() + path);
}
