#include "desktop/launcher.h"

#include "desktop/desktopregistry.h"
#include "desktop/execline.h"
#include "platform/logline.h"
#include "platform/qcopchannel.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUuid>

namespace zk::desktop {

namespace {
void say(const QString& text)
{
    logLine(QStringLiteral("zk-desktop: ") + text);
}
}

Launcher::Launcher(const DesktopRegistry& registry, QObject* parent)
    : QObject(parent)
    , m_registry(registry)
    , m_channel(new QCopChannel("/AM/Launcher", this))
{
    if (!m_channel->ownsName()) {
        say(QStringLiteral("/AM/Launcher is served by another program: its launches are left to it"));
        delete m_channel;
        m_channel = nullptr;
        return;
    }
    connect(m_channel, &QCopChannel::received, this, &Launcher::handleMessage);
}

void Launcher::handleMessage(const QByteArray& message, const QByteArray& data)
{
    if (message != "launchApp4NoLockCheck") {
        say(QStringLiteral("/AM/Launcher: ") + QString::fromLatin1(message) + QStringLiteral(" ignored"));
        return;
    }
    QDataStream in(data);
    QUuid appId;
    in >> appId;
    if (in.status() != QDataStream::Ok || appId.isNull()) {
        say(QStringLiteral("launchApp4NoLockCheck without an application id: nothing started"));
        return;
    }
    const std::optional<DesktopEntry> entry = m_registry.application(appId);
    if (!entry) {
        say(QStringLiteral("no desktop entry has the AppID %1: nothing started").arg(appId.toString(QUuid::WithBraces)));
        return;
    }
    start(*entry);
}

qint64 Launcher::start(const DesktopEntry& entry)
{
    QStringList command = launchCommand(entry);
    if (command.isEmpty()) {
        say(entry.id + QStringLiteral(": no command in Exec \"") + entry.exec + QStringLiteral("\": nothing started"));
        return -1;
    }
    QString program = command.takeFirst();
    const QString found = program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    if (found.isEmpty() || !QFileInfo(found).isExecutable()) {
        say(entry.id + QStringLiteral(": ") + program + QStringLiteral(" is not installed: nothing started"));
        return -1;
    }
    // Debian's terminal is a link to the terminal of the user's choice: run
    // that by its own name, which the task list knows it by.
    program = entry.terminal ? QFileInfo(found).canonicalFilePath() : found;
    QString folder = entry.path;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    qint64 pid = -1;
    if (!QProcess::startDetached(program, command, folder, &pid)) {
        say(entry.id + QStringLiteral(": ") + program + QStringLiteral(" could not be started"));
        return -1;
    }
    say(QStringLiteral("started %1 (%2) as pid %3: %4")
            .arg(entry.id, entry.name)
            .arg(pid)
            .arg(QStringList(QStringList{program} + command).join(QLatin1Char(' '))));
    return pid;
}

}  // namespace zk::desktop
