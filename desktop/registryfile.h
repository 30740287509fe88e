#pragma once

#include "desktop/desktopentry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

namespace zk::desktop {

// The desktop's applications in the phone's registry format, which the task
// list's catalogue and the add dialog read: one group per application with
// "Name", "AppID", "Icon" and, for the entry that names a running program,
// "Exec".

// Phone paths, below the device root.
inline constexpr const char* kSystemRegistryPath = "/usr/data_resource/preloadapps/SysRegistry";
inline constexpr const char* kIconFolderPath = "/usr/data_resource/preloadapps/desktop-icons";

// The first line of a registry this program wrote: a file without it is
// someone else's and is never replaced.
inline constexpr const char* kRegistryMark = "# zk-desktop: the desktop's applications, rewritten when they change";

// The AppID of a desktop file id: a name-based UUID, so the same entry has
// the same id on every run and every machine (favourites keep it).
QUuid appIdOf(const QString& desktopFileId);

// The "Exec" text that names a running program. The catalogue gives a task
// the first entry, in text order, whose Exec contains the task's name (for
// a name of up to two characters: equals it). So the text is the program's
// file name after its length in two digits ("05 xterm"): of the programs
// whose names contain a task's name, the one named exactly so comes first
// ("xterm" before "uxterm"). A name of up to two characters is the text.
QString execKey(const QString& programFileName);

// The icon file of an entry, as a phone path in kIconFolderPath.
QString iconPhonePath(const QString& desktopFileId);

struct RegistryApp
{
    QString group;  // the desktop file id
    QString name;
    QString appId;  // in braces
    QString icon;   // phone path
    QString exec;   // empty for all but one entry per program

    bool operator==(const RegistryApp&) const = default;
};

// One group per application, in the given order, without an empty name.
// Of several entries that start the same program, the one whose Exec has
// the fewest arguments (then the first) names it.
QList<RegistryApp> registryApps(const QList<DesktopEntry>& apps);

// The registry file's text: the mark, then the groups. A group whose name
// the store could not read back is left out.
QByteArray registryText(const QList<RegistryApp>& apps);

// Whether a registry file's present text may be replaced: empty, or
// written by this program.
bool isOwnRegistry(const QByteArray& text);

}  // namespace zk::desktop
