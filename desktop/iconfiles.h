#pragma once

#include "desktop/icontheme.h"

#include <QList>
#include <QString>

namespace zk::desktop {

// The pictures of the published applications, one PNG file each in a
// folder of this program's own: a link to a theme's PNG, a PNG drawn from a
// scalable or XPM picture, or a link to the fallback picture.

// The side of a PNG drawn from a scalable picture.
inline constexpr int kDrawnIconSide = 48;

struct IconWanted
{
    QString fileName;  // in the folder, e.g. "debian-xterm.png"
    IconFile source;   // kind None: the fallback
};

struct IconCounts
{
    int linked = 0, drawn = 0, fallback = 0, failed = 0;
};

// Makes the folder hold exactly the wanted files (other .png files in it
// go). A file already right is left as it is: a link to the same file, or
// a drawn picture as new as its source. A picture that cannot be drawn
// gets the fallback.
IconCounts publishIcons(const QString& folder, const QList<IconWanted>& wanted, const QString& fallback);

// Draws a scalable or XPM picture into a PNG file (kDrawnIconSide square,
// the picture's aspect kept; an XPM at its own size), written whole or not
// at all. False when the source is unreadable or too large (4 MB).
bool drawAsPng(const IconFile& source, const QString& target);

}  // namespace zk::desktop
