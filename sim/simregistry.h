#pragma once

#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

// An application of the phone's registries, as the application manager
// starts it.
struct RegistryApp
{
    QString appId;      // "AppID" as written, a UUID in braces
    QString name;       // "Name"
    QString exec;       // "Exec": executable path, maybe followed by arguments
    QString icon;       // "Icon", or "BigIcon" when "Icon" is empty
    QString directory;  // "Directory"
    QString javaId;     // "JavaId", set for Java applications
};

// The registry files, phone paths, in the order they are searched.
QStringList registryPaths();

// The application with that AppID in the registry file at filePath (a real
// path); the first group wins. Nothing for a missing file or no match.
std::optional<RegistryApp> findAppInRegistry(const QString& filePath, const QUuid& appId);

// The application with that AppID in the three registries, looked up below
// the device root.
std::optional<RegistryApp> findRegistryApp(const QUuid& appId);

// The arguments that start the application: "Exec" split at blanks (the
// first is the program the phone would run); empty for an empty "Exec".
QStringList execArguments(const QString& exec);

// The icon to show: a resource icon name (".g") as it is; a relative file
// name completed with "Directory"; every file path looked up below the
// device root.
QString iconForDisplay(const RegistryApp& app);
