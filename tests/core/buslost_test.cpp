// The session bus daemon dies under a resident zKestrel: it must notice,
// say so, and end cleanly instead of idling unreachable or spinning; a
// window on screen keeps working until it is left.
#include "tests/common/ztest.h"
#include "tests/core/rawqcop.h"
#include "tests/core/residentrig.h"

#include "core/busloss.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QWidget>

#include <csignal>
#include <cstdio>

namespace {
// Percent of one processor a process used between two readings.
double cpuPercent(qint64 ticks, qint64 elapsedMs)
{
    return elapsedMs > 0 ? 100.0 * static_cast<double>(ticks) * 1000.0
                               / static_cast<double>(ticksPerSecond() * elapsedMs)
                         : 0.0;
}

// A busy loop shows as close to 100 %; an idle program as close to 0.
constexpr double kIdleCpuPercent = 20.0;
}

class BusLostTest : public QObject
{
    Q_OBJECT

    // A resident on a bus of its own, with its window popped up when asked.
    struct Rig
    {
        PrivateBus bus;
        std::unique_ptr<ResidentRig> resident;
        QString connectionName = QStringLiteral("buslost");

        ~Rig() { QDBusConnection::disconnectFromBus(connectionName); }

        QDBusConnection connection() { return QDBusConnection(connectionName); }
        bool send(const QString& channel, const QString& message, const QByteArray& data = QByteArray())
        {
            QDBusConnection c = connection();
            return c.send(rawqcop::message(channel, message, data)) && rawqcop::confirmDelivery(c);
        }
        QString appChannel() const { return QStringLiteral("EZX/Application/%1").arg(resident->pid()); }
    };

    // Starts the rig; false on any failure (the failing check says which).
    static void startRig(Rig& rig, bool popUp)
    {
        QVERIFY(rig.bus.start());
        QDBusConnection c = QDBusConnection::connectToBus(rig.bus.address(), rig.connectionName);
        QVERIFY(c.isConnected());
        rig.resident = std::make_unique<ResidentRig>(rig.bus.address());
        QVERIFY(rig.resident->start());
        QTRY_VERIFY_WITH_TIMEOUT(rawqcop::isRegistered(c, "PE/zKestrel/"), 15000);
        // The channel is listed before the resident's own check of it and
        // before its event loop runs; a bus killed in between ends it on
        // the start-up path. A key it answers proves it is past both. (It
        // takes keys on this channel too; "/hardkey/bc" may not be open yet.)
        QVERIFY(rig.send(QStringLiteral("PE/zKestrel/"), QStringLiteral("keyMsg(int,int)"), rawqcop::keyData(0, 0)));
        QVERIFY2(rig.resident->waitForLine(QStringLiteral("Key 0, type 0")) >= 0,
                 qPrintable(QStringLiteral("no answer to a key; errors: ") + rig.resident->errors()));
        if (popUp) {
            QVERIFY(rig.send(QStringLiteral("PE/zKestrel/"), QStringLiteral("show()")));
            QVERIFY(rig.resident->waitForLine(QStringLiteral("CreateWindow: end")) >= 0);
        }
    }

