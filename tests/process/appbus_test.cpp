#include "platform/qcopchannel.h"
#include "process/procactions.h"
#include "process/procwalk.h"
#include "tests/common/ztest.h"
#include "tests/process/childprocs.h"

#include <QSignalSpy>

using namespace zk::proc;

// The bus side of the task list: a task has a window while its application
// channel is registered, and messages to a task go to that channel.
class AppBusTest : public QObject
{
    Q_OBJECT

private slots:
    void windowFollowsTheChannel()
    {
        ChildGroup children;
        const pid_t pid = children.start({"/usr/SYSqtapp/calc/calc"});
        QVERIFY(pid > 0);
        QVERIFY(!hasAppWindow(pid));
        {
            // Stands in for the child's application object.
            QCopChannel channel(appChannel(pid));
            QVERIFY(hasAppWindow(pid));
            const QList<TaskEntry> entries = scanTasks(ScanSettings());
            QVERIFY(entries.contains(TaskEntry{static_cast<int>(pid), QStringLiteral("calc"), false}));
        }
        QVERIFY(!hasAppWindow(pid));
        const QList<TaskEntry> entries = scanTasks(ScanSettings());
        for (const TaskEntry& e : entries)
            QVERIFY(e.pid != pid);
    }

    void messagesReachTheTask()
    {
        const int pid = 4242;
        QCopChannel channel(appChannel(pid));
        QSignalSpy spy(&channel, &QCopChannel::received);
        QVERIFY(sendToApp(pid, QStringLiteral("raise()")));
        QVERIFY(quitApp(pid));
        QTRY_COMPARE(spy.size(), 2);
        QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("raise()"));
        QCOMPARE(spy.at(0).at(1).toByteArray(), QByteArray());
        QCOMPARE(spy.at(1).at(0).toByteArray(), QByteArray("quickQuit()"));
    }
};
ZK_TEST(AppBusTest)
#include "appbus_test.moc"
