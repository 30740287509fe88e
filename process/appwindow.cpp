#include "platform/qcopchannel.h"
#include "process/procwalk.h"

// Kept apart from the walk so that code which only parses /proc does not
// pull in the bus.
bool hasAppWindow(int pid)
{
    return QCopChannel::isRegistered("EZX/Application/" + QByteArray::number(pid));
}
