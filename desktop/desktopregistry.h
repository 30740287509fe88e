#pragma once

#include "desktop/desktopentry.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <QUuid>

#include <optional>

namespace zk::desktop {

// The desktop's applications as the phone's registry: reads the shown
// desktop entries, writes them with their pictures below the device root
// (registryfile.h, iconfiles.h) and does so again whenever an entry is
// installed, changed or removed (inotify on the applications folders, a
// second's settling time for a package manager's run; no polling).
//
// Nothing is written without a device root (the real phone paths are not
// this program's), nor over a registry file that another program wrote;
// either is logged once. The applications are known all the same, for the
// launcher.
class DesktopRegistry : public QObject
{
    Q_OBJECT
public:
    // fallbackPicture: the PNG an application without a picture of its own
    // shows.
    explicit DesktopRegistry(const QString& fallbackPicture, QObject* parent = nullptr);

    // Reads and publishes the applications now, then follows their folders.
    void start();

    // The shown application with that AppID.
    std::optional<DesktopEntry> application(const QUuid& appId) const;
    int count() const { return int(m_byAppId.size()); }

signals:
    // After every reading, with the number of applications.
    void refreshed(int count);

private:
    void refresh();
    bool publish(const QList<DesktopEntry>& apps);
    void follow(const QStringList& folders);

    QString m_fallback;
    QHash<QUuid, DesktopEntry> m_byAppId;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    bool m_refusedOnce = false;
};

}  // namespace zk::desktop
