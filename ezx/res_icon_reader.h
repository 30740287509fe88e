#pragma once

#include <QPixmap>
#include <QString>

// The phone's named resource icons. Registries name an icon of the framework
// by a name ending in ".g" ("messaging_std.g"); getIcon() gives that icon, or
// a null pixmap for an unknown name or a name that is not a resource name
// (a file path, an empty text). cached keeps the picture for later calls.
class RES_ICON_Reader
{
public:
    QPixmap getIcon(const QString& name, bool cached = false);

    // The embedded file that holds the icon of a resource name
    // (":/ezx/icons/messaging_std.png"); empty when the name cannot be one.
    static QString resourceFile(const QString& name);
};
