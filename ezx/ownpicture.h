#pragma once

#include <QPixmap>
#include <QString>

// A picture the program ships (its PNG files), read by Qt's own PNG reader;
// a missing or unreadable file gives a null pixmap.
//
// Left to itself, QImageReader asks every image format plugin whether it can
// read a file before it uses the built-in reader, and that loads each plugin
// and the libraries behind it: some milliseconds of the start-up, spent
// before the first frame on formats the program's pictures never are.
// Pictures of other programs (registry icons) keep the usual detection.
QPixmap ownPicture(const QString& path);
