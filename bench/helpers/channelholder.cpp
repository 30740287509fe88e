// Holds the application channel "EZX/Application/<pid>" of every pid given
// as an argument, so that those processes count as tasks with a window.
// Writes "ready <count>" on a line of its own once all are registered, then
// waits until it is killed or its parent ends.
#include "platform/qcopchannel.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

#include <sys/prctl.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    QCoreApplication app(argc, argv);
    std::vector<std::unique_ptr<QCopChannel>> channels;
    int listening = 0;
    for (int i = 1; i < argc; ++i) {
        auto channel = std::make_unique<QCopChannel>(QByteArray("EZX/Application/") + argv[i]);
        if (channel->isListening())
            ++listening;
        channels.push_back(std::move(channel));
    }
    std::printf("ready %d\n", listening);
    std::fflush(stdout);
    return app.exec();
}
