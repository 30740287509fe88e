// The task list while hundreds of short-lived processes start and end:
// scans by the walk itself and by the real main window must not crash, list
// no pid that never had a window, and never show one process's name on
// another's row.
#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/listrowitem.h"
#include "ezx/zlistbox.h"
#include "process/procwalk.h"
#include "tests/common/ztest.h"
#include "tests/process/churnspawner.h"
#include "tests/process/nameowners.h"
#include "tests/process/taskwindow.h"
#include "ui/zkestrel.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>

#include <cstdio>

#include <unistd.h>

using namespace zk::proc;

using namespace taskwindow;

namespace {
// How many processes the spawner starts; ZK_CHURN_PROCESSES sets another.
int churnSize()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ZK_CHURN_PROCESSES", &ok);
    return ok && n > 0 ? n : 400;
}

// One row or entry as a scan gave it.
struct Seen
{
    int pid;
    QString text;
    bool noWindow;
    // The text is the short name (rows of the window), not the command
    // line (windowless entries of the walk).
    bool shortName;
};

// What the checks found, over all scans.
struct Tally
{
    int scans = 0;
    int rows = 0;
    int ours = 0;       // rows of processes the spawner started
    int foreign = 0;    // windowless rows of other processes of the machine
    int undecided = 0;  // the pid changed hands during the scan
    QStringList faults;
};
}

class ChurnTest : public QObject
{
    Q_OBJECT

    ZKestrel* window = nullptr;
    std::unique_ptr<WindowOwnerWatch> owners;
    const int self = static_cast<int>(getpid());
    const QString selfName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();

    // Judges the rows of one scan made between fromNs and toNs.
    void check(const QList<Seen>& seen, qint64 fromNs, qint64 toNs, const QList<Life>& lives, Tally& tally,
               const char* scan)
    {
        // Let the owner signals that came with the scan's answers in.
        QCoreApplication::processEvents();
        QMultiHash<int, const Life*> byPid;
        for (const Life& life : lives)
            byPid.insert(life.pid, &life);
        ++tally.scans;
        for (const Seen& row : seen) {
            ++tally.rows;
            const QString fault = judge(row, fromNs, toNs, byPid.values(row.pid), tally);
            if (!fault.isEmpty())
                tally.faults << QStringLiteral("%1: pid %2 \"%3\"%4: %5")
                                    .arg(QLatin1String(scan))
                                    .arg(row.pid)
                                    .arg(row.text)
                                    .arg(row.noWindow ? QStringLiteral(" (no window)") : QString())
                                    .arg(fault);
        }
    }

    // Empty when the row is sound, else what is wrong with it.
    QString judge(const Seen& row, qint64 fromNs, qint64 toNs, const QList<const Life*>& sameP, Tally& tally)
    {
        QList<const Life*> candidates;
        for (const Life* life : sameP) {
            if (life->overlaps(fromNs, toNs))
                candidates << life;
        }
        auto shownAs = [&row](const Life* life) {
            return row.shortName ? life->name() == row.text : life->cmdlineText() == row.text;
        };
        if (row.noWindow) {
            if (candidates.isEmpty()) {
                ++tally.foreign;
                return QString();
            }
        } else {
            if (row.pid == self)
                return row.text == selfName ? QString() : QStringLiteral("this test under another name");
            if (!owners->everRegistered(row.pid))
                return QStringLiteral("listed with a window, but no process ever registered one for this pid");
            for (const Life* life : candidates) {
                if (shownAs(life))
                    return life->kind == Life::Window
                               ? (++tally.ours, QString())
                               : QStringLiteral("named after a process that never had a window");
            }
            if (candidates.isEmpty())
                return QStringLiteral("listed with a window, but the pid was no longer one of ours");
        }
        for (const Life* life : candidates) {
            if (shownAs(life)) {
                ++tally.ours;
                return QString();
            }
        }
        for (const Life* life : candidates) {
            if (life->heldPidThroughout(fromNs, toNs))
                return QStringLiteral("not the name of the process that held the pid all through the scan");
        }
        ++tally.undecided;
        return QString();
    }

    static QList<Seen> rowsOf(const QList<TaskEntry>& entries)
    {
        QList<Seen> seen;
        for (const TaskEntry& e : entries)
            seen.append({e.pid, e.text, e.noWindow, !e.noWindow});
        return seen;
    }

    QList<Seen> rowsOfWindow() const
    {
        QList<Seen> seen;
        const ZListBox* list = window->procListBox;
        const QPixmap shell = builtIn(QStringLiteral("sh.png"));
        for (int i = 0; i < list->count(); ++i) {
            const ZListRowItem* r = row(list, i);
            if (!r) {
                seen.append({0, QStringLiteral("<row that is no task row>"), false, true});
                continue;
            }
            // A row shows the short name either way; the shell icon tells a
            // task without a window.
            seen.append({r->getPid(), rowText(list, i), samePicture(rowIcon(list, i), shell), true});
        }
        return seen;
    }

