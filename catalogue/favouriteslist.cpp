#include "catalogue/favouriteslist.h"

#include "catalogue/favourites.h"
#include "ezx/listrowitem.h"
#include "ezx/ownpicture.h"
#include "ezx/res_icon_reader.h"
#include "ezx/scaleicon.h"
#include "ezx/zlistbox.h"
#include "platform/devicepath.h"
#include "platform/logline.h"
#include "platform/qcopchannel.h"

#include <QDataStream>
#include <QFile>
#include <QProcess>
#include <QUuid>

namespace {
const QString rowLayout = QStringLiteral("%I%M");
}

QPixmap favouriteIcon(const QString& icon, const QString& appDir, bool cached)
{
    QPixmap pixmap;
    if (icon.endsWith(QLatin1String(".g"))) {
        pixmap = RES_ICON_Reader().getIcon(QString::fromLatin1(icon.toLatin1()), cached);
    } else if (!icon.isEmpty()) {
        // Icon files are the phone's paths, as the registries give them.
        const QString file = devicePath(icon);
        if (QFile::exists(file))
            pixmap.load(file);
    }

    if (pixmap.isNull())
        pixmap = ownPicture(appDir + QStringLiteral("/img/run_app.png"));
    scaleIconTo(pixmap, favouriteIconSize);
    return pixmap;
}

void fillFavouritesList(ZListBox* list, const QString& appDir, const QString& hideAllText)
{
    logLine(QStringLiteral("buildAppList"));

    auto* hideAll = new ZListRowItem(list, rowLayout);
    hideAll->setPixmap(0, ownPicture(appDir + QStringLiteral("/img/desktop.png")));
    hideAll->appendSubItem(1, hideAllText, true);
    list->insertItem(hideAll, 0, true);

    auto* separator = new ZListRowItem(list, rowLayout);
    separator->setSeparator(QStringLiteral("-"), nullptr);
    separator->setSelectable(false);
    list->insertItem(separator, 1, true);

    logLine(QStringLiteral("buildAppList: Read app list of config..."));
    for (const Favourite& favourite : readFavourites()) {
        auto* row = new ZListRowItem(list, rowLayout);
        row->setPixmap(0, favouriteIcon(favourite.icon, appDir));
        row->appendSubItem(1, favourite.name, true);
        row->setSlot(favourite.slot);
        list->insertItem(row, -1, true);
    }
    logLine(QStringLiteral("buildAppList: end"));
}

int favouriteSlotAt(const ZListBox* list, int row)
{
    if (!list || row < firstFavouriteRow || row >= list->count())
        return -1;
    const auto* item = dynamic_cast<const ZListRowItem*>(list->item(row));
    return item ? item->getSlot() : -1;
}

bool launchFavourite(const QString& run)
{
    switch (launchKindOf(run)) {
    case LaunchKind::Nothing:
        return false;
    case LaunchKind::ApplicationId: {
        logLine(QStringLiteral("Run app from AppId: ") + run);
        QByteArray data;
        QDataStream stream(&data, QIODevice::WriteOnly);
        stream << QUuid::fromString(run);
        QCopChannel::send("/AM/Launcher", "launchApp4NoLockCheck", data);
        return true;
    }
    case LaunchKind::Shell:
        logLine(QStringLiteral("Run app from path: ") + run);
        // Detached: a command that keeps running must not keep the task
        // manager busy until it ends.
        if (!QProcess::startDetached(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), run}))
            logLine(QStringLiteral("Run app from path: the shell could not be started"));
        return true;
    }
    return false;
}
