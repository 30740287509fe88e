#include "process/procwalk.h"
#include "tests/common/ztest.h"
#include "tests/process/childprocs.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

using namespace zk::proc;

// Readable entries in failure messages (found beside the type).
namespace zk::proc {
char* toString(const TaskEntry& e)
{
    return QTest::toString(QStringLiteral("{%1, \"%2\", %3}").arg(e.pid).arg(e.text).arg(e.noWindow));
}
}

// The walk over the process table: which pids are candidates, which tasks
// are listed and how, and where the phone is.
class ProcWalkTest : public QObject
{
    Q_OBJECT

    // The entries of the scan that belong to the given pids, in scan order.
    static QList<TaskEntry> onlyPids(const QList<TaskEntry>& entries, const QList<int>& pids)
    {
        QList<TaskEntry> mine;
        for (const TaskEntry& e : entries) {
            if (pids.contains(e.pid))
                mine << e;
        }
        return mine;
    }

    static std::function<bool(int)> windowsFor(const QList<int>& pids)
    {
        const QSet<int> set(pids.cbegin(), pids.cend());
        return [set](int pid) { return set.contains(pid); };
    }

    // A process table of its own, with a cmdline file per numbered entry.
    static bool addFakeTask(const QString& root, const QString& entry, const QByteArray& cmdline)
    {
        if (!QDir(root).mkpath(entry))
            return false;
        QFile f(root + QLatin1Char('/') + entry + QStringLiteral("/cmdline"));
        return f.open(QIODevice::WriteOnly) && f.write(cmdline) == cmdline.size();
    }

private slots:
    void candidatesOfRealProc()
    {
        const QList<int> pids = candidatePids();
        QVERIFY(!pids.isEmpty());
        for (const int pid : pids)
            QVERIFY2(pid >= 100, qPrintable(QString::number(pid)));
        // Our own process is a candidate when its pid is high enough.
        const int self = static_cast<int>(QCoreApplication::applicationPid());
        QCOMPARE(pids.contains(self), self >= 100);
    }

    void candidatesSkipNamesAndLowPids()
    {
        QTemporaryDir root;
        for (const char* name : {"1", "99", "100", "4321", "self", "stat", "123abc", "99999999999"})
            QVERIFY(QDir(root.path()).mkpath(QString::fromLatin1(name)));
        QList<int> pids = candidatePids(root.path());
        std::sort(pids.begin(), pids.end());
        QCOMPARE(pids, (QList<int>{100, 123, 4321}));
        QVERIFY(candidatePids(root.filePath(QStringLiteral("missing"))).isEmpty());
    }

    void missingProcLogsAndGivesNothing()
    {
        ScanSettings settings;
        settings.procDir = QStringLiteral("/nonexistent/proc");
        int phone = 77;
        LogCapture log;
        const QList<TaskEntry> entries = scanTasks(
            settings, [](int) { return true; }, &phone);
        const QStringList lines = log.finish();
        QVERIFY(entries.isEmpty());
        QCOMPARE(phone, 0);
        QCOMPARE(lines, (QStringList{QStringLiteral("Get runing proc"), QStringLiteral("Can't open /proc")}));
    }

