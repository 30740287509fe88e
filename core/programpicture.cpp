#include "core/programpicture.h"

#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/ownpicture.h"

QPixmap programPicture(const QString& path)
{
    return ownPicture((gSettings ? gSettings->getAppDir() : QString()) + path);
}
