#include "desktop/systemchannel.h"

#include "desktop/xscreen.h"
#include "platform/logline.h"
#include "platform/qcopchannel.h"

#include <QDataStream>

namespace zk::desktop {

SystemChannel::SystemChannel(XScreen& screen, QObject* parent)
    : QObject(parent)
    , m_screen(screen)
    , m_channel(new QCopChannel("EZX/System", this))
{
    if (!m_channel->ownsName()) {
        logLine(QStringLiteral("zk-desktop: EZX/System is served by another program: left to it"));
        delete m_channel;
        m_channel = nullptr;
        return;
    }
    connect(m_channel, &QCopChannel::received, this, &SystemChannel::received);
}

void SystemChannel::received(const QByteArray& message, const QByteArray& data)
{
    if (message != "ReturnToIdle(int)") {
        logLine(QStringLiteral("zk-desktop: EZX/System: ") + QString::fromLatin1(message) + QStringLiteral(" ignored"));
        return;
    }
    QDataStream in(data);
    qint32 reason = 0;
    in >> reason;
    logLine(QStringLiteral("zk-desktop: ReturnToIdle(%1): showing the desktop").arg(reason));
    m_screen.showDesktop();
}

}  // namespace zk::desktop
