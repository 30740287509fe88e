#include "process/procstatus.h"
#include "platform/taskdir.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"
#include "tests/process/childprocs.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <unistd.h>

using namespace zk::proc;

// The details dialog's figures: status fields and the mapped files.
class ProcStatusTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeStatus(const QString& name, const QByteArray& text)
    {
        const QString path = m_dir.filePath(name);
        return testfiles::writeFile(path, text) ? path : QString();
    }

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
    }
    void statFieldsStartAfterTheName()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, state);
        QFETCH(QByteArray, startTime);
        const QList<QByteArray> fields = statFieldsAfterName(line);
        QCOMPARE(fields.value(0), state);
        QCOMPARE(fields.value(19), startTime);
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

    void writtenStatusFiles()
    {
        // A kernel thread has no memory lines; its name is chosen freely and
        // here carries another line's key.
        const QString kthread = writeStatus(QStringLiteral("kthread"),
                                            "Name:\tVmSize: 99 kB\n"
                                            "State:\tS (sleeping)\n"
                                            "Uid:\t0\t0\t0\t0\n"
                                            "Threads:\t1\n");
        QCOMPARE(getStatusField(kthread, QStringLiteral("VmSize:"), true), QStringLiteral("VmSize:"));
        QCOMPARE(getStatusField(kthread, QStringLiteral("VmSize:"), false), QString());
        QCOMPARE(getStatusField(kthread, QStringLiteral("Uid:"), false), QStringLiteral("0\t0\t0\t0"));

        const QString user = writeStatus(QStringLiteral("user"),
                                         "Name:\tapp\n"
                                         "Uid:\t0\t1000\t0\t0\n"
                                         "VmSize:\t  1234 kB\n"
                                         "VmSize:\t  5 kB\n");
        QCOMPARE(getStatusField(user, QStringLiteral("VmSize:"), true), QStringLiteral("VmSize: 1234 kB"));
        QCOMPARE(getStatusField(user, QStringLiteral("VmSize:"), false), QStringLiteral("1234 kB"));
        QCOMPARE(userNameForUid(getStatusField(user, QStringLiteral("Uid:"), false)), QStringLiteral("EZX"));

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
        const QString maps = QStringLiteral(
            "00400000-00401000 r-xp 00000000 08:01 1 /usr/bin/app\n"
            "00600000-00601000 rw-p 00000000 08:01 1 /usr/bin/app\n"
            "01000000-01021000 rw-p 00000000 00:00 0 [heap]\n"
            "7f00-7f10 r-xp 00000000 08:01 2 /usr/lib/libc.so.6\n"
            "7f10-7f20 r--p 00000000 08:01 2 /usr/lib/libc.so.6\n"
            "7f20-7f30 r--p 00000000 08:01 3 /lib/libc.so\n"
            "7f30-7f40 rw-s 00000000 00:04 4 /SYSV00001234 (deleted)\n"
            "7f40-7f50 r-xp 00000000 08:01 5 /lib/ld-linux.so.2  \n"
            "7f50-7f60 r-xp 00000000 08:01 6 /usr/lib/lib with blank.so\n"
            "7ffc-7ffd rw-p 00000000 00:00 0 [stack]\n");
        QCOMPARE(mappedPaths(maps), (QStringList{QStringLiteral("/usr/bin/app"), QStringLiteral("/usr/lib/libc.so.6"),
                                                 QStringLiteral("/lib/ld-linux.so.2"),
                                                 QStringLiteral("/usr/lib/lib with blank.so")}));
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
