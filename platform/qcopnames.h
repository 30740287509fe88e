#pragma once

#include <QHash>
#include <QObject>
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

    // When the copy learned the channel's present listener, on the clock of
    // bootTimeNs(); -1 when it has none. Never before the listener
    // registered (signals only arrive after the fact), so a process that
    // started later than this is not the one that registered it.
    qint64 listenerSeenNs(const QByteArray& channel) const;

    // CLOCK_BOOTTIME in nanoseconds: the clock of the processes' start
    // times in /proc.
    static qint64 bootTimeNs();

    // The channels of the copy whose name begins with prefix, with when
    // each listener was seen: one walk over the copy for a whole family of
    // channels, instead of a name built and looked up for each candidate.
    QHash<QByteArray, qint64> channelsStartingWith(const QByteArray& prefix) const;

    // How many channels the copy holds.
    int channelCount() const;

private slots:
    void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    bool listNames();
    void takePendingChanges();

    // Channel bus name -> when its listener was seen (bootTimeNs()).
    QHash<QString, qint64> names;
    bool following = false;
    bool listed = false;
    bool reachable = true;
};
