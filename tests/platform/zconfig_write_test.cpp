// ZConfig::flush(): the target is replaced whole or not at all.
#include "platform/zconfig.h"
#include "tests/common/logcapture.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <atomic>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testfiles;

namespace {

// Runs a write-and-flush of one key; as root it runs in a child process with
// the rights of "nobody", since root may write into read-only folders.
bool flushAsUnprivileged(const QString& path)
{
    auto attempt = [&path] {
        ZConfig cfg(path, false);
        cfg.writeEntry("General", "TimeInCaption", true);
        return cfg.flush();
    };
    if (::geteuid() != 0)
        return attempt();
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && attempt();
        std::fflush(stdout);
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

class ZConfigWriteTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    // Even under a careless umask nobody else may write the store's file
    // or the folders made for it; the umask still decides the rest.
    void filesAndFoldersAreNeverWorldWritable()
    {
        QTemporaryDir tmp;
        const QString folder = tmp.path() + "/made/here";
        const QString path = folder + "/zKestrel.cfg";
        const mode_t old = ::umask(0);
        ZConfig cfg(path, false);
        cfg.writeEntry("App", "name0", "Clock");
        const bool flushed = cfg.flush();
        ::umask(old);
        QVERIFY(flushed);
        struct stat st = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0664));
        QCOMPARE(::stat(QFile::encodeName(folder).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0775));
        QCOMPARE(::stat(QFile::encodeName(tmp.path() + "/made").constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0775));

