// A window found on the bus is confirmed after the task's command line was
// read: the daemon may still list a dead program's channel after its pid went
// to another process, whose name would then stand on the dead one's row.
#include "platform/qcopchannel.h"
#include "process/procwalk.h"
#include "tests/common/ztest.h"
#include "tests/process/appchildren.h"
#include "tests/process/childprocs.h"

#include <csignal>

#include <sys/wait.h>

namespace {
bool listed(const QList<TaskEntry>& entries, pid_t pid)
{
    for (const TaskEntry& e : entries) {
        if (e.pid == pid)
            return true;
    }
    return false;
}
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
        QVERIFY(!listed(scanTasks(ScanSettings(), stale, nullptr, windowOwnerAnswers), successor));
    }

    void liveWindowIsListed()
    {
        AppChildGroup apps;
        const pid_t app = apps.start({"/usr/SYSqtapp/calc/calc"});
        QVERIFY(app > 0);
        QVERIFY(windowOwnerAnswers(app));
        const QList<TaskEntry> entries = scanTasks(ScanSettings(), hasAppWindow, nullptr, windowOwnerAnswers);
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
        const QList<TaskEntry> entries = scanTasks(ScanSettings(), hasAppWindow, nullptr, windowOwnerAnswers);
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
