#include "platform/taskdir.h"
#include "process/cmdline.h"
#include "process/procstatus.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"
#include "tests/process/childprocs.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <unistd.h>

using namespace zk::proc;

// The details dialog's figures: status fields and the mapped files.
class ProcStatusTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // The name is whatever the program set: blanks and parentheses in it
    // must not shift the fields after it.
    void statFieldsStartAfterTheName_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("state");
        QTest::addColumn<QByteArray>("startTime");
        QTest::newRow("plain") << QByteArray("123 (calc) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 4242 99\n")
                               << QByteArray("S") << QByteArray("4242");
        QTest::newRow("blanks and parentheses in the name")
            << QByteArray("77 (a) b (c) d) R 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 5151 99\n")
            << QByteArray("R") << QByteArray("5151");
        QTest::newRow("no name") << QByteArray("77 a R 1 2") << QByteArray() << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("tabs and doubled blanks")
            << QByteArray("9 (x)  S\t1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17  18 6161\n") << QByteArray("S")
            << QByteArray("6161");
    }
    void statFieldsStartAfterTheName()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, state);
        QFETCH(QByteArray, startTime);
        const QList<QByteArray> fields = statFieldsAfterName(line);
        QCOMPARE(fields.value(0), state);
        QCOMPARE(fields.value(19), startTime);
        // One field alone, as the scan reads the start time.
        QCOMPARE(statFieldAfterName(line, 0), state);
        QCOMPARE(statFieldAfterName(line, 19), startTime);
        QCOMPARE(statFieldAfterName(line, 21), QByteArray());
    }

    void statFieldsOfALiveAndAGoneTask()
    {
        const QList<QByteArray> own = taskStatFields(static_cast<int>(getpid()));
        QVERIFY(own.size() > 19);
        QCOMPARE(own.first(), QByteArray("R"));
        QVERIFY(taskStatFields(0).isEmpty());
        QVERIFY(taskStatFields(-1).isEmpty());
    }

    void realChildFields()
    {
        ChildGroup children;
        const pid_t pid = children.start({"/usr/SYSqtapp/calc/calc"});
        QVERIFY(pid > 0);
        const QString vm = getStatusField(pid, QStringLiteral("VmSize:"), true);
        QVERIFY2(QRegularExpression(QStringLiteral("^VmSize: [0-9]+ kB$")).match(vm).hasMatch(), qPrintable(vm));
        QCOMPARE(getStatusField(pid, QStringLiteral("Threads:"), false), QStringLiteral("1"));
        QCOMPARE(getStatusField(pid, QStringLiteral("Name:"), false), QStringLiteral("zk_sleeper"));
        const QString state = taskState(taskStatusText(TaskDir(pid)));
        QVERIFY2(QRegularExpression(QStringLiteral("^[RS] \\((running|sleeping)\\)$")).match(state).hasMatch(),
                 qPrintable(state));
        const QString uid = getStatusField(pid, QStringLiteral("Uid:"), false);
        const QString me = QString::number(getuid());
        QCOMPARE(uid, QStringList(4, me).join(QLatin1Char('\t')));
        QCOMPARE(taskUserName(taskStatusText(TaskDir(pid))), getuid() == 0 ? QStringLiteral("root") : QStringLiteral("EZX"));
    }

    void goneTaskGivesDefaults()
    {
        const pid_t pid = startChild({"/usr/bin/gone"});
        QVERIFY(pid > 0);
        stopChild(pid);
        QCOMPARE(getStatusField(pid, QStringLiteral("VmSize:"), true), QStringLiteral("VmSize:"));
        QCOMPARE(getStatusField(pid, QStringLiteral("Threads:"), false), QString());
        QCOMPARE(taskUserName(taskStatusText(TaskDir(pid))), QStringLiteral("EZX"));
        QVERIFY(taskState(taskStatusText(TaskDir(pid))).isEmpty());
        QVERIFY(taskMappedPaths(pid).isEmpty());
    }

    // Captured tasks read through their folders, as a live one is: this
    // machine's, a phone's, one whose name carries other lines' keys, and
    // one with a doubled line and no final line feed.
    void capturedTasks_data()
    {
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("vmSize");
        QTest::addColumn<QString>("threads");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QStringList>("mapped");  // the first path and the last
        QTest::addColumn<int>("mappedCount");
        QTest::addColumn<QString>("cmdline");
        QTest::newRow("this machine") << 13939 << QStringLiteral("VmSize: 2920 kB") << QStringLiteral("1")
                                      << QStringLiteral("root") << QStringLiteral("S (sleeping)")
                                      << QStringList{QStringLiteral("/usr/bin/sleep"),
                                                     QStringLiteral("/usr/lib/x86_64-linux-gnu/ld-linux-x86-64.so.2")}
                                      << 16 << QStringLiteral("/usr/bin/sleep 600 ");
        // A System V segment, a path within another, [heap] and [stack]: skipped.
        QTest::newRow("phone") << 312 << QStringLiteral("VmSize: 12345 kB") << QStringLiteral("3") << QStringLiteral("root")
                               << QStringLiteral("S (sleeping)")
                               << QStringList{QStringLiteral("/usr/SYSqtapp/phone/phone"), QStringLiteral("/usr/lib/libc.so.6")}
                               << 3 << QStringLiteral("/usr/SYSqtapp/phone/phone ");
        QTest::newRow("name with other keys") << 777 << QStringLiteral("VmSize:") << QStringLiteral("1")
                                              << QStringLiteral("EZX") << QStringLiteral("R (running)") << QStringList() << 0
                                              << QStringLiteral("/lib/ld-linux.so.2 /mmc/mmca1/app/app -x ");
        QTest::newRow("doubled line, no final line feed") << 1000 << QStringLiteral("VmSize: 1234 kB") << QString()
                                                          << QStringLiteral("EZX") << QString() << QStringList() << 0
                                                          << QStringLiteral("app");
    }
    void capturedTasks()
    {
        QFETCH(int, pid);
        QFETCH(QStringList, mapped);
        const TaskDir task(pid, testfiles::fixture(QStringLiteral("process/fixtures/proc")));
        QVERIFY(task.isOpen());
        const QByteArray status = taskStatusText(task);
        QTEST(statusField(status, QStringLiteral("VmSize:"), true), "vmSize");
        QTEST(statusField(status, QStringLiteral("Threads:"), false), "threads");
        QTEST(taskUserName(status), "user");
        QTEST(taskState(status), "state");
        const QStringList paths = taskMappedPaths(task);
        QCOMPARE((paths.isEmpty() ? QStringList() : QStringList{paths.first(), paths.last()}), mapped);
        QTEST(int(paths.size()), "mappedCount");
        QTEST(readCmdline(task), "cmdline");
    }

    void missingFileGivesTheKey()
    {
        QCOMPARE(getStatusField(m_dir.filePath(QStringLiteral("none")), QStringLiteral("Uid:"), true),
                 QStringLiteral("Uid:"));
    }

    void userRule()
    {
        QCOMPARE(userNameForUid(QStringLiteral("0\t0\t0\t0")), QStringLiteral("root"));
        QCOMPARE(userNameForUid(QStringLiteral("0\t0\t0\t1")), QStringLiteral("EZX"));
        QCOMPARE(userNameForUid(QStringLiteral("0 0 0 0")), QStringLiteral("EZX"));
        QCOMPARE(userNameForUid(QString()), QStringLiteral("EZX"));
    }

    void mapsFilter()
    {
        // Trailing blanks are not part of a path, inner ones are.
        const QString maps = QStringLiteral("7f40-7f50 r-xp 00000000 08:01 5 /lib/ld-linux.so.2  \n"
                                            "7f50-7f60 r-xp 00000000 08:01 6 /usr/lib/lib with blank.so\n");
        QCOMPARE(mappedPaths(maps),
                 (QStringList{QStringLiteral("/lib/ld-linux.so.2"), QStringLiteral("/usr/lib/lib with blank.so")}));
        QVERIFY(mappedPaths(QString()).isEmpty());
    }

    void realChildMaps()
    {
        ChildGroup children;
        const pid_t pid = children.start({"/usr/bin/x"});
        QVERIFY(pid > 0);
        const QStringList paths = taskMappedPaths(pid);
        // The program is mapped in several segments and listed once, first.
        QVERIFY(!paths.isEmpty());
        QCOMPARE(paths.first(), QString::fromLocal8Bit(sleeperPath()));
        QCOMPARE(paths.count(paths.first()), 1);
        QStringList unique = paths;
        QCOMPARE(unique.removeDuplicates(), 0);
        for (const QString& p : paths)
            QVERIFY2(p.startsWith(QLatin1Char('/')), qPrintable(p));
    }
};
ZK_TEST(ProcStatusTest)
#include "procstatus_test.moc"
