#include "core/busloss.h"
#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/windowsystem.h"
#include "ezx/zapplication.h"
#include "platform/qcopchannel.h"
#include "ui/zkestrel.h"

#include <QCoreApplication>
#include <QDebug>
#include <QProcessEnvironment>

#include <cstdio>
#include <cstring>

namespace {
// The channel a resident instance answers on.
const QByteArray kCommandChannel = QByteArrayLiteral("PE/zKestrel/");
// The phone's application type of a program with windows (GuiClient).
constexpr int kGuiClient = 1;
// Exit code of a start that needs a window and has no window system to
// show one on.
constexpr int kExitNoDisplay = 4;

// Without a window system only the hand-over can be done, which needs the
// bus alone: to a resident instance, whatever the display; anything else
// needs a window and says in one line why there is none.
int startWithoutDisplay(int argc, char** argv, const QString& why)
{
    QCoreApplication bus(argc, argv);
    if (QCopChannel::isRegistered(kCommandChannel)) {
        QCopChannel::send(kCommandChannel, "show()");
        return 0;
    }
    std::fprintf(stderr, "zKestrel: no window can be shown (%s)\n", why.toLocal8Bit().constData());
    std::fflush(stderr);
    return kExitNoDisplay;
}
}

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString noWindow = zwindowsystem::whyNoWindow(args, QProcessEnvironment::systemEnvironment());
    if (!noWindow.isEmpty())
        return startWithoutDisplay(argc, argv, noWindow);

    gApp = new ZApplication(argc, argv, kGuiClient);
    // The desktop entry's name: a Wayland compositor finds the program's
    // entry, and so its icon and name, by it.
    QGuiApplication::setDesktopFileName(QStringLiteral("zkestrel"));
    isDaemon = false;
    gMainWindow = nullptr;

    // Only the exact first argument selects the resident mode.
    if (argc > 1 && std::strcmp(argv[1], "-daemon") == 0)
        isDaemon = true;

    int code = 0;
    if (QCopChannel::isRegistered(kCommandChannel)) {
        // A resident instance exists: it shows its window, this one ends.
        QCopChannel::send(kCommandChannel, "show()");
    } else {
        gSettings = new ZSettings();
        gSettings->buildCatalogue();

        if (isDaemon) {
            qDebug("isDaemon");
            // A resident instance outlives its window: closing that window
            // only hides it.
            gApp->setQuitOnLastWindowClosed(false);
            gSettings->openCommandChannel();
            if (!QCopChannel::isRegistered(kCommandChannel)) {
                // A resident instance nobody can reach would only idle
                // forever; say why and stop.
                std::fprintf(stderr,
                             "zKestrel: cannot register the channel PE/zKestrel/ on the D-Bus "
                             "session bus; -daemon needs a session bus\n");
                std::fflush(stderr);
                code = kExitNoBus;
            } else if (!gSettings->commandChannel || !gSettings->commandChannel->ownsName()) {
                // Another resident opened the channel first (both started at
                // the same moment): it answers, this one hands over as a
                // second start does and ends.
                QCopChannel::send(kCommandChannel, "show()");
            } else {
                code = gApp->exec();
            }
            if (gMainWindow) {
                delete gMainWindow;
                gMainWindow = nullptr;
            }
        } else {
            gMainWindow = new ZKestrel();
            code = gApp->exec();
        }

        // The settings object deletes a remaining main window first.
        delete gSettings;
        gSettings = nullptr;
    }

    delete gApp;
    gApp = nullptr;
    return code;
}
