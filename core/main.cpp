#include "core/busloss.h"
#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/zapplication.h"
#include "platform/qcopchannel.h"
#include "ui/zkestrel.h"

#include <QDebug>

#include <cstdio>
#include <cstring>

namespace {
// The channel a resident instance answers on.
const QByteArray kCommandChannel = QByteArrayLiteral("PE/zKestrel/");
// The phone's application type of a program with windows (GuiClient).
constexpr int kGuiClient = 1;
}

int main(int argc, char** argv)
{
    gApp = new ZApplication(argc, argv, kGuiClient);
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
