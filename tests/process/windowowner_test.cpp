// A window found on the bus is confirmed after the task's command line was
// read: the daemon may still list a dead program's channel after its pid went
// to another process, whose name would then stand on the dead one's row.
#include "platform/qcopchannel.h"
#include "platform/qcopnames.h"
#include "platform/taskdir.h"
#include "process/procwalk.h"
#include "tests/common/ztest.h"
#include "tests/process/appchildren.h"
#include "tests/process/childprocs.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using namespace zk::proc;

namespace {
bool listed(const QList<TaskEntry>& entries, pid_t pid)
{
    for (const TaskEntry& e : entries) {
        if (e.pid == pid)
            return true;
    }
    return false;
}

// The bus's answer for the task whose folder the scan read.
const OwnerCheck ownerAnswers([](const TaskDir& task) { return windowOwnerAnswers(task.pid()); });
}

class WindowOwnerTest : public QObject
{
    Q_OBJECT

private slots:
    void windowOfNoLiveOwnerIsNotListed()
    {
        // A window test that still says yes for a pid whose channel nobody
        // holds, as the daemon does for a program that died a moment ago.
        ChildGroup children;
        const pid_t successor = children.start({"/usr/SYSqtapp/successor/successor"});
        QVERIFY(successor > 0);
        const auto stale = [successor](int pid) { return pid == successor; };

        QVERIFY(listed(scanTasks(ScanSettings(), stale), successor));
        QVERIFY(!windowOwnerAnswers(successor));
        QVERIFY(!listed(scanTasks(ScanSettings(), stale, nullptr, ownerAnswers), successor));
    }

    void liveWindowIsListed()
    {
        AppChildGroup apps;
        const pid_t app = apps.start({"/usr/SYSqtapp/calc/calc"});
        QVERIFY(app > 0);
        QVERIFY(windowOwnerAnswers(app));
        const QList<TaskEntry> entries = scanTasks(ScanSettings(), hasAppWindow, nullptr, ownerAnswers);
        QVERIFY(entries.contains(TaskEntry{static_cast<int>(app), QStringLiteral("calc"), false}));
    }

    void stoppedProgramKeepsItsWindow()
    {
        // A program that cannot answer (stopped, or hung) is still listed,
        // so that the user can end it.
        AppChildGroup apps;
        const pid_t app = apps.start({"/usr/SYSqtapp/hung/hung"});
        QVERIFY(app > 0);
        QCOMPARE(::kill(app, SIGSTOP), 0);
        const bool kept = windowOwnerAnswers(app);
        const QList<TaskEntry> entries = scanTasks(ScanSettings(), hasAppWindow, nullptr, ownerAnswers);
        ::kill(app, SIGCONT);
        QVERIFY(kept);
        QVERIFY(entries.contains(TaskEntry{static_cast<int>(app), QStringLiteral("hung"), false}));
    }

    void deadOwnerDoesNotAnswer()
    {
        AppChildGroup apps;
        const pid_t app = apps.start({"/usr/SYSqtapp/gone/gone"}, AppChildGroup::ExitOnQuit);
        QVERIFY(app > 0);
        QVERIFY(QCopChannel::send("EZX/Application/" + QByteArray::number(app), "quickQuit()"));
        QVERIFY(apps.reap(app, 10000));
        QVERIFY(!windowOwnerAnswers(app));
    }

    void ownerIsAskedOnlyWhenTheTaskMayBeNewerThanItsWindow_data()
    {
        QTest::addColumn<qint64>("seenNs");
        QTest::addColumn<qint64>("startNs");
        QTest::addColumn<bool>("answers");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("own");
        const qint64 s = 1000000000;
        QTest::newRow("task long older, owner silent") << 100 * s << 10 * s << false << false << true;
        QTest::newRow("task just older than the margin") << 100 * s << 99 * s - 1 << false << false << true;
        QTest::newRow("task started within the margin, answers") << 100 * s << 99 * s + 1 << true << true << true;
        QTest::newRow("task started within the margin, silent") << 100 * s << 99 * s + 1 << false << true << false;
        QTest::newRow("task started after the sighting, silent") << 100 * s << 101 * s << false << true << false;
        QTest::newRow("task started after the sighting, answers") << 100 * s << 101 * s << true << true << true;
        QTest::newRow("channel gone") << qint64(-1) << 10 * s << true << false << false;
        QTest::newRow("task gone") << 100 * s << qint64(-1) << true << false << false;
    }
    void ownerIsAskedOnlyWhenTheTaskMayBeNewerThanItsWindow()
    {
        QFETCH(qint64, seenNs);
        QFETCH(qint64, startNs);
        QFETCH(bool, answers);
        QFETCH(bool, asked);
        QFETCH(bool, own);
        int asks = 0;
        QCOMPARE(isWindowOwnersTask(seenNs, startNs, [&] { ++asks; return answers; }), own);
        QCOMPARE(asks, asked ? 1 : 0);
    }

