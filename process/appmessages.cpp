#include "platform/qcopchannel.h"
#include "process/procactions.h"

namespace zk::proc {

// The bus side of the actions, apart from the parts that only touch /proc
// and signals.
bool sendToApp(int pid, const QString& message)
{
    return QCopChannel::send(appChannel(pid), message.toLatin1(), QByteArray());
}

bool quitApp(int pid)
{
    return sendToApp(pid, QStringLiteral("quickQuit()"));
}

}  // namespace zk::proc
