#include "desktop/desktopregistry.h"

#include "desktop/applications.h"
#include "desktop/iconfiles.h"
#include "desktop/icontheme.h"
#include "desktop/registryfile.h"
#include "platform/atomicfile.h"
#include "platform/boundedread.h"
#include "platform/devicepath.h"
#include "platform/logline.h"

#include <QDir>
#include <QFileInfo>

namespace zk::desktop {

namespace {
const int kSettleMs = 1000;
// The configuration store's own bound on a file it reads.
const qint64 kMaxRegistryBytes = 8 * 1024 * 1024;

void say(const QString& text)
{
    logLine(QStringLiteral("zk-desktop: ") + text);
}

// The folders to watch below one data folder: its applications folder and
// every folder in it; while it does not exist, the nearest folder above it
// that does, to see it come.
QStringList foldersToWatch(const QString& data)
{
    const QString top = data + QStringLiteral("/applications");
    QStringList folders;
    if (!QFileInfo(top).isDir()) {
        QDir up(top);
        while (!up.exists() && up.cdUp()) {
        }
        if (up.exists())
            folders << up.absolutePath();
        return folders;
    }
    QStringList queue{top};
    while (!queue.isEmpty() && folders.size() < 256) {
        const QString dir = queue.takeFirst();
        folders << dir;
        for (const QString& sub : QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            queue << dir + QLatin1Char('/') + sub;
    }
    return folders;
}
}

DesktopRegistry::DesktopRegistry(const QString& fallbackPicture, QObject* parent)
    : QObject(parent)
    , m_fallback(fallbackPicture)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &DesktopRegistry::refresh);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
}

void DesktopRegistry::start()
{
    refresh();
}

std::optional<DesktopEntry> DesktopRegistry::application(const QUuid& appId) const
{
    const auto it = m_byAppId.constFind(appId);
    if (it == m_byAppId.constEnd())
        return std::nullopt;
    return *it;
}

void DesktopRegistry::refresh()
{
    const QStringList data = dataDirs();
    const QList<EntryFile> files = findEntryFiles(data);
    const QList<DesktopEntry> apps = shownApplications(files, messagesLocale(), currentDesktops(), programInstalled);
    m_byAppId.clear();
    for (const DesktopEntry& app : apps)
        m_byAppId.insert(appIdOf(app.id), app);

    QStringList folders;
    for (const QString& dir : data)
        folders += foldersToWatch(dir);
    // Files too: an entry edited in place changes no folder.
    for (const EntryFile& file : files)
        folders << file.path;
    follow(folders);

    if (publish(apps))
        say(QStringLiteral("%1 applications of %2 desktop entries published in %3")
                .arg(apps.size())
                .arg(files.size())
                .arg(devicePath(QLatin1String(kSystemRegistryPath))));
    emit refreshed(int(apps.size()));
}

bool DesktopRegistry::publish(const QList<DesktopEntry>& apps)
{
    if (deviceRoot().isEmpty()) {
        if (!m_refusedOnce)
            say(QStringLiteral("EZX_DEVICE_ROOT is not set: the registry is not published (the zKestrel launcher "
                               "sets it); launching works"));
        m_refusedOnce = true;
        return false;
    }
    const QString registry = devicePath(QLatin1String(kSystemRegistryPath));
    const QByteArray present = readFileAtMost(registry, kMaxRegistryBytes).value_or(QByteArray());
    if (!isOwnRegistry(present)) {
        if (!m_refusedOnce)
            say(registry + QStringLiteral(" was written by another program and is left as it is: the registry is "
                                          "not published; launching works"));
        m_refusedOnce = true;
        return false;
    }

    const QList<RegistryApp> published = registryApps(apps);
    const IconThemes themes(iconBaseDirs(dataDirs()), {chosenIconTheme()}, {QStringLiteral("/usr/share/pixmaps")});
    QList<IconWanted> icons;
    for (const DesktopEntry& app : apps)
        icons.append({iconPhonePath(app.id).section(QLatin1Char('/'), -1), themes.find(app.icon)});
    const IconCounts counts = publishIcons(devicePath(QLatin1String(kIconFolderPath)), icons, m_fallback);
    if (counts.failed > 0)
        say(QStringLiteral("%1 pictures could not be drawn; those applications show the program's own").arg(counts.failed));

    const QByteArray text = registryText(published);
    QString error;
    if (text != present && !writeFileAtomically(registry, text, &error)) {
        say(QStringLiteral("cannot write ") + registry + QStringLiteral(": ") + error);
        return false;
    }
    say(QStringLiteral("pictures: %1 from the icon themes, %2 drawn, %3 the program's own")
            .arg(counts.linked)
            .arg(counts.drawn)
            .arg(counts.fallback));
    return true;
}

void DesktopRegistry::follow(const QStringList& paths)
{
    const QStringList watched = m_watcher.directories() + m_watcher.files();
    QStringList gone;
    for (const QString& p : watched) {
        if (!paths.contains(p))
            gone << p;
    }
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    QStringList added;
    for (const QString& p : paths) {
        if (!watched.contains(p))
            added << p;
    }
    if (!added.isEmpty())
        m_watcher.addPaths(added);
}

}  // namespace zk::desktop