    static void report(const ChurnSpawner& spawner, qint64 startNs,
                       const QList<std::pair<const char*, const Tally*>>& tallies)
    {
        const double seconds = static_cast<double>(monotonicNs() - startNs) / 1e9;
        const QList<Life> lives = spawner.lives();
        int windows = 0;
        for (const Life& life : lives)
            windows += life.kind == Life::Window ? 1 : 0;
        for (const auto& [name, t] : tallies) {
            std::printf("FIGURES churn %s: %d scans, %d rows checked (%d of spawned processes, %d other "
                        "windowless, %d pid changed hands mid-scan), %d faults\n",
                        name, t->scans, t->rows, t->ours, t->foreign, t->undecided,
                        static_cast<int>(t->faults.size()));
        }
        std::printf("FIGURES churn: %d processes spawned (%d window processes; %d sleepers put on a window "
                    "process's pid%s), %d spawn failures, %.1f s\n",
                    static_cast<int>(lives.size()), windows, spawner.pidsReused(),
                    spawner.canReusePids() ? "" : ", pid reuse not available", spawner.spawnFailures(), seconds);
        std::fflush(stdout);
    }

private slots:
    void initTestCase()
    {
        window = create();
        owners = std::make_unique<WindowOwnerWatch>();
        QVERIFY(owners->isWatching());
    }
    void cleanupTestCase()
    {
        destroy(window);
        owners.reset();
    }

    void scansDuringChurn()
    {
        ChurnSpawner::Options options;
        options.processes = churnSize();
        ChurnSpawner spawner(options);

        ScanSettings withWindow;
        ScanSettings alsoWithout;
        alsoWithout.showAppNoWindow = true;
        Tally walk;
        Tally walkAll;
        Tally rows;
        Tally rowsAll;

        const qint64 startNs = monotonicNs();
        spawner.start();
        while (!spawner.finished()) {
            qint64 from = monotonicNs();
            // The window test the main window uses: the copy of the bus's
            // names brought up to date once per scan.
            const QList<Seen> a = rowsOf(scanTasks(withWindow, appWindowsNow(), nullptr, windowOwnersNow()));
            qint64 to = monotonicNs();
            check(a, from, to, spawner.lives(), walk, "walk");

            from = monotonicNs();
            const QList<Seen> b = rowsOf(scanTasks(alsoWithout, appWindowsNow(), nullptr, windowOwnersNow()));
            to = monotonicNs();
            check(b, from, to, spawner.lives(), walkAll, "walk, windowless too");

            gSettings->showAppNoWindow = (rows.scans + rowsAll.scans) % 2 == 1;
            from = monotonicNs();
            window->buildProcList();
            to = monotonicNs();
            check(rowsOfWindow(), from, to, spawner.lives(), gSettings->showAppNoWindow ? rowsAll : rows,
                  "window");
        }
        spawner.join();
        resetSettings();

        report(spawner, startNs,
               {{"walk", &walk}, {"walk+nowindow", &walkAll}, {"window", &rows}, {"window+nowindow", &rowsAll}});
        const QStringList faults = walk.faults + walkAll.faults + rows.faults + rowsAll.faults;
        for (const QString& f : faults.mid(0, 20))
            qWarning("%s", qPrintable(f));
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 wrong rows").arg(faults.size())));
        QCOMPARE(spawner.spawnFailures(), 0);
        // The churn reached the list at all, with and without windows.
        QVERIFY(walk.ours > 0 && rows.ours > 0);
        QVERIFY(walkAll.ours > walk.ours);
    }

    // The checks above can fail: a window test that never forgets a window
    // (as a stale copy of the bus's names would) lists the sleeper that
    // took over a window process's pid under its own name.
    void staleWindowTestIsCaught()
    {
        ChurnSpawner::Options options;
        options.processes = churnSize() / 2;
        options.maxReusedLifeUs = 100000;
        ChurnSpawner spawner(options);
        if (!spawner.canReusePids())
            QSKIP("this system does not let the test choose the next pid");
        const WindowOwnerWatch* watch = owners.get();
        const auto neverForgets = [watch](int pid) { return watch->everRegistered(pid); };

        Tally stale;
        const qint64 startNs = monotonicNs();
        spawner.start();
        while (!spawner.finished()) {
            // The copy learns of new windows between scans, as a mirror fed
            // by the bus's signals would.
            QCoreApplication::processEvents();
            const qint64 from = monotonicNs();
            const QList<Seen> seen = rowsOf(scanTasks(ScanSettings(), neverForgets));
            const qint64 to = monotonicNs();
            check(seen, from, to, spawner.lives(), stale, "stale");
        }
        spawner.join();
        report(spawner, startNs, {{"stale window test", &stale}});
        if (spawner.pidsReused() == 0)
            QSKIP("no sleeper got a window process's pid this time");
        QVERIFY2(!stale.faults.isEmpty(), "a stale window test went unnoticed");
        QVERIFY(stale.faults.filter(QStringLiteral("never had a window")).size() > 0);
    }
};

ZK_TEST(ChurnTest)
#include "churn_test.moc"
