#pragma once

#include <QList>
#include <QString>

// The favourites in the configuration file (configFilePath()), group "App":
// twenty numbered slots 0..19, each with the keys "name<slot>", "run<slot>"
// and "icon<slot>". A slot is free exactly when its name is empty; slots
// never move. Every function opens the file afresh, so what one writes is
// what the next reads.

inline constexpr int favouriteSlotCount = 20;

struct Favourite
{
    int slot = 0;
    QString name;
    QString icon;
    QString run;
};

// The used slots, in slot order.
QList<Favourite> readFavourites();

// The "run" value of one slot; empty for a slot out of range.
QString favouriteRun(int slot);

// The lowest slot whose name is empty, or -1 when all twenty are used.
int lowestFreeSlot();

// Writes a favourite into one slot: name, then run, then icon. False (with a
// log line) for a slot out of range or a file that could not be written.
bool writeFavourite(int slot, const QString& name, const QString& run, const QString& icon);

// Writes a favourite into the lowest free slot and returns that slot, or -1
// (nothing written) when every slot is used or the file could not be written.
int addFavourite(const QString& name, const QString& run, const QString& icon);

// Empties the three keys of one slot.
bool deleteFavourite(int slot);

// Replaces the name only, as given: an empty name frees the slot but leaves
// its run and icon in the file.
bool renameFavourite(int slot, const QString& name);

// What selecting a favourite does with its "run" value: nothing when empty,
// the application manager when it holds an application id (it contains "}"),
// the shell otherwise.
enum class LaunchKind {
    Nothing,
    ApplicationId,
    Shell
};
LaunchKind launchKindOf(const QString& run);
