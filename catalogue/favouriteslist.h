#pragma once

#include <QPixmap>
#include <QString>

class ZListBox;

// The favourites tab's list box as the configuration file describes it:
// row 0 hides every application, row 1 is a separator, and from row 2 on one
// row per used slot in slot order, each row carrying its slot.

inline constexpr int firstFavouriteRow = 2;
inline constexpr int favouriteIconSize = 19;

// A favourite's picture: a name ending in ".g" is a resource icon, anything
// else an image file at that phone path (looked up below the device root);
// shrunk to 19×19 when larger. A picture that cannot be loaded gives
// appDir + "/img/run_app.png".
QPixmap favouriteIcon(const QString& icon, const QString& appDir, bool cached = false);

// Appends the Hide-All row (with hideAllText), the separator and a row for
// every favourite to the list, which the caller has emptied.
void fillFavouritesList(ZListBox* list, const QString& appDir, const QString& hideAllText);

// The slot of the favourite shown at a row, or -1 for the two fixed rows and
// for rows that do not exist.
int favouriteSlotAt(const ZListBox* list, int row);

// Starts a favourite's "run" value: an application id through the
// application manager ("launchApp4NoLockCheck" on "/AM/Launcher"), anything
// else as a shell command line that runs on its own (never waited for).
// False when there is nothing to start.
bool launchFavourite(const QString& run);
