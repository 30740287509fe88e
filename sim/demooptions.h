#pragma once

#include <QString>
#include <QStringList>

// The command line of a demo application. It is started under the name of
// the program it plays (argv[0] = "/usr/SYSqtapp/messaging/messaging", or a
// loader or the Java machine with their own arguments), followed by options
// of its own anywhere in the list:
//   --app-title TEXT  the name to show (default: argv[0]'s last component)
//   --app-icon ICON   a picture file, or a resource icon name ending in ".g"
//   --idle            show the idle screen (default for the phone task)
// Every other argument belongs to the program played and is ignored.
struct DemoOptions
{
    QString title;
    QString icon;
    bool idleScreen = false;
};

DemoOptions parseDemoOptions(const QStringList& arguments);
