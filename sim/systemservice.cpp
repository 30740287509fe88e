#include "sim/systemservice.h"

#include "platform/logline.h"
#include "platform/qcopchannel.h"
#include "sim/simbus.h"
#include "sim/simproc.h"

SystemService::SystemService(QObject* parent)
    : QObject(parent)
    , m_channel(new QCopChannel("EZX/System", this))
{
    connect(m_channel, &QCopChannel::received, this, &SystemService::handleMessage);
}

SystemService::~SystemService() = default;

bool SystemService::isListening() const
{
    return m_channel->isListening();
}

void SystemService::handleMessage(const QByteArray& message, const QByteArray& data)
{
    if (message != "ReturnToIdle(int)") {
        logLine(QStringLiteral("System: ignored ") + QString::fromLatin1(message));
        return;
    }
    bool ok = false;
    const qint32 reason = readIntData(data, &ok);
    if (!ok) {
        logLine(QStringLiteral("System: ReturnToIdle(int) without its value"));
        return;
    }
    returnToIdle(reason);
}

void SystemService::returnToIdle(qint32 reason)
{
    const QByteArray payload = intData(reason);
    const QList<QByteArray> apps = registeredChannels("EZX/Application/");
    for (const QByteArray& channel : apps)
        QCopChannel::send(channel, "ReturnToIdle(int)", payload);
    logLine(QStringLiteral("System: ReturnToIdle(%1) to %2 applications").arg(reason).arg(apps.size()));

    // The phone is the application (it has a channel) with that command line;
    // a shell that merely mentions the path is not.
    for (const qint64 pid : pidsWithCommandLine("SYSqtapp/phone/phone")) {
        const QByteArray channel = "EZX/Application/" + QByteArray::number(pid);
        if (!QCopChannel::isRegistered(channel))
            continue;
        QCopChannel::send(channel, "raise()");
        logLine(QStringLiteral("System: raise() to the phone, pid %1").arg(pid));
        return;
    }
    logLine(QStringLiteral("System: no phone task to raise"));
}
