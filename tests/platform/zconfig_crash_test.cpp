// A writer of the configuration file killed with SIGKILL at random moments:
// after every kill the file holds one whole version (the last one flushed,
// or the one being flushed), keeps the lines nobody asked to change, and
// the folder holds nothing else. The writer (tests/helpers/zk_config_writer)
// uses the program's own ZConfig and favourites code; the plan of what it
// writes is tests/helpers/crashplan.h.
//
// ZK_CRASH_KILLS (default 200) sets the number of kills, ZK_CRASH_SEED the
// seed of the random delays (logged either way). Runs longer than five
// minutes need QTEST_FUNCTION_TIMEOUT (in ms) raised as well. The file lives on
// /dev/shm when there is one (ZK_CRASH_DIR chooses another folder): a kill
// stops the writer where it is whatever the file system, and without the
// disk's sync times many more flushes fit into the run.
#include "catalogue/favourites.h"
#include "core/zsettings.h"
#include "platform/devicepath.h"
#include "platform/inisyntax.h"
#include "platform/zconfig.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"
#include "tests/helpers/crashplan.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <random>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testfiles;

extern char** environ;

namespace {

const QByteArray foreignText =
    "# zKestrel settings; the hand-made lines below must survive every rewrite\n"
    "[General]\n"
    "; a comment inside a group\n"
    "Unknown = keep me \\q ; not a comment\n"
    "\n"
    "[Foreign Group]\n"
    "path=C:\\apps\\x\n"
    "this line is neither a key nor a group\n"
    "caf\xe9 = a Latin-1 byte, not UTF-8\n"
    "[App]\n"
    "name19 = Hand-made favourite\n"
    "run19 = /bin/true\n";

// One run of the writer as a child whose standard output is a pipe.
class WriterRun
{
public:
    WriterRun(const QByteArray& program, const QByteArray& writePath, const QByteArray& steps = QByteArray())
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return;
        m_read = fds[0];
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);

        QList<QByteArray> env;
        for (char** e = environ; *e; ++e) {
            if (!QByteArray(*e).startsWith("EZX_APP_WRITE_PATH="))
                env << QByteArray(*e);
        }
        env << "EZX_APP_WRITE_PATH=" + writePath;
        std::vector<char*> envp;
        for (QByteArray& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        QByteArray arg0 = program;
        QByteArray arg1 = steps;
        char* argv[] = {arg0.data(), steps.isEmpty() ? nullptr : arg1.data(), nullptr};

        if (posix_spawn(&m_pid, program.constData(), &actions, nullptr, argv, envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
    }
    ~WriterRun()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_read >= 0)
            ::close(m_read);
    }
    WriterRun(const WriterRun&) = delete;
    WriterRun& operator=(const WriterRun&) = delete;

    bool started() const { return m_pid > 0 && m_read >= 0; }

    // Waits (bounded) until the writer has read the file.
    bool waitReady()
    {
        QElapsedTimer clock;
        clock.start();
        while (!m_text.contains("ready ")) {
            const qint64 left = 60000 - clock.elapsed();
            if (left <= 0 || !readSome(static_cast<int>(left)))
                return false;
        }
        return true;
    }

    // SIGKILL, reap, and read what it said up to then. Returns the wait status.
    int killNow()
    {
        ::kill(m_pid, SIGKILL);
        return reap();
    }

    // Waits for a run with a step count to end by itself.
    int reap()
    {
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        while (readSome(60000)) {
        }
        return status;
    }

