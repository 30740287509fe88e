#include "process/procactions.h"
#include "tests/common/logcapture.h"
#include "tests/common/ztest.h"
#include "tests/process/childprocs.h"

#include <QFile>

#include <climits>
#include <csignal>
#include <cstdio>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zk::proc;

// Killing a task and telling whether its row goes; the hide-all data.
class ProcActionsTest : public QObject
{
    Q_OBJECT

private slots:
    void existsFollowsTheProcess()
    {
        const pid_t pid = startChild({"/usr/bin/x"});
        QVERIFY(pid > 0);
        QVERIFY(procExists(pid));
        stopChild(pid);
        QVERIFY(!procExists(pid));
        QVERIFY(!procExists(0));
        QVERIFY(!procExists(-1));
    }

    void killChild()
    {
        const pid_t pid = startChild({"/mmc/mmca1/app/app"});
        QVERIFY(pid > 0);
        LogCapture log;
        const KillOutcome outcome = killProc(pid);
        const QStringList lines = log.finish();
        int status = 0;
        const pid_t reaped = waitpid(pid, &status, 0);
        QCOMPARE(outcome, KillOutcome::Killed);
        QVERIFY(killRemovesRow(outcome));
        QCOMPARE(lines, QStringList{QStringLiteral("Killed a pid [%1]").arg(pid)});
        QCOMPARE(reaped, pid);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), SIGKILL);
        QVERIFY(!procExists(pid));
    }

    void killMissingProcess()
    {
        const pid_t gone = startChild({"/usr/bin/gone"});
        QVERIFY(gone > 0);
        stopChild(gone);
        for (const int pid : {static_cast<int>(gone), INT_MAX}) {
            LogCapture log;
            const KillOutcome outcome = killProc(pid);
            const QStringList lines = log.finish();
            QCOMPARE(outcome, KillOutcome::NoSuchProcess);
            QVERIFY(killRemovesRow(outcome));
            QCOMPARE(lines, QStringList{QStringLiteral("Error when kill a pid [%1]").arg(pid)});
        }
    }

    void killNeverReachesGroupsOrEveryone()
    {
        // kill(0) would hit our own process group, kill(-1) every process we
        // may signal: this test would not survive either.
        for (const int pid : {0, -1, -2}) {
            LogCapture log;
            const KillOutcome outcome = killProc(pid);
            const QStringList lines = log.finish();
            QCOMPARE(outcome, KillOutcome::NoSuchProcess);
            QCOMPARE(lines, QStringList{QStringLiteral("Error when kill a pid [%1]").arg(pid)});
        }
    }

    void refusedKillKeepsTheRow()
    {
        if (getuid() != 0)
            QSKIP("dropping to another user needs root; as a plain user no process of root's is ours to start");
        ChildGroup children;
        const pid_t target = children.start({"/usr/SYSqtapp/phone/phone"});
        QVERIFY(target > 0);

        // A child that has given up root tries to kill root's process.
        const int code = exitCodeAsNobody([target] {
            const KillOutcome outcome = killProc(target);
            return outcome == KillOutcome::Refused ? 0 : 1 + static_cast<int>(outcome);
        });
        QCOMPARE(code, 0);
        QVERIFY(!killRemovesRow(KillOutcome::Refused));
        QVERIFY(procExists(target));
    }

    void refusedPriorityChangesNothing()
    {
        if (getuid() != 0)
            QSKIP("dropping to another user needs root; as a plain user no process of root's is ours to start");
        ChildGroup children;
        const pid_t target = children.start({"/usr/bin/syncd"});
        QVERIFY(target > 0);
        QCOMPARE(setpriority(PRIO_PROCESS, static_cast<id_t>(target), 2), 0);

        LogCapture log;
        const int code = exitCodeAsNobody([target] { return setProcPriority(target, 5) ? 1 : 0; });
        const QStringList lines = log.finish();
        QCOMPARE(code, 0);
        QCOMPARE(lines, QStringList{QStringLiteral("Error when set priority of a pid [%1]").arg(target)});
        QCOMPARE(getpriority(PRIO_PROCESS, static_cast<id_t>(target)), 2);

        // Our own task: allowed, and silent.
        LogCapture quiet;
        QVERIFY(setProcPriority(target, 4));
        QVERIFY(quiet.finish().isEmpty());
        QCOMPARE(getpriority(PRIO_PROCESS, static_cast<id_t>(target)), 4);
        QVERIFY(!setProcPriority(0, 4));
    }

    void hideAllData()
    {
        QCOMPARE(returnToIdleData(), QByteArray::fromHex("ffffec75"));
        QCOMPARE(returnToIdleData(1), QByteArray::fromHex("00000001"));
        QCOMPARE(appChannel(1234), QByteArray("EZX/Application/1234"));
        QCOMPARE(appChannel(0), QByteArray("EZX/Application/0"));
    }
};
ZK_TEST(ProcActionsTest)
#include "procactions_test.moc"
