#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with data, whole or not at all: the data goes
// into path + ".tmp" (one fixed name beside the target), is synced to disk
// and renamed over the target, and the folder is synced. A symbolic link at
// path is followed: its target is replaced. The target's permissions are
// kept.
//
// The temporary file has one fixed name so that a writer killed half-way
// leaves at most that one file, which the next write takes over, instead of
// a new stray copy per crash. Writers of the same file take turns through a
// lock on the temporary file.
//
// False on failure, with the reason in *error; the target is then as it was
// and the temporary file is removed.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error);

// The name of the temporary file writeFileAtomically() uses for path.
QString atomicTemporaryPath(const QString& path);
