#pragma once

#include <QMap>
#include <QString>

// A native application as the phone's registries describe it.
struct RegistryEntry
{
    QString icon;  // image file path, or a resource icon name ending in ".g"
    QString name;  // display name; may be empty
};

// Native applications by executable path ("Exec"), in QString order.
using IconCatalogue = QMap<QString, RegistryEntry>;

// The phone's registry files, in the order the catalogue reads them.
inline constexpr const char* cardRegistryPath = "/mmc/mmca1/.system/java/CardRegistry";
inline constexpr const char* systemRegistryPath = "/usr/data_resource/preloadapps/SysRegistry";
inline constexpr const char* installedRegistryPath = "/ezxlocal/download/appwrite/am/InstalledDB";

// Adds the native applications of the registry file at filePath (a real
// path) to the catalogue. A group with a "JavaId" is a MIDlet and left out;
// the icon is "Icon", or "BigIcon" when "Icon" is empty; a group without an
// executable or an icon is left out. An executable already in the catalogue
// gets the new entry. A missing file adds nothing.
void readRegistryFile(const QString& filePath, IconCatalogue& catalogue);
