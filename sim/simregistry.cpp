#include "sim/simregistry.h"

#include "platform/devicepath.h"
#include "platform/zconfig.h"

QStringList registryPaths()
{
    return {QStringLiteral("/mmc/mmca1/.system/java/CardRegistry"),
            QStringLiteral("/usr/data_resource/preloadapps/SysRegistry"),
            QStringLiteral("/ezxlocal/download/appwrite/am/InstalledDB")};
}

std::optional<RegistryApp> findAppInRegistry(const QString& filePath, const QUuid& appId)
{
    if (appId.isNull())
        return std::nullopt;
    ZConfig registry(filePath, false);
    QStringList groups;
    registry.getGroupsKeyList(groups);
    for (const QString& group : groups) {
        const QString id = registry.readEntry(group, QStringLiteral("AppID"));
        // Compare as UUIDs: registries differ in letter case.
        if (id.isEmpty() || QUuid::fromString(id) != appId)
            continue;
        RegistryApp app;
        app.appId = id;
        app.name = registry.readEntry(group, QStringLiteral("Name"));
        app.exec = registry.readEntry(group, QStringLiteral("Exec"));
        app.icon = registry.readEntry(group, QStringLiteral("Icon"));
        if (app.icon.isEmpty())
            app.icon = registry.readEntry(group, QStringLiteral("BigIcon"));
        app.directory = registry.readEntry(group, QStringLiteral("Directory"));
        app.javaId = registry.readEntry(group, QStringLiteral("JavaId"));
        return app;
    }
    return std::nullopt;
}

std::optional<RegistryApp> findRegistryApp(const QUuid& appId)
{
    for (const QString& path : registryPaths()) {
        if (auto app = findAppInRegistry(devicePath(path), appId))
            return app;
    }
    return std::nullopt;
}

QStringList execArguments(const QString& exec)
{
    return exec.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString iconForDisplay(const RegistryApp& app)
{
    if (app.icon.isEmpty() || app.icon.endsWith(QLatin1String(".g")))
        return app.icon;
    QString phonePath = app.icon;
    if (!phonePath.startsWith(QLatin1Char('/'))) {
        if (app.directory.isEmpty())
            return QString();
        phonePath = app.directory + QLatin1Char('/') + phonePath;
    }
    return devicePath(phonePath);
}
