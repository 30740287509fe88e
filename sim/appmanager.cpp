#include "sim/appmanager.h"

#include "platform/logline.h"
#include "platform/qcopchannel.h"
#include "sim/simproc.h"
#include "sim/simregistry.h"

#include <QDataStream>

AppManager::AppManager(const QString& demoApp, QObject* parent)
    : QObject(parent)
    , m_demoApp(demoApp)
    , m_channel(new QCopChannel("/AM/Launcher", this))
{
    connect(m_channel, &QCopChannel::received, this, &AppManager::handleMessage);
}

AppManager::~AppManager()
{
    // The applications belong to the phone, not to this service: leave them
    // running when it ends.
    for (const QPointer<QProcess>& p : std::as_const(m_started)) {
        if (p) {
            p->disconnect();
            p->setParent(nullptr);
        }
    }
}

bool AppManager::isListening() const
{
    return m_channel->isListening();
}

QStringList AppManager::launchCommand(const QString& demoApp, const RegistryApp& app)
{
    QStringList args = execArguments(app.exec);
    if (args.isEmpty())
        return {};
    const QString argv0 = args.takeFirst();
    // bash -c 'exec -a "$0" "$@"' NAME PROGRAM ARGS...: PROGRAM runs with
    // NAME as argv[0], so /proc shows the command line the phone would.
    QStringList command{QStringLiteral("-c"), QStringLiteral("exec -a \"$0\" \"$@\""), argv0,
                        demoApp};
    command << args << QStringLiteral("--app-title") << app.name;
    const QString icon = iconForDisplay(app);
    if (!icon.isEmpty())
        command << QStringLiteral("--app-icon") << icon;
    return command;
}

void AppManager::handleMessage(const QByteArray& message, const QByteArray& data)
{
    if (message != "launchApp4NoLockCheck") {
        logLine(QStringLiteral("AppManager: ignored ") + QString::fromLatin1(message));
        return;
    }
    QDataStream in(data);
    QUuid appId;
    in >> appId;
    if (in.status() != QDataStream::Ok || appId.isNull()) {
        logLine(QStringLiteral("AppManager: launchApp4NoLockCheck without an application id"));
        return;
    }
    launch(appId);
}

void AppManager::launch(const QUuid& appId)
{
    const QString idText = appId.toString(QUuid::WithBraces);
    QPointer<QProcess> running = m_started.value(appId);
    if (running && running->state() != QProcess::NotRunning && processRuns(running->processId())) {
        const qint64 pid = running->processId();
        QCopChannel::send("EZX/Application/" + QByteArray::number(pid), "raise()");
        logLine(QStringLiteral("AppManager: %1 runs as pid %2: raise()").arg(idText).arg(pid));
        return;
    }
    const std::optional<RegistryApp> app = findRegistryApp(appId);
    if (!app) {
        logLine(QStringLiteral("AppManager: no application %1 in the registries").arg(idText));
        return;
    }
    const QStringList command = launchCommand(m_demoApp, *app);
    if (command.isEmpty()) {
        logLine(QStringLiteral("AppManager: %1 (%2) has no Exec").arg(idText, app->name));
        return;
    }
    auto* process = new QProcess(this);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start(QStringLiteral("/bin/bash"), command);
    if (!process->waitForStarted()) {
        logLine(QStringLiteral("AppManager: could not start %1: %2").arg(app->exec, process->errorString()));
        process->deleteLater();
        return;
    }
    m_started.insert(appId, process);
    logLine(QStringLiteral("AppManager: started %1 \"%2\" as %3 (pid %4)")
                .arg(idText, app->name, app->exec)
                .arg(process->processId()));
}
