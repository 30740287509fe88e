#pragma once

namespace zk::desktop {

// Tells the service manager that started this program (systemd, through
// $NOTIFY_SOCKET) that it is ready: the units that wait for it start now.
// The variable is then removed, so that the programs this one starts do
// not speak for it. Nothing happens without it.
void notifyReady();

}  // namespace zk::desktop
