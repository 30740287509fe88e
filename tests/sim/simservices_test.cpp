// The simulated phone's services as real processes on the test's private bus
// (offscreen): the application manager starts and raises applications, the
// system service sends every application back to idle and raises the phone.
#include "platform/qcopchannel.h"
#include "sim/simbus.h"
#include "sim/simproc.h"
#include "sim/systemservice.h"
#include "tests/common/ztest.h"
#include "tests/sim/phonerig.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QUuid>

#include <csignal>

namespace {
const QString kBin = QStringLiteral(ZK_BIN_DIR);
const QString kDevice = QStringLiteral(ZK_SIM_DEVICE);

QByteArray uuidData(const char* id)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << QUuid::fromString(QLatin1String(id));
    return data;
}

qint64 waitForApp(const QByteArray& cmdline)
{
    // The application with that command line that has its channel up; 0 when
    // none comes within 20 s.
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        for (qint64 pid : pidsWithCommandLine(cmdline)) {
            if (QCopChannel::isRegistered("EZX/Application/" + QByteArray::number(pid)))
                return pid;
        }
        QTest::qWait(100);
    }
    return 0;
}
}

class SimServicesTest : public QObject
{
    Q_OBJECT
private slots:
    void appManagerStartsOnceThenRaises()
    {
        QProcess manager;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("EZX_DEVICE_ROOT"), kDevice);
        manager.setProcessEnvironment(env);
        manager.start(kBin + QStringLiteral("/zk-appmanager"), {});
        QVERIFY(manager.waitForStarted());
        // The applications outlive their manager: end them whatever happens.
        // Only this run's: other runs of the phone may share the machine.
        const auto endApps = qScopeGuard([] {
            for (qint64 pid : pidsOfPhone("/usr/SYSqtapp/messaging/messaging --app-title", kDevice))
                ::kill(static_cast<pid_t>(pid), SIGKILL);
        });
        QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered("/AM/Launcher"), 15000);

        const char* messages = "{0a6c5e10-1f2b-4c3d-8e4f-000000000002}";
        QVERIFY(QCopChannel::send("/AM/Launcher", "launchApp4NoLockCheck", uuidData(messages)));
        const qint64 pid = waitForApp("/usr/SYSqtapp/messaging/messaging --app-title Messages");
        QVERIFY(pid > 0);

        QCopChannel app("EZX/Application/" + QByteArray::number(pid));
        QSignalSpy got(&app, &QCopChannel::received);
        QVERIFY(QCopChannel::send("/AM/Launcher", "launchApp4NoLockCheck", uuidData(messages)));
        QTRY_VERIFY_WITH_TIMEOUT(!got.isEmpty(), 10000);
        QCOMPARE(got.first().at(0).toByteArray(), QByteArray("raise()"));
        QCOMPARE(pidsOfPhone("/usr/SYSqtapp/messaging/messaging", kDevice).size(), 1);

        // An id that no registry has starts nothing and keeps the service up.
        QVERIFY(QCopChannel::send("/AM/Launcher", "launchApp4NoLockCheck",
                                  uuidData("{00000000-0000-4000-8000-0000000000ff}")));
        QVERIFY(QCopChannel::send("/AM/Launcher", "launchApp4NoLockCheck", QByteArray("x")));
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += manager.readAllStandardOutput()).contains("no application"), 10000);

        QCopChannel::send(app.channel(), "quickQuit()");
        QTRY_VERIFY_WITH_TIMEOUT(!processRuns(pid), 10000);
        manager.terminate();
        QVERIFY(manager.waitForFinished(10000));
    }

    void returnToIdleReachesEveryApplicationThenRaisesThePhone()
    {
        SystemService service;
        QVERIFY(service.isListening());
        QCopChannel other("EZX/Application/99991");
        QSignalSpy otherGot(&other, &QCopChannel::received);

        QProcess phone;
        phone.start(QStringLiteral("/bin/bash"),
                    {QStringLiteral("-c"), QStringLiteral("exec -a \"$0\" \"$@\""),
                     QStringLiteral("/usr/SYSqtapp/phone/phone"), kBin + QStringLiteral("/zk-demoapp")});
        QVERIFY(phone.waitForStarted());
        const qint64 pid = waitForApp("/usr/SYSqtapp/phone/phone");
        QCOMPARE(pid, phone.processId());
        QCopChannel phoneChannel("EZX/Application/" + QByteArray::number(pid));
        QSignalSpy phoneGot(&phoneChannel, &QCopChannel::received);

        QVERIFY(QCopChannel::send("EZX/System", "ReturnToIdle(int)", intData(-5003)));
        QTRY_COMPARE_WITH_TIMEOUT(phoneGot.size(), 2, 10000);
        QCOMPARE(phoneGot.at(0).at(0).toByteArray(), QByteArray("ReturnToIdle(int)"));
        QCOMPARE(phoneGot.at(0).at(1).toByteArray(), intData(-5003));
        QCOMPARE(phoneGot.at(1).at(0).toByteArray(), QByteArray("raise()"));
        QTRY_COMPARE_WITH_TIMEOUT(otherGot.size(), 1, 5000);
        QCOMPARE(otherGot.first().at(1).toByteArray(), intData(-5003));

        // A value that is missing is not forwarded.
        QVERIFY(QCopChannel::send("EZX/System", "ReturnToIdle(int)", QByteArray()));
        QTest::qWait(300);
        QCOMPARE(otherGot.size(), 1);

        QCopChannel::send(phoneChannel.channel(), "quickQuit()");
        QVERIFY(phone.waitForFinished(10000));
    }
};

ZK_TEST(SimServicesTest)

#include "simservices_test.moc"