    void fakeTableRules()
    {
        QTemporaryDir root;
        QVERIFY(addFakeTask(root.path(), QStringLiteral("50"), "/usr/bin/low"));
        QVERIFY(addFakeTask(root.path(), QStringLiteral("200"), QByteArray("/usr/bin/calc\0", 14)));
        QVERIFY(addFakeTask(root.path(), QStringLiteral("201"), QByteArray()));  // kernel thread
        QVERIFY(addFakeTask(root.path(), QStringLiteral("202"), "/usr/SYSqtapp/phone/phone"));
        QVERIFY(addFakeTask(root.path(), QStringLiteral("203"), QByteArray("/mmc/mmca1/g/vr\0-x\0", 19)));
        QVERIFY(addFakeTask(root.path(), QStringLiteral("204"), "/usr/bin/daemon"));
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("205")));  // no cmdline file
        const auto windows = windowsFor({50, 200, 201, 202, 205});

        ScanSettings settings;
        settings.procDir = root.path();
        int phone = -1;
        QList<TaskEntry> entries = scanTasks(settings, windows, &phone);
        QCOMPARE(phone, 202);
        QCOMPARE(entries, (QList<TaskEntry>{{200, QStringLiteral("calc"), false}}));

        settings.showAppNoWindow = true;
        entries = scanTasks(settings, windows, &phone);
        std::sort(entries.begin(), entries.end(),
                  [](const TaskEntry& a, const TaskEntry& b) { return a.pid < b.pid; });
        // The windowless task keeps its whole untrimmed command line, and the
        // filter list does not apply to it (its name vr is on the list).
        QCOMPARE(entries, (QList<TaskEntry>{{200, QStringLiteral("calc"), false},
                                            {203, QStringLiteral("/mmc/mmca1/g/vr -x "), true}}));

        settings.showAllTask = true;
        entries = scanTasks(settings, windows, &phone);
        QCOMPARE(entries.size(), 3);
        QVERIFY(entries.contains(TaskEntry{202, QStringLiteral("phone"), false}));
    }

    void realChildrenInWalkOrder()
    {
        ChildGroup children;
        const QList<QList<QByteArray>> argvs = {
            {"/usr/SYSqtapp/phone/phone"},
            {"/usr/SYSqtapp/calc/calc", "-x"},
            {"/usr/SYSqtapp/phonebook/phonebook"},
            {"/usr/SYSqtapp/phone/phone", "again"},
            {"/lib/ld-linux.so.2", "/mmc/mmca1/app/app", "-x"},
            {"/usr/bin/zKestrel", "-daemon"},
        };
        for (const auto& argv : argvs)
            QVERIFY(children.start(argv) > 0);
        const QList<int> pids = children.pids();

        int phone = 0;
        LogCapture log;
        const QList<TaskEntry> all = scanTasks(ScanSettings(), windowsFor(pids), &phone);
        const QStringList lines = log.finish();
        const QList<TaskEntry> mine = onlyPids(all, pids);

        // Expected: the walk order of our children, without the filtered names.
        QList<int> walk;
        for (const int pid : candidatePids()) {
            if (pids.contains(pid))
                walk << pid;
        }
        QCOMPARE(walk.size(), pids.size());
        QList<TaskEntry> expected;
        const QStringList names = {QString(), QStringLiteral("calc"), QStringLiteral("phonebook"),
                                   QString(), QStringLiteral("app"), QString()};
        for (const int pid : walk) {
            const QString name = names.at(pids.indexOf(pid));
            if (!name.isEmpty())
                expected << TaskEntry{pid, name, false};
        }
        QCOMPARE(mine, expected);

        // The phone met first in the walk wins.
        const int firstPhone = walk.indexOf(pids.at(0)) < walk.indexOf(pids.at(3)) ? pids.at(0) : pids.at(3);
        QCOMPARE(phone, firstPhone);
        QCOMPARE(lines.count(QStringLiteral("pidPhone=%1").arg(firstPhone)), 1);
        QCOMPARE(lines.filter(QStringLiteral("pidPhone=")).size(), 1);
        QCOMPARE(lines.first(), QStringLiteral("Get runing proc"));
        QCOMPARE(lines.last(), QStringLiteral("Get runing proc: End"));
    }

    void realWindowlessChildren()
    {
        ChildGroup children;
        const pid_t card = children.start({"/lib/ld-linux.so.2", "/mmc/mmca1/app/phone", "-x"});
        const pid_t system = children.start({"/usr/bin/tool"});
        const pid_t download = children.start({"/ezxlocal/download/mystuff/games/g"});
        QVERIFY(card > 0 && system > 0 && download > 0);
        const auto noWindows = [](int) { return false; };

        QVERIFY(onlyPids(scanTasks(ScanSettings(), noWindows), children.pids()).isEmpty());

        ScanSettings settings;
        settings.showAppNoWindow = true;
        QList<TaskEntry> mine = onlyPids(scanTasks(settings, noWindows), children.pids());
        std::sort(mine.begin(), mine.end(),
                  [](const TaskEntry& a, const TaskEntry& b) { return a.pid < b.pid; });
        QList<TaskEntry> expected = {
            {card, QStringLiteral("/lib/ld-linux.so.2 /mmc/mmca1/app/phone -x "), true},
            {download, QStringLiteral("/ezxlocal/download/mystuff/games/g "), true}};
        std::sort(expected.begin(), expected.end(),
                  [](const TaskEntry& a, const TaskEntry& b) { return a.pid < b.pid; });
        QCOMPARE(mine, expected);
    }

    void everyTaskWithWindowNeverBelow100()
    {
        ScanSettings settings;
        settings.showAllTask = true;
        const QList<TaskEntry> entries = scanTasks(settings, [](int) { return true; });
        for (const TaskEntry& e : entries) {
            QVERIFY(e.pid >= 100);
            QVERIFY(!e.noWindow);
            QVERIFY(!e.text.contains(QLatin1String("zKestrel")));
        }
    }
};
ZK_TEST(ProcWalkTest)
#include "procwalk_test.moc"
