#pragma once

#include <QByteArray>
#include <QObject>

// The phone's message bus, carried on the user's D-Bus session bus.
//
// A channel C is owned (or queued for) as the bus name "org.qcop.c" + the
// lowercase hex of C's bytes, so any number of objects in any number of
// processes can listen on one channel; the name is released when the last
// object of this process on that channel goes. A message is the D-Bus signal
// /qcop org.qcop.Channel.message(s channel, s message, ay data), broadcast to
// every listener of C, and delivered here as received() from the event loop,
// in the order sent.
//
// Without a session bus nothing registers, isRegistered() is false and sends
// are dropped, each with one log line. A channel that cannot be a bus name
// (empty, holding a NUL byte, longer than 122 bytes) is never registered.
class QCopChannel : public QObject
{
    Q_OBJECT
public:
    QCopChannel(const QByteArray& channel, QObject* parent = nullptr, const char* name = nullptr);
    ~QCopChannel() override;

    QByteArray channel() const;

    // True when this object holds (or queues for) the channel's bus name and
    // receives its messages; false without a bus or for an unusable channel.
    bool isListening() const;

    // True when this process owns the channel's bus name now, and is not
    // only queued for it behind another process (one question to the bus).
    bool ownsName() const;

    // True while some process listens on the channel.
    static bool isRegistered(const QByteArray& channel);

    // Hands the message to the bus daemon before returning, so a process
    // that sends and exits at once loses nothing. False when it could not.
    static bool send(const QByteArray& channel, const QByteArray& message);
    static bool send(const QByteArray& channel, const QByteArray& message, const QByteArray& data);

    // The bus name that stands for a channel on D-Bus.
    static QString busName(const QByteArray& channel);

signals:
    void received(const QByteArray& message, const QByteArray& data);

private:
    class Private;
    Private* d;
};