        // A file someone made world-writable loses only that bit; a private
        // one stays private.
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0666), 0);
        ZConfig again(path, false);
        again.writeEntry("App", "name1", "Notes");
        QVERIFY(again.flush());
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0664));
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0600), 0);
        ZConfig third(path, false);
        third.writeEntry("App", "name2", "Snake");
        QVERIFY(third.flush());
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
    }

    void initTestCase()
    {
        // Let the unprivileged child reach the folders below.
        QVERIFY(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755) == 0);
    }

    void missingFoldersAreCreated()
    {
        const QString path = m_dir.filePath("a/b/c/setup/zKestrel.cfg");
        ZConfig cfg(path, false);
        cfg.writeEntry("Task", "ShowAllTask", true);
        QVERIFY(cfg.flush());
        QCOMPARE(ZConfig(path, false).readBoolEntry("Task", "ShowAllTask", false), true);
    }

    void readerNeverSeesAHalfWrittenFile()
    {
        const QString path = m_dir.filePath("busy.cfg");
        const int size = 256 * 1024;
        auto version = [size](char c) {
            return "[G]\nData = " + QByteArray(size, c) + "\nEnd = yes\n";
        };
        QVERIFY(writeFile(path, version('A')));

        std::atomic<bool> done{false};
        std::atomic<int> failedFlushes{0};
        std::thread writer([&] {
            for (int i = 0; i < 150; ++i) {
                ZConfig cfg(path, false);
                cfg.writeEntry("G", "Data", QString(size, QLatin1Char(i % 2 ? 'A' : 'B')));
                if (!cfg.flush())
                    ++failedFlushes;
            }
            done = true;
        });
        int reads = 0;
        int torn = 0;
        QByteArray sample;
        while (!done) {
            const QByteArray seen = fileBytes(path);
            ++reads;
            if (seen != version('A') && seen != version('B')) {
                ++torn;
                sample = seen.left(40);
            }
        }
        writer.join();
        QCOMPARE(failedFlushes.load(), 0);
        QVERIFY(reads > 0);
        QVERIFY2(torn == 0, sample.constData());
        QCOMPARE(fileBytes(path), version('A'));
    }

    void failureInAReadOnlyFolderLeavesTheOldFile()
    {
        const QString folder = m_dir.filePath("readonly");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/zKestrel.cfg";
        const QByteArray original = "# mine\n[General]\nTimeInCaption = false\n";
        QVERIFY(writeFile(path, original));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);

        LogCapture log;
        const bool flushed = flushAsUnprivileged(path);
        const QStringList lines = log.finish();
        ::chmod(QFile::encodeName(folder).constData(), 0755);

        QVERIFY(!flushed);
        QCOMPARE(fileBytes(path), original);
        QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{"zKestrel.cfg"});
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first().startsWith("ZConfig: cannot write " + path));
    }

    void failureToMakeTheTemporaryFileLeavesTheOldFile()
    {
        // The temporary file's name is the target's plus a suffix: with a
        // name at the system's limit it cannot be made, even by root.
        const QString folder = m_dir.filePath("longname");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + '/' + QString(255, QLatin1Char('n'));
        const QByteArray original = "[G]\nk = old\n";
        QVERIFY(writeFile(path, original));

        LogCapture log;
        ZConfig cfg(path, false);
        cfg.writeEntry("G", "k", QStringLiteral("new"));
        const bool flushed = cfg.flush();
        const QStringList lines = log.finish();

        QVERIFY(!flushed);
        QCOMPARE(fileBytes(path), original);
        QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).size(), 1);
        QCOMPARE(lines.size(), 1);
    }

    void folderThatCannotBeMadeFailsWithOneLogLine()
    {
        const QString blocker = m_dir.filePath("plainfile");
        QVERIFY(writeFile(blocker, "x"));
        LogCapture log;
        ZConfig cfg(blocker + "/setup/zKestrel.cfg", false);
        cfg.writeEntry("G", "k", 1);
        const bool flushed = cfg.flush();
        const QStringList lines = log.finish();
        QVERIFY(!flushed);
        QCOMPARE(fileBytes(blocker), QByteArray("x"));
        QCOMPARE(lines.size(), 1);
    }

    void fileThatCouldNotBeReadIsNeverReplaced()
    {
        // An oversized file reads as empty; writing our few keys over it
        // would throw away everything it holds.
        const QString path = m_dir.filePath("huge.cfg");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.write("[G]\nk = 1\n") > 0);
            QVERIFY(f.resize(65 * 1024 * 1024 + 1));
        }
        LogCapture log;
        bool flushed = true;
        QString value;
        {
            ZConfig cfg(path, false);
            value = cfg.readEntry("G", "k", "default");
            cfg.writeEntry("G", "k", 2);
            flushed = cfg.flush();
        }
        const QStringList lines = log.finish();
        QCOMPARE(value, QStringLiteral("default"));
        QVERIFY(!flushed);
        QCOMPARE(QFileInfo(path).size(), qint64(65 * 1024 * 1024 + 1));
        QCOMPARE(lines.size(), 2);
        QFile::remove(path);
    }

    // A writer killed while it wrote leaves its temporary file; the next
    // flush takes it over instead of leaving a new one beside it each time.
    void temporaryFileOfAKilledWriterIsTakenOver()
    {
        const QString folder = m_dir.filePath("killed");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/zKestrel.cfg";
        QVERIFY(writeFile(path, "[G]\nk = old\n"));
        QVERIFY(writeFile(path + ".tmp", QByteArray(100000, 'x')));
        for (int i = 0; i < 3; ++i) {
            ZConfig cfg(path, false);
            cfg.writeEntry("G", "k", i);
            QVERIFY(cfg.flush());
        }
        QCOMPARE(fileBytes(path), QByteArray("[G]\nk = 2\n"));
        QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{"zKestrel.cfg"});
    }

    // Flushes of one file from several writers at once take turns: every
    // file a reader sees is whole, and nothing is left beside it.
    void writersAtOnceTakeTurns()
    {
        const QString folder = m_dir.filePath("turns");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/zKestrel.cfg";
        auto version = [](int writer, int n) {
            return QString(20000 + writer * 1000 + n, QLatin1Char(static_cast<char>('a' + writer)));
        };
        std::atomic<int> running{4};
        std::atomic<int> failed{0};
        std::vector<std::thread> writers;
        for (int w = 0; w < 4; ++w) {
            writers.emplace_back([&, w] {
                for (int n = 0; n < 60; ++n) {
                    ZConfig cfg(path, false);
                    cfg.writeEntry("G", "v", version(w, n));
                    cfg.writeEntry("G", "end", n);
                    if (!cfg.flush())
                        ++failed;
                }
                --running;
            });
        }
        // Whole: the header, one writer's value throughout, the end line.
        auto whole = [](const QByteArray& seen) {
            const QList<QByteArray> lines = seen.split('\n');
            if (lines.size() != 4 || lines[0] != "[G]" || !lines[1].startsWith("v = ") || !lines[2].startsWith("end = ")
                || !lines[3].isEmpty())
                return false;
            const QByteArray v = lines[1].mid(4);
            return v.size() >= 20000 && v.count(v.at(0)) == v.size();
        };
        int reads = 0;
        int torn = 0;
        while (running > 0) {
            const QByteArray seen = fileBytes(path);
            if (seen == "<unreadable>")
                continue;
            ++reads;
            if (!whole(seen))
                ++torn;
        }
        for (std::thread& t : writers)
            t.join();
        QCOMPARE(failed.load(), 0);
        QVERIFY(reads > 0);
        QCOMPARE(torn, 0);
        ZConfig last(path, false);
        const QString v = last.readEntry("G", "v");
        QVERIFY(v.size() >= 20000 && v.size() < 24000);
        QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{"zKestrel.cfg"});
    }

    // Two processes flushing different keys of one file at once: each
    // flush applies its own writes to the file as it is then, so neither
    // undoes the other; of two writes of one key the last flush wins.
    void writersOfDifferentKeysKeepEachOthers()
    {
        const QString path = m_dir.filePath("shared/zKestrel.cfg");
        const QStringList names{QStringLiteral("first"), QStringLiteral("second")};
        std::fflush(stdout);
        std::vector<pid_t> children;
        for (const QString& name : names) {
            if ((children.emplace_back(::fork())) == 0) {
                bool ok = true;
                for (int n = 1; n <= 300 && ok; ++n) {
                    ZConfig cfg(path, false);
                    cfg.writeEntry("Both", name, n);
                    cfg.writeEntry(name, name + QString::number(n), n);
                    ok = cfg.flush();
                }
                ::_exit(ok ? 0 : 1);
            }
        }
        for (const pid_t child : children) {
            int status = 0;
            QVERIFY(::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        ZConfig early(path, false);
        for (const QString& name : names) {
            for (int n = 1; n <= 300; ++n)
                QCOMPARE(early.readNumEntry(name, name + QString::number(n), -1), n);
        }
        QCOMPARE(early.readNumEntry("Both", "first", -1), 300);
        QCOMPARE(early.readNumEntry("Both", "second", -1), 300);
        ZConfig late(path, false);
        early.writeEntry("Both", "first", 1);
        late.writeEntry("Both", "first", 2);
        QVERIFY(late.flush() && early.flush());
        QCOMPARE(ZConfig(path, false).readNumEntry("Both", "first", -1), 1);
    }

    // A link planted at the temporary file's name is not written through.
    void linkAtTheTemporaryNameIsNotFollowed()
    {
        const QString folder = m_dir.filePath("planted");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/zKestrel.cfg";
        const QString victim = m_dir.filePath("victim");
        QVERIFY(writeFile(victim, "precious"));
        QVERIFY(QFile::link(victim, path + ".tmp"));
        ZConfig cfg(path, false);
        cfg.writeEntry("G", "k", 1);
        QVERIFY(cfg.flush());
        QCOMPARE(fileBytes(victim), QByteArray("precious"));
        QCOMPARE(fileBytes(path), QByteArray("[G]\nk = 1\n"));
        QVERIFY(!QFileInfo::exists(path + ".tmp"));
    }

    // A configuration file that is a link stays one: the file it points to
    // is replaced, with its permissions.
    void linkedFileIsReplacedThroughTheLinkWithItsPermissions()
    {
        const QString folder = m_dir.filePath("linked");
        QVERIFY(QDir().mkpath(folder + "/real"));
        const QString real = folder + "/real/store.cfg";
        const QString path = folder + "/zKestrel.cfg";
        QVERIFY(writeFile(real, "# mine\n[G]\nk = 1\n"));
        QVERIFY(::chmod(QFile::encodeName(real).constData(), 0600) == 0);
        QVERIFY(QFile::link(real, path));
        ZConfig cfg(path, false);
        cfg.writeEntry("G", "k", 2);
        QVERIFY(cfg.flush());
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(fileBytes(real), QByteArray("# mine\n[G]\nk = 2\n"));
        struct stat st = {};
        QVERIFY(::stat(QFile::encodeName(real).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, 0600u);
        QCOMPARE(QDir(folder + "/real").entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{"store.cfg"});
    }
};

ZK_TEST(ZConfigWriteTest)
#include "zconfig_write_test.moc"