    static int signalOf(const QString& name) { return name == QLatin1String("SIGKILL") ? SIGKILL : SIGTERM; }

private slots:
    void residentWithoutWindowEnds_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::addColumn<bool>("windowLeft");
        QTest::newRow("SIGKILL, never popped up") << QStringLiteral("SIGKILL") << false;
        QTest::newRow("SIGTERM, never popped up") << QStringLiteral("SIGTERM") << false;
        QTest::newRow("SIGKILL, window left") << QStringLiteral("SIGKILL") << true;
        QTest::newRow("SIGTERM, window left") << QStringLiteral("SIGTERM") << true;
    }
    void residentWithoutWindowEnds()
    {
        QFETCH(QString, signal);
        QFETCH(bool, windowLeft);
        Rig rig;
        startRig(rig, windowLeft);
        if (QTest::currentTestFailed())
            return;
        if (windowLeft) {
            QVERIFY(rig.send(rig.appChannel(), QStringLiteral("ReturnToIdle(int)"), rawqcop::intData(1)));
            QVERIFY(rig.resident->waitForLine(QStringLiteral("slot_ReturnToIdle(1)")) >= 0);
        }
        QDBusConnection::disconnectFromBus(rig.connectionName);

        QElapsedTimer sinceKill;
        sinceKill.start();
        QVERIFY(rig.bus.kill(signalOf(signal)));
        const int lost = rig.resident->waitForLine(QStringLiteral("busLost: the session bus is gone"));
        QVERIFY2(lost >= 0, qPrintable(QStringLiteral("no log line about the lost bus; errors: ") + rig.resident->errors()));
        QVERIFY(rig.resident->waitForExit(15000));
        const qint64 toExitMs = sinceKill.elapsed();
        QVERIFY(rig.resident->findLine(QStringLiteral("busLost: end"), lost) > lost);
        QCOMPARE(rig.resident->exitStatus(), QProcess::NormalExit);
        QCOMPARE(rig.resident->exitCode(), kExitNoBus);
        std::printf("FIGURES buslost %s window-left=%d: exit code %d after %lld ms\n", qPrintable(signal),
                    windowLeft ? 1 : 0, rig.resident->exitCode(), static_cast<long long>(toExitMs));
    }

    void daemonKilledDuringFlood()
    {
        Rig rig;
        startRig(rig, false);
        if (QTest::currentTestFailed())
            return;
        // Junk only, so that no window comes up: the resident is busy with
        // its backlog when the bus goes.
        QDBusConnection c = rig.connection();
        const QString app = rig.appChannel();
        const int messages = 20000;
        for (int i = 0; i < messages; ++i) {
            c.send(rawqcop::message(i % 2 ? app : QStringLiteral("PE/zKestrel/"), QStringLiteral("junk%1()").arg(i),
                                    QByteArray(32, 'j')));
        }
        QVERIFY(rawqcop::confirmDelivery(c));
        QDBusConnection::disconnectFromBus(rig.connectionName);
        QElapsedTimer sinceKill;
        sinceKill.start();
        QVERIFY(rig.bus.kill(SIGKILL));
        QVERIFY(rig.resident->waitForLine(QStringLiteral("busLost: the session bus is gone"), 0, 60000) >= 0);
        QVERIFY(rig.resident->waitForExit(60000));
        QCOMPARE(rig.resident->exitStatus(), QProcess::NormalExit);
        QCOMPARE(rig.resident->exitCode(), kExitNoBus);
        std::printf("FIGURES buslost during a flood of %d messages: exit code %d after %lld ms\n", messages,
                    rig.resident->exitCode(), static_cast<long long>(sinceKill.elapsed()));
    }

    void windowOnScreenKeepsWorking_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::newRow("SIGKILL") << QStringLiteral("SIGKILL");
        QTest::newRow("SIGTERM") << QStringLiteral("SIGTERM");
    }
    void windowOnScreenKeepsWorking()
    {
        QFETCH(QString, signal);
        Rig rig;
        startRig(rig, true);
        if (QTest::currentTestFailed())
            return;
        QDBusConnection::disconnectFromBus(rig.connectionName);

        QVERIFY(rig.bus.kill(signalOf(signal)));
        const int lost = rig.resident->waitForLine(QStringLiteral("busLost: window on screen"));
        QVERIFY2(lost >= 0, "no log line about the lost bus");

        // The window's refresh timer (every 2000 ms) goes on waking the
        // main thread, which otherwise sleeps: not stuck, not spinning.
        const qint64 ticksBefore = rig.resident->cpuTicks();
        const qint64 wakeupsBefore = rig.resident->mainThreadWakeups();
        QElapsedTimer clock;
        clock.start();
        QTest::qWait(6000);
        const qint64 ticks = rig.resident->cpuTicks() - ticksBefore;
        const qint64 wakeups = rig.resident->mainThreadWakeups() - wakeupsBefore;
        const qint64 elapsed = clock.elapsed();
        QVERIFY(rig.resident->running());
        QVERIFY(ticksBefore >= 0 && ticks >= 0 && wakeupsBefore >= 0);
        const double percent = cpuPercent(ticks, elapsed);
        std::printf("FIGURES buslost %s window on screen: alive, %lld ticks in %lld ms = %.1f %% CPU, "
                    "main thread woke %lld times\n",
                    qPrintable(signal), static_cast<long long>(ticks), static_cast<long long>(elapsed), percent,
                    static_cast<long long>(wakeups));
        QVERIFY2(percent < kIdleCpuPercent, qPrintable(QStringLiteral("%1 % CPU after the loss").arg(percent)));
        QVERIFY2(wakeups >= 2, "the window's refresh no longer runs");
        QCOMPARE(rig.resident->findLine(QStringLiteral("busLost: end")), -1);
    }
};

// The decision itself, in this process, with a window of the test's own.
class ResidentBusLossTest : public QObject
{
    Q_OBJECT

private slots:
    void noWindowEndsAtOnce()
    {
        int ends = 0;
        ResidentBusLoss loss(
            nullptr, [&ends] { ++ends; }, [] { return static_cast<QWidget*>(nullptr); });
        loss.busLost();
        QCOMPARE(ends, 1);
        loss.busLost();
        QCOMPARE(ends, 1);
    }

    void hiddenWindowEndsAtOnce()
    {
        int ends = 0;
        QWidget window;
        ResidentBusLoss loss(
            nullptr, [&ends] { ++ends; }, [&window] { return &window; });
        loss.busLost();
        QCOMPARE(ends, 1);
    }

    void windowOnScreenEndsWhenLeft()
    {
        int ends = 0;
        QWidget window;
        window.show();
        ResidentBusLoss loss(
            nullptr, [&ends] { ++ends; }, [&window] { return &window; });
        loss.busLost();
        QCoreApplication::processEvents();
        QCOMPARE(ends, 0);

        // Brought to the front: hidden and shown again at once.
        window.hide();
        window.show();
        QCoreApplication::processEvents();
        QCOMPARE(ends, 0);

        window.hide();
        QTRY_COMPARE(ends, 1);
        window.show();
        window.hide();
        QCoreApplication::processEvents();
        QCOMPARE(ends, 1);
    }
};

ZK_TEST(BusLostTest)
ZK_TEST(ResidentBusLossTest)
#include "buslost_test.moc"
