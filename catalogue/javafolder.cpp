#include "catalogue/javafolder.h"

#include "platform/logline.h"

#include <QFile>

#include <dirent.h>

QString findJavaFolder(const QString& folderPath)
{
    logLine(QStringLiteral("getJavaFolderInSD()"));
    // readdir rather than QDir: the first match in the folder's own order
    // counts, and QDir would sort.
    DIR* dir = ::opendir(QFile::encodeName(folderPath).constData());
    if (!dir) {
        logLine(QStringLiteral("Can't open SD Card"));
    } else {
        while (const dirent* entry = ::readdir(dir)) {
            const QString name = QFile::decodeName(entry->d_name);
            if (name.contains(QLatin1String("java_"))) {
                logLine(QStringLiteral("JavaFolderInSD: ") + name);
                ::closedir(dir);
                return name;
            }
        }
        ::closedir(dir);
    }
    logLine(QStringLiteral("JavaFolderInSD: not found"));
    return QString();
}
