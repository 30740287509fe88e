#include "desktop/readiness.h"

#include "platform/logline.h"

#include <QByteArray>
#include <QString>

#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace zk::desktop {

void notifyReady()
{
    const QByteArray path = qgetenv("NOTIFY_SOCKET");
    qunsetenv("NOTIFY_SOCKET");
    sockaddr_un address{};
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address.sun_path))
        return;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    // "@" stands for the abstract namespace's leading NUL.
    if (address.sun_path[0] == '@')
        address.sun_path[0] = '\0';
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    const char ready[] = "READY=1";
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(path.size()));
    if (sendto(fd, ready, sizeof(ready) - 1, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&address), length) < 0)
        logLine(QStringLiteral("zk-desktop: could not tell the service manager it is ready"));
    close(fd);
}

}  // namespace zk::desktop
