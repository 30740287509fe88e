#pragma once

#include "desktop/desktopentry.h"

#include <QObject>
#include <QStringList>

class QCopChannel;

namespace zk::desktop {

class DesktopRegistry;

// The application manager on "/AM/Launcher": "launchApp4NoLockCheck" with a
// QUuid starts the desktop entry with that AppID as the desktop's own
// launchers do (the field codes removed, in a terminal for Terminal=true,
// in its Path, with this program's environment). An unknown id is logged
// and nothing starts. Left to another program that serves the channel
// already (the simulated phone's manager).
class Launcher : public QObject
{
    Q_OBJECT
public:
    explicit Launcher(const DesktopRegistry& registry, QObject* parent = nullptr);

    bool isServing() const { return m_channel != nullptr; }

    void handleMessage(const QByteArray& message, const QByteArray& data);

    // Starts the entry, detached (the program is the user's, not this
    // service's); its pid, or -1 (logged) when it could not start.
    static qint64 start(const DesktopEntry& entry);

private:
    const DesktopRegistry& m_registry;
    QCopChannel* m_channel = nullptr;
};

}  // namespace zk::desktop
