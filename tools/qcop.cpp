// qcop: a command-line client of the phone's message bus. Sends a message,
// tells whether a channel is registered, or prints the messages arriving on
// channels.

#include "platform/qcopchannel.h"
#include "tools/qcopargs.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

const int kExitFailed = 1;
const int kExitUsage = 2;

const char kUsage[] =
    "Usage: qcop CHANNEL MESSAGE [ARG...]\n"
    "         Send MESSAGE on CHANNEL. The ARGs are encoded from MESSAGE's parameter\n"
    "         list, e.g. qcop /hardkey/bc 'keyMsg(int,int)' 4159 1\n"
    "         (int, uint, long: 32-bit; QString; QCString, QByteArray; bool: true,\n"
    "         false, 1, 0; QUuid: {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}). A message\n"
    "         without a parameter list takes no ARG or one {UUID}.\n"
    "       qcop --registered CHANNEL\n"
    "         Exit 0 when some process listens on CHANNEL, 1 when not.\n"
    "       qcop --listen CHANNEL...\n"
    "         Print '<channel> <message> <data in hex, or ->' for every message\n"
    "         arriving on the CHANNELs, until interrupted.\n"
    "       qcop --help\n"
    "         Show this text.\n"
    "Exit status: 0 done, 1 bus failure or not registered, 2 wrong usage or arguments.\n";

int usageError(const char* why)
{
    std::fprintf(stderr, "qcop: %s\n%s", why, kUsage);
    return kExitUsage;
}

int refuse(const QString& why)
{
    std::fprintf(stderr, "qcop: %s\n", why.toLocal8Bit().constData());
    return kExitUsage;
}

int sendMessage(const QByteArray& channel, const QByteArray& message, const QList<QByteArray>& args)
{
    QByteArray data;
    QString error;
    if (!encodeQcopArgs(message, args, &data, &error))
        return refuse(error);
    if (!QCopChannel::send(channel, message, data)) {
        std::fprintf(stderr, "qcop: message not sent\n");
        return kExitFailed;
    }
    return 0;
}

// A signal handler may only write to a pipe; the event loop reads it and
// leaves, so the channels are released as the objects go.
int stopPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(stopPipe[1], &byte, 1);
}

bool installStopHandlers()
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

// Control bytes in a name become '?': one message, one line.
QByteArray oneLine(QByteArray name)
{
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    return name;
}

void printMessage(const QByteArray& channel, const QByteArray& message, const QByteArray& data)
{
    const QByteArray line = oneLine(channel) + ' ' + oneLine(message) + ' '
                            + (data.isEmpty() ? QByteArray("-") : data.toHex()) + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}

int listen(QCoreApplication& app, const QList<QByteArray>& channels)
{
    if (!installStopHandlers()) {
        std::perror("qcop: signal handlers");
        return kExitFailed;
    }
    QSocketNotifier stop(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    QList<QCopChannel*> listeners;
    int status = 0;
    for (const QByteArray& channel : channels) {
        auto* listener = new QCopChannel(channel, &app);
        listeners.append(listener);
        if (!listener->isListening()) {
            std::fprintf(stderr, "qcop: cannot listen on %s\n", channel.constData());
            status = kExitFailed;
            break;
        }
        QObject::connect(listener, &QCopChannel::received, listener,
                         [channel](const QByteArray& message, const QByteArray& data) {
                             printMessage(channel, message, data);
                         });
    }
    if (status == 0)
        status = app.exec();
    qDeleteAll(listeners);
    return status;
}

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The raw bytes of the command line: channels and messages are Latin-1
    // byte strings, not text in the locale's encoding.
    QList<QByteArray> args;
    for (int i = 1; i < argc; ++i)
        args.append(QByteArray(argv[i]));

    if (args.isEmpty())
        return usageError("no channel given");
    const QByteArray first = args.constFirst();
    if (first == "--help" || first == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (first == "--registered") {
        if (args.size() != 2)
            return usageError("--registered takes one channel");
        return QCopChannel::isRegistered(args.at(1)) ? 0 : kExitFailed;
    }
    if (first == "--listen") {
        if (args.size() < 2)
            return usageError("--listen takes at least one channel");
        return listen(app, args.mid(1));
    }
    if (first.startsWith("--"))
        return usageError("unknown option");
    if (args.size() < 2)
        return usageError("no message given");
    if (args.at(0).isEmpty() || args.at(1).isEmpty())
        return usageError("empty channel or message");
    return sendMessage(args.at(0), args.at(1), args.mid(2));
}
