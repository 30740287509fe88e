#include "process/taskrow.h"

#include "ezx/ownpicture.h"
#include "ezx/res_icon_reader.h"
#include "ezx/scaleicon.h"
#include "platform/devicepath.h"
#include "process/catalogmatch.h"
#include "process/javamidlet.h"
#include "process/procname.h"

namespace zk::proc {

namespace {
QPixmap builtInIcon(const RowSources& sources, const char* file)
{
    const QString path = sources.appDir + QLatin1String(file);
    if (!sources.pictures)
        return ownPicture(path);
    auto it = sources.pictures->constFind(path);
    if (it == sources.pictures->constEnd())
        it = sources.pictures->insert(path, ownPicture(path));
    return *it;
}

// A picture found for the task is brought down to the row's size; when none
// loaded, the program's own picture stands in, as it is.
QPixmap iconOrFallback(QPixmap icon, const RowSources& sources, const char* fallback)
{
    if (icon.isNull())
        return builtInIcon(sources, fallback);
    scaleIconTo(icon, kRowIconSize);
    return icon;
}

TaskRowLook javaRowLook(const QString& cmdline, const RowSources& sources)
{
    TaskRowLook look;
    QPixmap icon;
    const QString id = midletId(cmdline);
    if (id.isNull()) {
        look.hasText = false;
    } else {
        const QString path = midletIconPath(id, sources.javaFolderInSD);
        if (!path.isEmpty())
            icon.load(path);
        look.text = midletRowText(id, sources.javaNames ? *sources.javaNames : JavaNames());
    }
    look.icon = iconOrFallback(icon, sources, "/img/java.png");
    return look;
}

TaskRowLook appRowLook(const QString& name, const RowSources& sources)
{
    TaskRowLook look;
    look.text = name;
    QPixmap icon;
    if (sources.icons) {
        const auto entry = matchCatalogue(*sources.icons, name);
        if (entry != sources.icons->constEnd()) {
            icon = registryIcon(entry->icon);
            if (!entry->name.isEmpty())
                look.text = entry->name;
        }
    }
    look.icon = iconOrFallback(icon, sources, "/img/app.png");
    return look;
}
}

QPixmap registryIcon(const QString& icon)
{
    if (isResourceIcon(icon))
        return RES_ICON_Reader().getIcon(QString::fromLatin1(icon.toLatin1()), false);
    if (icon.isEmpty())
        return QPixmap();
    return QPixmap(devicePath(icon));
}

TaskRowLook taskRowLook(const QString& text, bool noWindow, const RowSources& sources)
{
    if (noWindow) {
        TaskRowLook look;
        look.icon = builtInIcon(sources, "/img/sh.png");
        look.text = getProcName(text);
        return look;
    }
    if (isJavaCmdline(text))
        return javaRowLook(text, sources);
    return appRowLook(text, sources);
}

}  // namespace zk::proc
