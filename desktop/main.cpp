// zk-desktop: the phone platform's services on an ordinary desktop, so that
// zKestrel, unchanged, is a task switcher and launcher there:
//
//   - each process with a window that the window manager lists owns
//     "EZX/Application/<pid>" ("raise()", "quickQuit()"): the task list;
//   - the installed desktop entries are the registry below EZX_DEVICE_ROOT:
//     the names and pictures of the rows and of the add dialog;
//   - "/AM/Launcher" starts them: the favourites;
//   - "EZX/System" "ReturnToIdle(int)" shows the desktop: Hide All.
//
// Started by the zKestrel launcher ("zKestrel --desktop-services"), which
// sets the device root, and by the user unit zkestrel-desktop.service.
// Exits with 3 when the session bus goes (the unit starts it again).
#include "desktop/appchannels.h"
#include "desktop/desktopregistry.h"
#include "desktop/launcher.h"
#include "desktop/readiness.h"
#include "desktop/systemchannel.h"
#include "desktop/windowtasks.h"
#include "desktop/xscreen.h"
#include "platform/buswatch.h"
#include "platform/devicepath.h"
#include "platform/logline.h"

#include <QGuiApplication>
#include <QSysInfo>

#include <vector>

using namespace zk::desktop;

int main(int argc, char** argv)
{
    // Pictures are drawn into files without a screen: Qt opens no display
    // here (the X connection of XScreen is this program's own), and the
    // environment the applications inherit stays as it was.
    std::vector<char*> args(argv, argv + argc);
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    args.push_back(platform);
    args.push_back(offscreen);
    args.push_back(nullptr);
    int count = int(args.size()) - 1;
    QGuiApplication app(count, args.data());

    logLine(QStringLiteral("zk-desktop: start, device root \"%1\"").arg(deviceRoot()));
    DesktopRegistry registry(QCoreApplication::applicationDirPath() + QStringLiteral("/img/app.png"));
    registry.start();

    XScreen screen;
    AppChannels channels(screen);
    const QByteArray host = QSysInfo::machineHostName().toLatin1();
    auto follow = [&] { channels.follow(windowsByPid(screen.clients(), host)); };
    QObject::connect(&screen, &XScreen::clientsChanged, &channels, follow);
    if (screen.open())
        follow();
    const Launcher launcher(registry);
    const SystemChannel system(screen);

    BusWatch bus;
    QObject::connect(&bus, &BusWatch::lost, &app, [] {
        logLine(QStringLiteral("zk-desktop: the session bus is gone"));
        QCoreApplication::exit(3);
    });
    notifyReady();
    return app.exec();
}
