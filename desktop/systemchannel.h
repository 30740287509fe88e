#pragma once

#include <QObject>

class QCopChannel;

namespace zk::desktop {

class XScreen;

// The phone's system service on "EZX/System": "ReturnToIdle(int)" goes to
// the idle screen, which on a desktop is the desktop itself
// (_NET_SHOWING_DESKTOP). Left to another program that serves the channel
// already (the simulated phone's).
class SystemChannel : public QObject
{
    Q_OBJECT
public:
    explicit SystemChannel(XScreen& screen, QObject* parent = nullptr);

    bool isServing() const { return m_channel != nullptr; }

private:
    void received(const QByteArray& message, const QByteArray& data);

    XScreen& m_screen;
    QCopChannel* m_channel = nullptr;
};

}  // namespace zk::desktop
