// The process's copy of the bus's channel names, against the test's private
// session bus, with other processes (the qcop tool) registering channels.

#include "platform/qcopchannel.h"
#include "platform/qcopnames.h"
#include "tests/common/ztest.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <memory>

namespace {

const QString kQcop = QStringLiteral(ZK_BIN_DIR "/qcop");

// A second connection to the bus: asking the daemon through it does not
// drain the signals queued for the test's own connection, so the mirror's
// catchUp() alone must bring them in.
class SideConnection
{
public:
    SideConnection()
        : bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("zk-side")))
    {
    }
    ~SideConnection() { QDBusConnection::disconnectFromBus(QStringLiteral("zk-side")); }

    bool owned(const QByteArray& channel) const
    {
        return bus.interface()->isServiceRegistered(QCopChannel::busName(channel)).value();
    }

    QStringList queuedOwners(const QByteArray& channel) const
    {
        const QDBusMessage reply = bus.call(
            QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                           QStringLiteral("/org/freedesktop/DBus"),
                                           QStringLiteral("org.freedesktop.DBus"),
                                           QStringLiteral("ListQueuedOwners"))
            << QCopChannel::busName(channel));
        return reply.arguments().value(0).toStringList();
    }

    bool waitQueueLength(const QByteArray& channel, int length) const
    {
        const QDeadlineTimer deadline(10000);
        while (queuedOwners(channel).size() != length) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(2);
        }
        return true;
    }

    int channelNameCount() const
    {
        const QStringList names = bus.interface()->registeredServiceNames().value();
        return static_cast<int>(names.filter(QRegularExpression(QStringLiteral("^org\\.qcop\\.c"))).size());
    }

    // Waits until the daemon says the channel is (or is no longer) owned.
    bool waitOwned(const QByteArray& channel, bool wanted) const
    {
        const QDeadlineTimer deadline(10000);
        while (owned(channel) != wanted) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(2);
        }
        return true;
    }

    QDBusConnection bus;
};

std::unique_ptr<QProcess> startListener(const QByteArray& channel)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(kQcop, {QStringLiteral("--listen"), QString::fromLatin1(channel)});
    return process;
}

void stop(QProcess& process)
{
    process.kill();
    process.waitForFinished(5000);
}

}

class QCopNameMirrorTest : public QObject
{
    Q_OBJECT
private slots:
    void seesChannelsRegisteredBeforeItsFirstCatchUp()
    {
        QCopChannel early("zk.names/early");
        QCopNameMirror mirror;
        QVERIFY(!mirror.isRegistered("zk.names/early"));  // nothing known before listing
        QVERIFY(mirror.catchUp());
        QVERIFY(mirror.isRegistered("zk.names/early"));
        QVERIFY(!mirror.isRegistered("zk.names/nobody"));
        // Only channel names are kept, not the connections' own names.
        SideConnection side;
        QCOMPARE(mirror.channelCount(), side.channelNameCount());
        QVERIFY(!mirror.isRegistered(""));
    }

    void followsThisProcessesChannels()
    {
        QCopNameMirror mirror;
        QVERIFY(mirror.catchUp());
        auto channel = std::make_unique<QCopChannel>("zk.names/mine");
        QVERIFY(!mirror.isRegistered("zk.names/mine"));  // not until the next catch-up
        QVERIFY(mirror.catchUp());
        QVERIFY(mirror.isRegistered("zk.names/mine"));
        channel.reset();
        QVERIFY(mirror.catchUp());
        QVERIFY(!mirror.isRegistered("zk.names/mine"));
    }

    // The promise that the task list relies on: whatever another process
    // registered before catchUp() began is seen by it, without the event
    // loop having run in between. Repeated, since a lost signal would only
    // show now and then.
    void otherProcessesChangesAreSeenAtTheNextCatchUp()
    {
        SideConnection side;
        QVERIFY(side.bus.isConnected());
        QCopNameMirror mirror;
        QVERIFY(mirror.catchUp());
        for (int round = 0; round < 15; ++round) {
            const QByteArray channel = "zk.names/other" + QByteArray::number(round);
            auto listener = startListener(channel);
            QVERIFY(side.waitOwned(channel, true));
            QVERIFY(mirror.catchUp());
            QVERIFY2(mirror.isRegistered(channel), channel.constData());
            stop(*listener);
            QVERIFY(side.waitOwned(channel, false));
            QVERIFY(mirror.catchUp());
            QVERIFY2(!mirror.isRegistered(channel), channel.constData());
        }
    }

    // Two processes on one channel: the second waits in the bus's queue
    // and the channel stays registered when the first goes.
    void aQueuedListenerKeepsTheChannel()
    {
        SideConnection side;
        const QByteArray channel = "zk.names/shared";
        QCopNameMirror mirror;
        QVERIFY(mirror.catchUp());
        auto first = startListener(channel);
        QVERIFY(side.waitOwned(channel, true));
        auto second = startListener(channel);
        QVERIFY(second->waitForStarted(5000));
        QVERIFY(side.waitQueueLength(channel, 2));
        stop(*first);
        QVERIFY(side.waitQueueLength(channel, 1));
        QVERIFY(mirror.catchUp());
        QVERIFY(mirror.isRegistered(channel));
        stop(*second);
        QVERIFY(side.waitOwned(channel, false));
        QVERIFY(mirror.catchUp());
        QVERIFY(!mirror.isRegistered(channel));
    }

    void theProcessMirrorIsOneObject()
    {
        QCopNameMirror* mirror = QCopNameMirror::instance();
        QVERIFY(mirror);
        QCOMPARE(QCopNameMirror::instance(), mirror);
        QCopChannel channel("zk.names/shared-mirror");
        QVERIFY(mirror->catchUp());
        QVERIFY(mirror->isRegistered("zk.names/shared-mirror"));
    }
};

ZK_TEST(QCopNameMirrorTest)

#include "qcopnames_test.moc"
