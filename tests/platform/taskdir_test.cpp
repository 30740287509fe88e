// One task's folder in the process table, and the read that goes to the end
// of a kernel file whatever size it reports.
#include "platform/boundedread.h"
#include "platform/taskdir.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"

#include <QTemporaryDir>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

class TaskDirTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;

    QString under(const QString& relative) const { return m_root.filePath(relative); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QVERIFY(testfiles::writeFile(under(QStringLiteral("123/cmdline")), QByteArray("/usr/bin/calc\0-x\0", 17)));
        QVERIFY(testfiles::writeFile(under(QStringLiteral("123/status")), "Name:\tcalc\nState:\tS (sleeping)\n"));
        QVERIFY(testfiles::writeFile(under(QStringLiteral("elsewhere/status")), "Name:\tforged\n"));
        // A name in the table that is a link, as "self" is in /proc, and a
        // file of a task's folder that is a link.
        QVERIFY(QFile::link(under(QStringLiteral("123")), under(QStringLiteral("456"))));
        QVERIFY(QFile::link(under(QStringLiteral("elsewhere/status")), under(QStringLiteral("123/maps"))));
    }

    void readsTheFilesOfATaskInATableOfItsOwn()
    {
        const TaskDir task(123, m_root.path());
        QVERIFY(task.isOpen());
        QCOMPARE(task.pid(), 123);
        QCOMPARE(task.read("cmdline", 254), std::optional<QByteArray>(QByteArray("/usr/bin/calc\0-x\0", 17)));
        QCOMPARE(task.read("cmdline", 5), std::optional<QByteArray>(QByteArray("/usr/b")));
        QVERIFY(!task.read("stat", 4096).has_value());
    }

    void followsNoLink()
    {
        QVERIFY(!TaskDir(456, m_root.path()).isOpen());
        QVERIFY(!TaskDir(123, m_root.path()).read("maps", 4096).has_value());
        QVERIFY(!TaskDir(789, m_root.path()).isOpen());
        QVERIFY(!TaskDir(0).isOpen());
        QVERIFY(!TaskDir(-1).isOpen());
    }

    void readsThisProcessesOwnFolder()
    {
        const TaskDir self(static_cast<int>(getpid()));
        QVERIFY(self.isOpen());
        QVERIFY(self.read("status", 64 * 1024).value_or(QByteArray()).startsWith("Name:"));
        QVERIFY(self.read("stat", 4096).value_or(QByteArray()).startsWith(QByteArray::number(getpid()) + " ("));
        QVERIFY(!self.read("cmdline", 254).value_or(QByteArray()).isEmpty());
        QVERIFY(self.entries("task").contains(QByteArray::number(getpid())));
    }

    // The folder stays the ended task's: it does not answer for whatever
    // process comes next under that pid.
    void endedTaskAnswersNoMore()
    {
        const pid_t child = fork();
        if (child == 0) {
            pause();
            _exit(0);
        }
        QVERIFY(child > 0);
        const TaskDir task(static_cast<int>(child));
        QVERIFY(task.isOpen());
        QVERIFY(task.read("stat", 4096).has_value());
        ::kill(child, SIGKILL);
        QCOMPARE(waitpid(child, nullptr, 0), child);
        QVERIFY(!task.read("stat", 4096).has_value());
        QVERIFY(!task.read("cmdline", 254).has_value());
    }

    // A pipe, like a kernel file, reports no size: the read goes on until
    // read() returns nothing, and stops one byte past the limit.
    void readGoesToTheEndNotToAReportedSize()
    {
        const QByteArray text(10000, 'p');
        for (const qint64 limit : {qint64(1 << 20), qint64(4096)}) {
            int ends[2];
            QCOMPARE(pipe(ends), 0);
            QCOMPARE(write(ends[1], text.constData(), static_cast<size_t>(text.size())), ssize_t(text.size()));
            close(ends[1]);
            const QByteArray read = readFdAtMost(ends[0], limit);
            close(ends[0]);
            QCOMPARE(read.size(), std::min<qint64>(text.size(), limit + 1));
        }
        QVERIFY(!readFileAtMost(under(QStringLiteral("missing")), 10).has_value());
    }
};

ZK_TEST(TaskDirTest)

#include "taskdir_test.moc"
