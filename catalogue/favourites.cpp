#include "catalogue/favourites.h"

#include "platform/devicepath.h"
#include "platform/logline.h"
#include "platform/zconfig.h"

namespace {

const QString appGroup = QStringLiteral("App");

QString key(const char* prefix, int slot)
{
    return QLatin1String(prefix) + QString::number(slot);
}

bool validSlot(int slot, const char* operation)
{
    if (slot >= 0 && slot < favouriteSlotCount)
        return true;
    logLine(QLatin1String(operation) + QStringLiteral(": no favourite slot ") + QString::number(slot));
    return false;
}

int firstFreeSlot(const ZConfig& config)
{
    for (int slot = 0; slot < favouriteSlotCount; ++slot) {
        if (config.readEntry(appGroup, key("name", slot)).isEmpty())
            return slot;
    }
    return -1;
}

void writeSlot(ZConfig& config, int slot, const QString& name, const QString& run, const QString& icon)
{
    config.writeEntry(appGroup, key("name", slot), name);
    config.writeEntry(appGroup, key("run", slot), run);
    config.writeEntry(appGroup, key("icon", slot), icon);
}

}  // namespace

QList<Favourite> readFavourites()
{
    const ZConfig config(configFilePath(), false);
    QList<Favourite> list;
    for (int slot = 0; slot < favouriteSlotCount; ++slot) {
        const QString name = config.readEntry(appGroup, key("name", slot));
        if (name.isEmpty())
            continue;
        list.append(Favourite{slot, name, config.readEntry(appGroup, key("icon", slot)),
                              config.readEntry(appGroup, key("run", slot))});
    }
    return list;
}

QString favouriteRun(int slot)
{
    if (!validSlot(slot, "favouriteRun"))
        return QString();
    const ZConfig config(configFilePath(), false);
    return config.readEntry(appGroup, key("run", slot));
}

int lowestFreeSlot()
{
    const ZConfig config(configFilePath(), false);
    return firstFreeSlot(config);
}

bool writeFavourite(int slot, const QString& name, const QString& run, const QString& icon)
{
    if (!validSlot(slot, "writeFavourite"))
        return false;
    ZConfig config(configFilePath(), false);
    writeSlot(config, slot, name, run, icon);
    return config.flush();
}

int addFavourite(const QString& name, const QString& run, const QString& icon)
{
    ZConfig config(configFilePath(), false);
    const int slot = firstFreeSlot(config);
    if (slot < 0) {
        logLine(QStringLiteral("addFavourite: all favourite slots are used"));
        return -1;
    }
    writeSlot(config, slot, name, run, icon);
    return config.flush() ? slot : -1;
}

bool deleteFavourite(int slot)
{
    if (!validSlot(slot, "deleteFavourite"))
        return false;
    ZConfig config(configFilePath(), false);
    writeSlot(config, slot, QString(), QString(), QString());
    return config.flush();
}

bool renameFavourite(int slot, const QString& name)
{
    if (!validSlot(slot, "renameFavourite"))
        return false;
    ZConfig config(configFilePath(), false);
    config.writeEntry(appGroup, key("name", slot), name);
    return config.flush();
}

LaunchKind launchKindOf(const QString& run)
{
    if (run.isEmpty())
        return LaunchKind::Nothing;
    if (run.contains(QLatin1Char('}')))
        return LaunchKind::ApplicationId;
    return LaunchKind::Shell;
}
