#pragma once

#include <QList>
#include <QMap>
#include <QObject>

class QCopChannel;

namespace zk::desktop {

// What an application channel does to the windows on screen (xscreen.h).
class WindowActions
{
public:
    virtual ~WindowActions() = default;
    // Brings the window forward the standard way (its workspace, un-minimized,
    // with the keyboard).
    virtual void activate(quint32 window) = 0;
    // Asks the window to close, as its close button does.
    virtual void close(quint32 window) = 0;
    // The managed windows, bottom to top; empty when not known.
    virtual QList<quint32> stacking() = 0;
};

// "EZX/Application/<pid>" for every process with a managed window, as every
// application of the phone has: the task list lists it, "raise()" brings its
// top window forward, "quickQuit()" asks each of its windows to close.
//
// A pid whose channel another program holds (an application of the
// simulated phone, zKestrel itself) is left to it, and so is this
// program's own. A channel goes when the process's last window goes.
class AppChannels : public QObject
{
    Q_OBJECT
public:
    explicit AppChannels(WindowActions& actions, QObject* parent = nullptr);
    ~AppChannels() override;

    // The windows by pid now (windowsByPid()).
    void follow(const QMap<qint64, QList<quint32>>& windows);

    // The pids whose channel this program holds.
    QList<qint64> heldPids() const { return m_held.keys(); }

private:
    void received(qint64 pid, const QByteArray& message);

    struct Held
    {
        QCopChannel* channel = nullptr;
        QList<quint32> windows;
    };
    WindowActions& m_actions;
    QMap<qint64, Held> m_held;
};

}  // namespace zk::desktop
