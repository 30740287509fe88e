#include "ezx/windowsystem.h"

#include <QDir>
#include <QLibraryInfo>

#include <xcb/xcb.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {
QString valueAfter(const QStringList& args, const QString& option)
{
    const qsizetype at = args.indexOf(option);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
}

QString xcbReason(const QStringList& args, const QProcessEnvironment& env)
{
    QString display = valueAfter(args, QStringLiteral("-display"));
    if (display.isEmpty())
        display = env.value(QStringLiteral("DISPLAY"));
    if (display.isEmpty())
        return QStringLiteral("DISPLAY is not set");
    xcb_connection_t* c = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    const bool open = !xcb_connection_has_error(c);
    xcb_disconnect(c);
    return open ? QString() : QStringLiteral("the X display %1 cannot be opened").arg(display);
}

// Where Qt looks for its platform plugins.
bool hasWaylandPlugin(const QProcessEnvironment& env)
{
    QStringList folders{env.value(QStringLiteral("QT_QPA_PLATFORM_PLUGIN_PATH"))};
    for (const QString& path : env.value(QStringLiteral("QT_PLUGIN_PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts))
        folders << path + QStringLiteral("/platforms");
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    for (const QString& folder : std::as_const(folders)) {
        if (!folder.isEmpty() && !QDir(folder).entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

QString waylandReason(const QProcessEnvironment& env)
{
    if (!hasWaylandPlugin(env))
        return QStringLiteral("Qt's Wayland platform is not installed (Debian package qt6-wayland)");
    // A socket handed over by the compositor is taken as it is.
    if (env.contains(QStringLiteral("WAYLAND_SOCKET")))
        return {};
    QString name = env.value(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-0"));
    if (!name.startsWith(QLatin1Char('/'))) {
        const QString runtime = env.value(QStringLiteral("XDG_RUNTIME_DIR"));
        if (runtime.isEmpty())
            return QStringLiteral("XDG_RUNTIME_DIR is not set");
        name = runtime + QLatin1Char('/') + name;
    }
    const QByteArray path = name.toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return QStringLiteral("the Wayland socket %1 has too long a name").arg(name);
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool open = fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return open ? QString() : QStringLiteral("the Wayland display %1 cannot be reached").arg(name);
}
}

namespace zwindowsystem {

QStringList platformsToTry(const QStringList& args, const QProcessEnvironment& env)
{
    QString names = valueAfter(args, QStringLiteral("-platform"));
    if (names.isEmpty())
        names = env.value(QStringLiteral("QT_QPA_PLATFORM"));
    QStringList platforms;
    for (const QString& entry : names.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        platforms << entry.section(QLatin1Char(':'), 0, 0);
    if (!platforms.isEmpty())
        return platforms;
    if (env.contains(QStringLiteral("WAYLAND_DISPLAY"))
        || env.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland"))
        platforms << QStringLiteral("wayland");
    return platforms << QStringLiteral("xcb");
}

QString whyNoWindow(const QStringList& args, const QProcessEnvironment& env)
{
    QStringList reasons;
    for (const QString& platform : platformsToTry(args, env)) {
        QString reason;
        if (platform == QLatin1String("xcb"))
            reason = xcbReason(args, env);
        else if (platform.startsWith(QLatin1String("wayland")))
            reason = waylandReason(env);
        if (reason.isEmpty())
            return {};
        reasons << platform + QStringLiteral(": ") + reason;
    }
    return reasons.join(QStringLiteral("; "));
}

}  // namespace zwindowsystem