    // The number after the last line that starts with `what`, or -2.
    qint64 last(const char* what) const
    {
        qint64 n = -2;
        const QByteArray prefix = QByteArray(what) + ' ';
        for (const QByteArray& line : m_text.split('\n')) {
            if (line.startsWith(prefix))
                n = line.mid(prefix.size()).toLongLong();
        }
        return n;
    }
    bool said(const char* what) const { return last(what) != -2; }
    QByteArray text() const { return m_text; }

private:
    bool readSome(int timeoutMs)
    {
        pollfd p{m_read, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return false;
        char buffer[4096];
        const ssize_t n = ::read(m_read, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        m_text.append(buffer, n);
        return true;
    }

    pid_t m_pid = -1;
    int m_read = -1;
    QByteArray m_text;
};

void sleepMicroseconds(qint64 us)
{
    timespec t{static_cast<time_t>(us / 1000000), static_cast<long>((us % 1000000) * 1000)};
    while (::nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

QString crashFolder()
{
    QString base = qEnvironmentVariable("ZK_CRASH_DIR");
    if (base.isEmpty())
        base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return base + QStringLiteral("/zk-crash-XXXXXX");
}

qint64 envNumber(const char* name, qint64 def)
{
    bool ok = false;
    const qint64 n = qEnvironmentVariable(name).toLongLong(&ok);
    return ok ? n : def;
}

}  // namespace

class ZConfigCrashTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir{crashFolder()};
    QString m_configPath;
    crashplan::Values m_initial;  // the planned keys as the hand-made file has them
    std::vector<ini::Line> m_foreignLines;
    qint64 m_lastStep = -1;

    QString setupFolder() const { return m_dir.path() + QStringLiteral("/setup"); }

    crashplan::Values expectedAt(qint64 step) const
    {
        crashplan::Values v = m_initial;
        const crashplan::Values planned = crashplan::expectedAfter(step);
        for (auto it = planned.cbegin(); it != planned.cend(); ++it)
            v[it.key()] = it.value();
        return v;
    }

    // Everything a file left by a killed writer must be. Empty when it is.
    QString faultsIn(const QByteArray& bytes, qint64 step) const
    {
        if (!bytes.endsWith('\n'))
            return QStringLiteral("the file does not end with a line end");
        // Every hand-made line is still there, byte for byte and in order;
        // every other line is a group, an entry or blank.
        const std::vector<ini::Line> lines = ini::parseLines(bytes);
        size_t foreign = 0;
        for (const ini::Line& line : lines) {
            if (foreign < m_foreignLines.size() && line.raw == m_foreignLines[foreign].raw) {
                ++foreign;
                continue;
            }
            if (line.kind == ini::Line::Other || line.kind == ini::Line::Comment)
                return QStringLiteral("an unexpected line: ") + QString::fromLatin1(line.raw.left(60));
        }
        if (foreign != m_foreignLines.size())
            return QStringLiteral("hand-made line lost: ") + QString::fromLatin1(m_foreignLines[foreign].raw);

        // The values are those of one step, all of them.
        QTemporaryDir copyDir;
        const QString copy = copyDir.filePath("copy.cfg");
        QFile out(copy);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            return QStringLiteral("cannot copy the file");
        out.close();
        const ZConfig config(copy, false);
        const crashplan::Values expected = expectedAt(step);
        for (const crashplan::Key& key : crashplan::plannedKeys()) {
            const QString want = expected.value(key, QStringLiteral("<absent>"));
            const QString have = config.readEntry(key.first, key.second, QStringLiteral("<absent>"));
            if (want != have)
                return QStringLiteral("[%1] %2 holds \"%3\" where step %4 gives \"%5\"")
                    .arg(key.first, key.second, have.left(40))
                    .arg(step)
                    .arg(want.left(40));
        }
        return QString();
    }

    // Files in the folder besides the configuration file and the one
    // temporary file that the next flush reuses.
    QStringList strayFiles(bool* temporaryLeft) const
    {
        QStringList names = QDir(setupFolder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System);
        names.removeAll(QStringLiteral("zKestrel.cfg"));
        *temporaryLeft = names.removeAll(QStringLiteral("zKestrel.cfg.tmp")) > 0;
        return names;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QFile::exists(QStringLiteral(ZK_BIN_DIR "/zk_config_writer")));
        m_configPath = setupFolder() + QStringLiteral("/zKestrel.cfg");
        QVERIFY(QDir().mkpath(setupFolder()));
        QFile f(m_configPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(foreignText), foreignText.size());
        f.close();
        // The hand-made lines that must stay as they are: all but the
        // entries of keys the writer itself rewrites.
        const QList<crashplan::Key> planned = crashplan::plannedKeys();
        for (const ini::Line& line : ini::parseLines(foreignText)) {
            if (line.kind != ini::Line::Entry || !planned.contains(crashplan::Key{line.group, line.key}))
                m_foreignLines.push_back(line);
        }
        const ZConfig config(m_configPath, false);
        for (const crashplan::Key& key : crashplan::plannedKeys()) {
            const QString v = config.readEntry(key.first, key.second, QStringLiteral("<absent>"));
            if (v != QStringLiteral("<absent>"))
                m_initial[key] = v;
        }
    }

    void killedWriterLeavesOneWholeVersion()
    {
        const qint64 kills = envNumber("ZK_CRASH_KILLS", 200);
        const quint64 seed = static_cast<quint64>(envNumber("ZK_CRASH_SEED", static_cast<qint64>(std::random_device{}() & 0x7fffffff)));
        std::printf("zconfig crash: seed %llu, %lld kills, in %s\n", static_cast<unsigned long long>(seed),
                    static_cast<long long>(kills), qPrintable(m_dir.path()));
        std::fflush(stdout);
        std::mt19937_64 random(seed);
        std::uniform_real_distribution<double> unit(0.0, 1.0);

        const QByteArray program = ZK_BIN_DIR "/zk_config_writer";
        const QByteArray writePath = QFile::encodeName(m_dir.path());
        QElapsedTimer clock;
        clock.start();
        qint64 step = -1;
        qint64 flushes = 0;
        qint64 killsAtStart = 0;
        qint64 killsMidFlush = 0;  // the file moved on by the step being flushed
        qint64 killsMidWrite = 0;  // the temporary file was left behind
        qsizetype strays = 0;      // other files in the folder
        QString firstStray;
        for (qint64 k = 0; k < kills; ++k) {
            WriterRun run(program, writePath);
            QVERIFY(run.started());
            // One kill in ten lands while the writer starts and reads the
            // file. The others come a random time after it is ready: half of
            // them from 1 us to 2 ms, evenly spread on a logarithmic scale,
            // to hit every part of a flush; half of them from 2 to 30 ms, so
            // that runs flush many times.
            const bool atStart = unit(random) < 0.1;
            const qint64 delay = unit(random) < 0.5 ? static_cast<qint64>(std::pow(2000.0, unit(random)))
                                                    : 2000 + static_cast<qint64>(28000 * unit(random));
            if (atStart) {
                ++killsAtStart;
            } else {
                QVERIFY2(run.waitReady(), run.text().constData());
                sleepMicroseconds(delay);
            }
            const int status = run.killNow();
            QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, run.text().constData());
            QVERIFY2(!run.said("failed"), run.text().constData());

            const QByteArray bytes = fileBytes(m_configPath);
            const ZConfig config(m_configPath, false);
            const qint64 now = crashplan::lastStepIn(config);
            const qint64 reported = run.last("flushed");
            // Nothing flushed is lost; at most the flush under way when the
            // kill came is there besides.
            if (reported >= 0)
                QVERIFY2(now == reported || now == reported + 1,
                         qPrintable(QStringLiteral("kill %1: writer flushed %2, file holds %3").arg(k).arg(reported).arg(now)));
            else
                QVERIFY2(now == step || now == step + 1,
                         qPrintable(QStringLiteral("kill %1: file went from %2 to %3").arg(k).arg(step).arg(now)));
            if (now > std::max(reported, step))
                ++killsMidFlush;
            const QString fault = faultsIn(bytes, now);
            QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("kill %1 (seed %2): %3").arg(k).arg(seed).arg(fault)));
            bool temporaryLeft = false;
            const QStringList stray = strayFiles(&temporaryLeft);
            if (temporaryLeft)
                ++killsMidWrite;
            if (!stray.isEmpty() && firstStray.isEmpty())
                firstStray = QStringLiteral("kill %1 left %2").arg(k).arg(stray.join(' '));
            strays = stray.size();
            flushes += now - step;
            step = now;
        }

        const qint64 killedRunsFlushes = flushes;

        // A last run that ends by itself writes a whole cycle on top.
        {
            WriterRun run(program, writePath, QByteArray::number(crashplan::period * 21));
            QVERIFY(run.started());
            const int status = run.reap();
            QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, run.text().constData());
            const qint64 now = crashplan::lastStepIn(ZConfig(m_configPath, false));
            QCOMPARE(now, step + crashplan::period * 21);
            QCOMPARE(faultsIn(fileBytes(m_configPath), now), QString());
            flushes += now - step;
            step = now;
        }
        m_lastStep = step;
        bool temporaryLeft = false;
        strays = strayFiles(&temporaryLeft).size();
        const bool pass = strays == 0 && !temporaryLeft && killedRunsFlushes > 0;
        std::printf("zconfig crash: seed %llu, kills %lld (%lld while starting, %lld while writing the temporary "
                    "file, %lld between rename and report), flushes %lld, %.1f s, file %lld bytes, "
                    "stray files %lld, outcome %s\n",
                    static_cast<unsigned long long>(seed), static_cast<long long>(kills),
                    static_cast<long long>(killsAtStart), static_cast<long long>(killsMidWrite),
                    static_cast<long long>(killsMidFlush), static_cast<long long>(flushes),
                    static_cast<double>(clock.elapsed()) / 1000.0, static_cast<long long>(QFileInfo(m_configPath).size()),
                    static_cast<long long>(strays), pass ? "pass" : "FAIL");
        std::fflush(stdout);
        // Files left by killed writers do not pile up: the next flush takes
        // the temporary file over, and a writer that ends leaves nothing.
        QVERIFY2(firstStray.isEmpty(), qPrintable(firstStray + QStringLiteral("; %1 in the end").arg(strays)));
        QVERIFY(!temporaryLeft);
        // How many flushes fit between kills depends on the disk; that the
        // killed runs flushed at all does not.
        QVERIFY(killedRunsFlushes > 0);
    }

    // The program's own readers see the last version.
    void settingsAndFavouritesReadBack()
    {
        QVERIFY(m_lastStep >= crashplan::period * 21);
        const QByteArray saved = qgetenv("EZX_APP_WRITE_PATH");
        qputenv("EZX_APP_WRITE_PATH", QFile::encodeName(m_dir.path()));
        QCOMPARE(configFilePath(), m_configPath);

        const crashplan::SettingsValues want = crashplan::settingsFor(m_lastStep - m_lastStep % crashplan::period);
        ZSettings settings;
        const QList<Favourite> favourites = readFavourites();
        qputenv("EZX_APP_WRITE_PATH", saved);

        QCOMPARE(settings.timeInCaption, want.timeInCaption);
        QCOMPARE(settings.sendGoToIdle, want.sendGoToIdle);
        QCOMPARE(settings.hideSystemTasks, !want.showAllTask);
        QCOMPARE(settings.processFilter, want.filter);
        QCOMPARE(settings.panelFontSize, want.panelFontSize);
        QCOMPARE(settings.listFontSize, want.listFontSize);
        QCOMPARE(settings.panelColor.name(), want.panelColor);
        QCOMPARE(settings.useTextColor, want.userFont);
        QCOMPARE(settings.actionOnC, want.actionOnC);
        // Keys the writer never touched keep their defaults.
        QCOMPARE(settings.sendRaisePhone, true);
        QCOMPARE(settings.showInfoByGreen, true);

        const crashplan::Values expected = expectedAt(m_lastStep);
        QCOMPARE(favourites.size(), favouriteSlotCount);
        for (const Favourite& f : favourites) {
            QCOMPARE(f.name, expected.value({crashplan::appGroup, crashplan::nameKey(f.slot)}));
            QCOMPARE(f.run, expected.value({crashplan::appGroup, crashplan::runKey(f.slot)}));
            QCOMPARE(f.icon, expected.value({crashplan::appGroup, crashplan::iconKey(f.slot)}));
        }
    }
};

ZK_TEST(ZConfigCrashTest)
#include "zconfig_crash_test.moc"
