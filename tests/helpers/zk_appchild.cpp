// An application with a window, as far as the task list can tell: it listens
// on its own "EZX/Application/<pid>" channel. With ZK_APPCHILD_QUIT=exit it
// ends at once on "quickQuit()"; otherwise it ignores every message. Its
// arguments are the test's choice (they make its command line) and are not
// read. It ends with its parent.
#include "platform/qcopchannel.h"

#include <QByteArray>
#include <QCoreApplication>

#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    QCoreApplication app(argc, argv);
    const bool exitOnQuit = qgetenv("ZK_APPCHILD_QUIT") == "exit";
    QCopChannel channel("EZX/Application/" + QByteArray::number(static_cast<int>(getpid())));
    QObject::connect(&channel, &QCopChannel::received, &app,
                     [exitOnQuit](const QByteArray& message, const QByteArray&) {
                         if (exitOnQuit && message == "quickQuit()")
                             _exit(0);
                     });
    return app.exec();
}