    void startTimesAreOnTheMirrorsClock()
    {
        // A child started now: its start time lies between two readings of
        // the clock the copy of the names stamps its sightings with (the
        // start time is cut to the clock tick).
        const qint64 before = QCopNameMirror::bootTimeNs();
        pid_t pid = startChild({"/usr/SYSqtapp/clock/clock"});
        const auto stopLeft = qScopeGuard([&pid] { stopChild(pid); });
        QVERIFY(pid > 0);
        const qint64 after = QCopNameMirror::bootTimeNs();
        const qint64 tick = 1000000000 / sysconf(_SC_CLK_TCK);
        const qint64 start = taskStartNs(pid);
        QVERIFY2(start >= before - tick && start <= after,
                 qPrintable(QStringLiteral("%1 not in [%2, %3]").arg(start).arg(before - tick).arg(after)));
        QVERIFY(taskStartNs(getpid()) <= before);
        const pid_t gone = pid;
        stopChild(pid);
        pid = 0;
        QCOMPARE(taskStartNs(gone), qint64(-1));
    }

    void confirmationOfTheTaskList()
    {
        QCopNameMirror* names = QCopNameMirror::instance();
        QVERIFY(names);
        // A child whose window this process holds (so that it answers), and
        // one with no window at all.
        ChildGroup children;
        const pid_t withWindow = children.start({"/usr/SYSqtapp/owned/owned"});
        const pid_t without = children.start({"/usr/SYSqtapp/plain/plain"});
        QVERIFY(withWindow > 0 && without > 0);
        QCopChannel channel("EZX/Application/" + QByteArray::number(withWindow));
        QVERIFY(names->catchUp());
        QVERIFY(names->listenerSeenNs("EZX/Application/" + QByteArray::number(withWindow)) >= taskStartNs(withWindow));
        QCOMPARE(names->listenerSeenNs("EZX/Application/" + QByteArray::number(without)), qint64(-1));
        const OwnerCheck confirm = windowOwnersNow();
        QVERIFY(confirm.confirms(TaskDir(withWindow)));
        QVERIFY(confirm.confirms(TaskDir(withWindow)));
        QVERIFY(!confirm.confirms(TaskDir(without)));
        const QList<TaskEntry> entries = scanTasks(ScanSettings(), appWindowsNow(), nullptr, windowOwnersNow());
        QVERIFY(listed(entries, withWindow));
        QVERIFY(!listed(entries, without));
    }

    // Ten fresh tasks whose windows one stopped program holds: the owners
    // are asked at once, so the scan waits one ping's 500 ms, not ten, and
    // every window stays listed.
    void silentOwnersAreAskedAtOnce()
    {
        ChildGroup children;
        QStringList args{QStringLiteral("--listen")};
        for (int i = 0; i < 10; ++i)
            args << QStringLiteral("EZX/Application/%1").arg(children.start({"/usr/SYSqtapp/held/held"}));
        QProcess holder;
        holder.start(QStringLiteral(ZK_BIN_DIR "/qcop"), args);
        const auto pid = static_cast<pid_t>(holder.processId());
        QTRY_VERIFY(QCopChannel::isRegistered(args.constLast().toLatin1()));
        QCOMPARE(::kill(pid, SIGSTOP), 0);
        QElapsedTimer took;
        took.start();
        const QList<TaskEntry> entries = scanTasks(ScanSettings(), appWindowsNow(), nullptr, windowOwnersNow());
        const qint64 ms = took.elapsed();
        ::kill(pid, SIGKILL);
        for (const pid_t child : children.pids())
            QVERIFY(listed(entries, child));
        QVERIFY2(ms < 2500, qPrintable(QStringLiteral("%1 ms").arg(ms)));
    }

    void standInChannelOfThisProcessAnswers()
    {
        // A channel this very process holds for a pid (as tests and the
        // simulated phone do) is answered by its own bus thread.
        ChildGroup children;
        const pid_t pid = children.start({"/usr/SYSqtapp/notes/notes"});
        QVERIFY(pid > 0);
        QCopChannel channel("EZX/Application/" + QByteArray::number(pid));
        QVERIFY(windowOwnerAnswers(pid));
    }
};

ZK_TEST(WindowOwnerTest)
#include "windowowner_test.moc"
