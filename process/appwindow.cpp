#include "platform/qcopchannel.h"
#include "platform/qcopnames.h"
#include "process/procwalk.h"

// Kept apart from the walk so that code which only parses /proc does not
// pull in the bus.

namespace {
QByteArray appChannelOf(int pid)
{
    return "EZX/Application/" + QByteArray::number(pid);
}
}

bool hasAppWindow(int pid)
{
    return QCopChannel::isRegistered(appChannelOf(pid));
}

std::function<bool(int)> appWindowsNow()
{
    QCopNameMirror* names = QCopNameMirror::instance();
    if (!names || !names->catchUp())
        return [](int) { return false; };
    return [names](int pid) { return names->isRegistered(appChannelOf(pid)); };
}
