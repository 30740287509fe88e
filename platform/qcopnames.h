#pragma once

#include <QObject>
#include <QSet>
#include <QString>

// This process's copy of which channels have a listener somewhere on the
// bus, so that asking about hundreds of channels costs no round trip each.
// It lists the bus's names once, at first use, and then follows the
// daemon's NameOwnerChanged signals.
//
// catchUp() brings the copy up to date with everything the daemon did before
// the call, in one round trip: a channel registered before it is seen after
// it. Between two catch-ups the copy is as old as the last one.
class QCopNameMirror : public QObject
{
    Q_OBJECT
public:
    // The process's mirror, made on first use; null without an application
    // object (it lives as long as that) or without a session bus.
    static QCopNameMirror* instance();

    // A mirror of its own (the process's one is instance()); it lists the
    // names at its first catchUp().
    explicit QCopNameMirror(QObject* parent = nullptr);

    // False, with a log line when the state changes, when the daemon
    // cannot be reached; the copy then answers false for every channel.
    bool catchUp();

    // From the copy, without asking the bus.
    bool isRegistered(const QByteArray& channel) const;

    // How many channels the copy holds.
    int channelCount() const;

private slots:
    void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    bool listNames();
    void takePendingChanges();

    QSet<QString> names;
    bool following = false;
    bool listed = false;
    bool reachable = true;
};
