#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QStringList>
#include <QUuid>

class QCopChannel;
struct RegistryApp;

// The phone's application manager on "/AM/Launcher": "launchApp4NoLockCheck"
// with a QUuid starts the registry application with that AppID as a demo
// application whose command line is the registry's "Exec" and whose title is
// its "Name"; an application it started that still runs is raised instead.
class AppManager : public QObject
{
    Q_OBJECT
public:
    // demoApp: the program that plays every application.
    explicit AppManager(const QString& demoApp, QObject* parent = nullptr);
    ~AppManager() override;

    bool isListening() const;

    // The command that starts app: a shell that runs demoApp under the name
    // of the registry's executable (exec -a), with its arguments and title.
    static QStringList launchCommand(const QString& demoApp, const RegistryApp& app);

    // Handles one message of "/AM/Launcher".
    void handleMessage(const QByteArray& message, const QByteArray& data);

private:
    void launch(const QUuid& appId);

    QString m_demoApp;
    QCopChannel* m_channel = nullptr;
    QHash<QUuid, QPointer<QProcess>> m_started;
};
