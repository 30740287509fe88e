#include "desktop/appchannels.h"

#include "desktop/windowtasks.h"
#include "platform/logline.h"
#include "platform/qcopchannel.h"

#include <QCoreApplication>

namespace zk::desktop {

namespace {
QByteArray channelOf(qint64 pid)
{
    return QByteArrayLiteral("EZX/Application/") + QByteArray::number(pid);
}
}

AppChannels::AppChannels(WindowActions& actions, QObject* parent)
    : QObject(parent)
    , m_actions(actions)
{
}

AppChannels::~AppChannels() = default;

void AppChannels::follow(const QMap<qint64, QList<quint32>>& windows)
{
    for (auto it = m_held.begin(); it != m_held.end();) {
        if (windows.contains(it.key())) {
            it->windows = windows.value(it.key());
            ++it;
        } else {
            delete it->channel;
            it = m_held.erase(it);
        }
    }
    const qint64 self = QCoreApplication::applicationPid();
    for (auto it = windows.constBegin(); it != windows.constEnd(); ++it) {
        const qint64 pid = it.key();
        if (pid == self || m_held.contains(pid))
            continue;
        const QByteArray name = channelOf(pid);
        // A program that listens on its own channel answers for itself.
        if (QCopChannel::isRegistered(name))
            continue;
        auto* channel = new QCopChannel(name, this);
        // Another program may have come first between the two questions.
        if (!channel->ownsName()) {
            delete channel;
            continue;
        }
        connect(channel, &QCopChannel::received, this,
                [this, pid](const QByteArray& message, const QByteArray&) { received(pid, message); });
        m_held.insert(pid, Held{channel, it.value()});
    }
}

void AppChannels::received(qint64 pid, const QByteArray& message)
{
    const Held held = m_held.value(pid);
    if (held.windows.isEmpty())
        return;
    if (message == "raise()") {
        const quint32 window = windowToRaise(held.windows, m_actions.stacking());
        logLine(QStringLiteral("zk-desktop: raise() of pid %1: window 0x%2").arg(pid).arg(window, 0, 16));
        m_actions.activate(window);
    } else if (message == "quickQuit()") {
        logLine(QStringLiteral("zk-desktop: quickQuit() of pid %1: %2 window(s) asked to close")
                    .arg(pid)
                    .arg(held.windows.size()));
        for (const quint32 window : held.windows)
            m_actions.close(window);
    } else {
        logLine(QStringLiteral("zk-desktop: %1 on %2 ignored")
                    .arg(QString::fromLatin1(message), QString::fromLatin1(channelOf(pid))));
    }
}

}  // namespace zk::desktop
