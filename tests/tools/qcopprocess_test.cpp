// The bus between real processes: the built qcop tool as sender, listener
// and registration probe, this test as the peer.

#include "platform/qcopchannel.h"
#include "tests/common/ztest.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>

#include <csignal>
#include <memory>

namespace {

// Bounds for child processes that must end by themselves; a hang fails the
// test instead of blocking the run.
const int kFinishMs = 15000;
const int kArriveMs = 15000;

QString qcopPath()
{
    return QStringLiteral(ZK_BIN_DIR "/qcop");
}

std::unique_ptr<QProcess> startQcop(const QStringList& args, const QProcessEnvironment& env = {})
{
    auto process = std::make_unique<QProcess>();
    if (!env.isEmpty())
        process->setProcessEnvironment(env);
    process->start(qcopPath(), args);
    return process;
}

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runQcop(const QStringList& args, const QProcessEnvironment& env = {})
{
    auto process = startQcop(args, env);
    Run run;
    run.finished = process->waitForFinished(kFinishMs);
    if (!run.finished)
        process->kill();
    run.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    run.out = process->readAllStandardOutput();
    run.err = process->readAllStandardError();
    return run;
}

QProcessEnvironment withoutBus()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
    return env;
}

}

class QcopProcessTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(qcopPath()), "qcop is not built");
    }

    void twoListenersBothReceiveOneBroadcast()
    {
        // Each listener also takes a channel of its own: when that one is
        // registered, its listening on the shared channel is in place too.
        auto first = startQcop({"--listen", "zk.proc/bcast", "zk.proc/ready1"});
        auto second = startQcop({"--listen", "zk.proc/bcast", "zk.proc/ready2"});
        QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered("zk.proc/ready1"), kArriveMs);
        QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered("zk.proc/ready2"), kArriveMs);

        const Run send = runQcop({"zk.proc/bcast", "keyMsg(int,int)", "4159", "1"});
        QCOMPARE(send.exitCode, 0);

        const QByteArray line = "zk.proc/bcast keyMsg(int,int) 0000103f00000001\n";
        QByteArray seen1;
        QByteArray seen2;
        QTRY_VERIFY_WITH_TIMEOUT((seen1 += first->readAllStandardOutput()).contains(line), kArriveMs);
        QTRY_VERIFY_WITH_TIMEOUT((seen2 += second->readAllStandardOutput()).contains(line), kArriveMs);
        QCOMPARE(seen1, line);
        QCOMPARE(seen2, line);

        for (QProcess* p : {first.get(), second.get()}) {
            p->terminate();
            QVERIFY(p->waitForFinished(kFinishMs));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
        }
    }

    void listenerPrintsEmptyDataAsDash()
    {
        auto listener = startQcop({"--listen", "zk.proc/empty"});
        QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered("zk.proc/empty"), kArriveMs);
        QVERIFY(QCopChannel::send("zk.proc/empty", "show()"));
        QByteArray seen;
        QTRY_VERIFY_WITH_TIMEOUT((seen += listener->readAllStandardOutput()).contains('\n'), kArriveMs);
        QCOMPARE(seen, QByteArray("zk.proc/empty show() -\n"));
        listener->terminate();
        QVERIFY(listener->waitForFinished(kFinishMs));
    }

    void registrationFollowsTheListeningProcess_data()
    {
        QTest::addColumn<int>("howEnded");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGKILL") << int(SIGKILL);
    }

    void registrationFollowsTheListeningProcess()
    {
        QFETCH(int, howEnded);
        const QByteArray channel = "zk.proc/reg" + QByteArray::number(howEnded);
        QCOMPARE(runQcop({"--registered", QString::fromLatin1(channel)}).exitCode, 1);

        auto listener = startQcop({"--listen", QString::fromLatin1(channel)});
        QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered(channel), kArriveMs);
        QCOMPARE(runQcop({"--registered", QString::fromLatin1(channel)}).exitCode, 0);

        QVERIFY(::kill(static_cast<pid_t>(listener->processId()), howEnded) == 0);
        QVERIFY(listener->waitForFinished(kFinishMs));
        if (howEnded != SIGKILL) {
            // A stop request is a normal end for a listener.
            QCOMPARE(listener->exitStatus(), QProcess::NormalExit);
            QCOMPARE(listener->exitCode(), 0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!QCopChannel::isRegistered(channel), kArriveMs);
        QCOMPARE(runQcop({"--registered", QString::fromLatin1(channel)}).exitCode, 1);
    }

    void messageOfASenderThatExitsAtOnceArrives()
    {
        QCopChannel inbox("zk.proc/inbox");
        QSignalSpy spy(&inbox, &QCopChannel::received);
        const int senders = 10;
        for (int i = 0; i < senders; ++i) {
            const Run send = runQcop({"zk.proc/inbox", "ping(int,QString)", QString::number(i), "hi"});
            QVERIFY(send.finished);
            QCOMPARE(send.exitCode, 0);
        }
        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), senders, kArriveMs);
        for (int i = 0; i < senders; ++i) {
            QCOMPARE(spy.at(i).at(0).toByteArray(), QByteArray("ping(int,QString)"));
            QCOMPARE(spy.at(i).at(1).toByteArray().toHex(),
                     QByteArray::number(i, 16).rightJustified(8, '0') + "0000000400680069");
        }
    }

    void withoutASessionBusNothingHangs()
    {
        const Run registered = runQcop({"--registered", "X"}, withoutBus());
        QVERIFY(registered.finished);
        QCOMPARE(registered.exitCode, 1);
        QVERIFY(registered.out.contains("no session bus"));

        const Run send = runQcop({"X", "keyMsg(int,int)", "4159", "1"}, withoutBus());
        QVERIFY(send.finished);
        QCOMPARE(send.exitCode, 1);
        // One log line for the dropped message.
        QCOMPARE(send.out.count("no session bus"), 1);
        QVERIFY(send.out.contains("X keyMsg(int,int)"));

        const Run listen = runQcop({"--listen", "X"}, withoutBus());
        QVERIFY(listen.finished);
        QCOMPARE(listen.exitCode, 1);
        QVERIFY(listen.err.contains("cannot listen"));
    }

    void usageAndRefusalsExitWithTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("errorText");
        QTest::newRow("nothing") << QStringList{} << QByteArray("Usage:");
        QTest::newRow("channel only") << QStringList{"PE/zKestrel/"} << QByteArray("Usage:");
        QTest::newRow("unknown option") << QStringList{"--frobnicate", "x"} << QByteArray("Usage:");
        QTest::newRow("registered without channel") << QStringList{"--registered"} << QByteArray("Usage:");
        QTest::newRow("registered two channels") << QStringList{"--registered", "a", "b"} << QByteArray("Usage:");
        QTest::newRow("listen without channel") << QStringList{"--listen"} << QByteArray("Usage:");
        QTest::newRow("bad number") << QStringList{"/hardkey/bc", "keyMsg(int,int)", "41x9", "1"}
                                    << QByteArray("not a number");
        QTest::newRow("count mismatch") << QStringList{"/hardkey/bc", "keyMsg(int,int)", "4159"}
                                        << QByteArray("takes 2 argument(s), 1 given");
        QTest::newRow("bad uuid") << QStringList{"/AM/Launcher", "launch(QUuid)", "{nope}"}
                                  << QByteArray("not a UUID");
        QTest::newRow("ambiguous") << QStringList{"/AM/Launcher", "launchApp4NoLockCheck", "42"}
                                   << QByteArray("ambiguous");
    }

    void usageAndRefusalsExitWithTwo()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, errorText);
        const Run run = runQcop(args);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(errorText), run.err.constData());
        QVERIFY(run.out.isEmpty());
    }

    void helpPrintsUsage()
    {
        const Run run = runQcop({"--help"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("Usage: qcop CHANNEL MESSAGE"));
        QVERIFY(run.out.contains("--listen"));
        QVERIFY(run.err.isEmpty());
    }
};

ZK_TEST(QcopProcessTest)

#include "qcopprocess_test.moc"
