#pragma once

#include "desktop/desktopentry.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace zk::desktop {

// The installed applications: the desktop entry files of the XDG data
// folders.

// The data folders in lookup order: $XDG_DATA_HOME (else ~/.local/share),
// then each of $XDG_DATA_DIRS (else /usr/local/share and /usr/share).
// Relative paths are not valid there and are left out.
QStringList dataDirs();

// The desktop file id of a file below an applications folder: its path
// below that folder with "/" turned into "-" ("kde4/konsole.desktop" is
// "kde4-konsole.desktop").
QString desktopFileId(const QString& applicationsDir, const QString& filePath);

// Every desktop entry file below the applications/ folders of dataDirs, one
// per desktop file id: the first folder's file wins, so a user's own file
// (even a Hidden one) stands for the system's. Sorted by id; folders are
// walked at most 8 deep.
struct EntryFile
{
    QString id;
    QString path;
};
QList<EntryFile> findEntryFiles(const QStringList& dataDirs);

// The applications a launcher shows: each file read (at most
// kMaxEntryBytes) and kept when isShownOn() the desktops and its TryExec, if
// any, names a program that programFound() finds. Sorted by id.
QList<DesktopEntry> shownApplications(const QList<EntryFile>& files, const QString& locale,
                                      const QStringList& desktops,
                                      const std::function<bool(const QString&)>& programFound);

// Whether a program name (looked up in PATH) or path is an executable file.
bool programInstalled(const QString& program);

}  // namespace zk::desktop
