// The key explorer: a seeded random walk over the phone's keys that drives
// the real main window, as a person holding the phone would, and checks
// after every step that the keyboard is where the highlight is and that no
// key did what it should not. A fault prints the seed and the keys that led
// to it, so that it can be replayed:
//
//   ZK_EXPLORER_SEEDS=7,8 ZK_EXPLORER_STEPS=100000 QTEST_FUNCTION_TIMEOUT=86400000
//     tests/run-in-session.sh build/bin/test_process -c KeyExplorerTest
//
// (the two lines as one command; a long walk outlasts QtTest's five-minute
// watchdog, hence its timeout); ZK_EXPLORER_TRACE=1 prints every step.
//
// The tasks on the list are the explorer's own sleeping children; the test
// program gives up its application channel during a walk so that it is
// never a task on the list itself.
#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/languageresources.h"
#include "ezx/listrowitem.h"
#include "ezx/zlistbox.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zoptionsmenu.h"
#include "platform/qcopchannel.h"
#include "platform/zconfig.h"
#include "tests/common/logcapture.h"
#include "tests/common/ztest.h"
#include "tests/process/appchildren.h"
#include "ui/zkestrel.h"

#include <QAbstractEventDispatcher>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <memory>
#include <random>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// The phone's keys as the explorer presses them.
enum class Key {
    Green,
    Red,
    C,
    Up,
    Down,
    Left,
    Right,
    Select,
    LeftSoft,
    RightSoft,
    TaskKey,
    Show
};

const char* keyName(Key key)
{
    switch (key) {
    case Key::Green: return "green";
    case Key::Red: return "red";
    case Key::C: return "C";
    case Key::Up: return "up";
    case Key::Down: return "down";
    case Key::Left: return "left";
    case Key::Right: return "right";
    case Key::Select: return "select";
    case Key::LeftSoft: return "leftsoft";
    case Key::RightSoft: return "rightsoft";
    case Key::TaskKey: return "taskkey";
    case Key::Show: return "show()";
    }
    return "?";
}

int qtKey(Key key)
{
    switch (key) {
    case Key::Green: return Qt::Key_F1;
    case Key::Red: return Qt::Key_F2;
    case Key::C: return Qt::Key_F3;
    case Key::Up: return Qt::Key_Up;
    case Key::Down: return Qt::Key_Down;
    case Key::Left: return Qt::Key_Left;
    case Key::Right: return Qt::Key_Right;
    case Key::Select: return Qt::Key_Return;
    case Key::LeftSoft: return Qt::Key_F10;
    case Key::RightSoft: return Qt::Key_Escape;
    default: return 0;
    }
}

// How often each key comes: mostly moving and selecting, now and then
// leaving and popping up again.
struct Weighted
{
    Key key;
    int weight;
};
const Weighted kKeys[] = {
    {Key::Up, 12},
    {Key::Down, 14},
    {Key::Left, 7},
    {Key::Right, 7},
    {Key::Select, 12},
    {Key::LeftSoft, 10},
    {Key::RightSoft, 8},
    {Key::Green, 4},
    {Key::C, 4},
    {Key::Red, 3},
    {Key::TaskKey, 5},
    {Key::Show, 3},
};

const QRegularExpression kShown(QStringLiteral("^App \\[(\\d+)\\] show$"));
const QRegularExpression kKilled(QStringLiteral("^(?:Killed|Error when kill) a pid \\[(\\d+)\\]$"));

QByteArray keyMessage(int code, int type)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << qint32(code) << qint32(type);
    return data;
}

// What the explorer saw before pressing a key.
struct Before
{
    Key key = Key::Up;
    bool windowShown = false;
    bool modalOpen = false;
    bool menuOpen = false;
    QString menuEntry;
    bool focusOnTasks = false;
    bool focusOnFavourites = false;
    bool mainHasKeys = false;  // the main window active, no menu, no dialog
    int page = 0;
    int highlightedPid = 0;
    bool guarded = false;
    int actionOnC = 0;
};

class Explorer : public QObject
{
    Q_OBJECT
public:
    Explorer(quint32 seed, int steps, bool resident)
        : m_rng(seed)
        , m_seed(seed)
        , m_steps(steps)
        , m_resident(resident)
        , m_marker("ZK/Explorer/" + QByteArray::number(static_cast<int>(getpid())))
    {
        for (const Weighted& w : kKeys) {
            if (!resident && (w.key == Key::TaskKey || w.key == Key::Show))
                continue;
            m_keys.push_back(w.key);
            m_weights.push_back(w.weight);
        }
        connect(&m_marker, &QCopChannel::received, this, &Explorer::settled);
    }

    // Runs the walk; false with fault() set when a check failed.
    bool run()
    {
        startProgram();
        auto* dispatcher = QAbstractEventDispatcher::instance();
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &Explorer::loopIdle);
        while (m_done < m_steps && m_fault.isEmpty()) {
            m_inWalk = true;
            ++m_epoch;
            m_phase = Phase::Next;
            qApp->exec();
            m_inWalk = false;
            if (m_fault.isEmpty() && !m_finished)
                programEnded();
            m_finished = false;
        }
        disconnect(dispatcher, nullptr, this, nullptr);
        stopProgram();
        return m_fault.isEmpty();
    }

    QString fault() const { return m_fault; }
    int stepsDone() const { return m_done; }
    int popUps() const { return m_popUps; }
    int dialogs() const { return m_dialogSteps; }
    int actions() const { return m_actions; }

private:
    ZKestrel* window() const { return gMainWindow; }

    void startProgram()
    {
        isDaemon = m_resident;
        if (m_resident) {
            gSettings->openCommandChannel();
            keepChildren();
            pressTaskKeyNow();
        } else {
            keepChildren();
            gMainWindow = new ZKestrel();
        }
        waitUntilActive();
    }

    void stopProgram()
    {
        delete gMainWindow;
        gMainWindow = nullptr;
        // The command channel goes with the settings object; a fresh one
        // for the next walk.
        delete gSettings;
        gSettings = nullptr;
    }

    void pressTaskKeyNow()
    {
        gSettings->siganalReceived("keyMsg(int,int)", keyMessage(4159, 1));
        ++m_popUps;
    }

    // The program ended on its own (window mode): the key must have been
    // one that leaves; the next walk segment starts it again.
    void programEnded()
    {
        const Before& b = m_before;
        const bool leaving = b.key == Key::Red || leavesByChoice(b);
        if (!leaving && !m_resident)
            fail(QStringLiteral("the program ended on \"%1\"").arg(QLatin1String(keyName(b.key))));
        if (m_resident)
            fail(QStringLiteral("the resident program's event loop ended on \"%1\"")
                     .arg(QLatin1String(keyName(b.key))));
        delete gMainWindow;
        gMainWindow = nullptr;
        keepChildren();
        gMainWindow = new ZKestrel();
        waitUntilActive();
    }

    // A person presses keys once the window is there: the first key of a
    // new program waits until it has the keyboard.
    static void waitUntilActive()
    {
        QDeadlineTimer deadline(10000);
        while (QApplication::activeWindow() == nullptr && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    // Keys that leave the window when the user chose to: Exit, a task
    // raised, Hide All or a favourite started.
    static bool leavesByChoice(const Before& b)
    {
        if (b.menuOpen)
            return b.key == Key::Select
                   && (b.menuEntry == QLatin1String("   Exit") || b.menuEntry == QLatin1String("   Show"));
        if (!b.mainHasKeys)
            return false;
        return b.key == Key::RightSoft || (b.key == Key::Select && (b.focusOnTasks || b.focusOnFavourites));
    }

    Key pick()
    {
        std::discrete_distribution<int> d(m_weights.begin(), m_weights.end());
        return m_keys.at(static_cast<size_t>(d(m_rng)));
    }

    static QWidget* topModal()
    {
        QWidget* modal = QApplication::activeModalWidget();
        return modal && modal->isVisible() ? modal : nullptr;
    }

    Before look() const
    {
        Before b;
        ZKestrel* w = window();
        b.windowShown = w && w->isVisible();
        b.modalOpen = topModal() != nullptr;
        b.guarded = gSettings && gSettings->popUpGuard;
        b.actionOnC = gSettings ? gSettings->actionOnC : 0;
        if (!w)
            return b;
        b.menuOpen = w->optionsMenu->isOpen();
        if (b.menuOpen)
            b.menuEntry = w->optionsMenu->text(w->optionsMenu->currentIndex());
        QWidget* focus = QApplication::focusWidget();
        b.focusOnTasks = focus == w->procListBox;
        b.focusOnFavourites = focus == w->appListBox;
        b.mainHasKeys = b.windowShown && !b.modalOpen && !b.menuOpen && QApplication::activeWindow() == w;
        b.page = w->tabWidget->currentPageIndex();
        const int row = w->procListBox->currentItem();
        if (const auto* item = dynamic_cast<ZListRowItem*>(w->procListBox->item(row)))
            b.highlightedPid = item->getPid();
        return b;
    }

    // The walk moves on only when an event loop has nothing left to do
    // (it is about to wait), and only from that loop itself: never from
    // inside an action that lets events through in the middle of its work,
    // whose end would then be taken for the next key's doing.
    void loopIdle()
    {
        m_idleDepth = ztest::eventDepth();
        if (!m_inWalk || m_tickQueued || m_phase == Phase::WaitMarker)
            return;
        m_tickQueued = true;
        const int epoch = m_epoch;
        QTimer::singleShot(0, this, [this, epoch] {
            m_tickQueued = false;
            // Settled: nothing but this timer was delivered since the last
            // look (an activation, a focus change or a queued call would
            // have been).
            const quint64 delivered = ztest::eventsDelivered();
            const bool quiet = delivered == m_deliveredAtTick + 1;
            m_deliveredAtTick = delivered;
            if (epoch == m_epoch && quiet && ztest::eventDepth() == m_idleDepth + 1)
                tick();
        });
    }

    void tick()
    {
        if (!m_fault.isEmpty())
            return;
        switch (m_phase) {
        case Phase::Next:
            step();
            break;
        case Phase::Pressed:
            // Every bus message the key sent comes round before this one.
            m_phase = Phase::WaitMarker;
            QCopChannel::send(m_marker.channel(), "settled()", QByteArray::number(m_done));
            break;
        case Phase::MarkerBack:
            check();
            m_phase = Phase::Next;
            break;
        case Phase::WaitMarker:
            break;
        }
    }

    void step()
    {
        if (m_done >= m_steps) {
            m_finished = true;
            qApp->exit(0);
            return;
        }
        keepChildren();
        m_log.takeNew();
        m_quitAsked.clear();
        m_before = look();
        m_before.key = pick();
        if (m_before.modalOpen)
            ++m_dialogSteps;
        m_trail << QLatin1String(keyName(m_before.key));
        ++m_done;
        m_phase = Phase::Pressed;
        press(m_before.key);
    }

    void press(Key key)
    {
        if (key == Key::TaskKey) {
            QMetaObject::invokeMethod(
                gSettings, [] {
                    gSettings->siganalReceived("keyMsg(int,int)", keyMessage(4159, 1));
                    gSettings->siganalReceived("keyMsg(int,int)", keyMessage(4159, 0));
                },
                Qt::QueuedConnection);
            ++m_popUps;
            return;
        }
        if (key == Key::Show) {
            QMetaObject::invokeMethod(
                gSettings, [] { gSettings->siganalReceived("show()", {}); },
                Qt::QueuedConnection);
            return;
        }
        // As the platform does: to the window that has the keyboard, or
        // nowhere when no window has it.
        QWindow* target = QGuiApplication::focusWindow();
        if (!target)
            return;
        const int code = qtKey(key);
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, code, Qt::NoModifier));
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, code, Qt::NoModifier));
    }

    void settled(const QByteArray& message, const QByteArray& data)
    {
        if (message == "settled()" && data.toInt() == m_done && m_phase == Phase::WaitMarker)
            m_phase = Phase::MarkerBack;
    }

    void check()
    {
        const Before& b = m_before;
        const Before now = look();
        if (qEnvironmentVariableIsSet("ZK_EXPLORER_TRACE"))
            std::fprintf(stderr, "step %d %s: active %s, focus %s, modal %s\n", m_done, keyName(b.key),
                         qPrintable(describe(QApplication::activeWindow())),
                         QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "none",
                         qPrintable(describe(topModal())));
        const QStringList lines = m_log.takeNew();
        m_stepLog = lines;

        // The keyboard is on a visible widget of the window on top, and on
        // the list (or the tabs of the monitor page) whose highlight shows.
        ZKestrel* w = window();
        if (now.windowShown || now.modalOpen) {
            QWidget* top = topModal() ? topModal() : static_cast<QWidget*>(w);
            // With nothing in it that takes keys, the window itself gets them.
            QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
            if (QApplication::activeWindow() != top)
                return fail(QStringLiteral("the window on top (%1) is not the active window (%2)")
                                .arg(describe(top), describe(QApplication::activeWindow())));
            if (!focus || !focus->isVisible() || focus->window() != top)
                return fail(QStringLiteral("the keyboard is not on a visible widget of the window on top (%1): "
                                           "it is on a %2 in %3")
                                .arg(describe(top),
                                     focus ? QLatin1String(focus->metaObject()->className()) : QStringLiteral("nothing"),
                                     focus ? describe(focus->window()) : QStringLiteral("no window")));
            if (top == w && !now.menuOpen) {
                QWidget* expected = now.page == 0   ? static_cast<QWidget*>(w->procListBox)
                                    : now.page == 1 ? static_cast<QWidget*>(w->appListBox)
                                                    : static_cast<QWidget*>(w->tabWidget);
                if (focus != expected)
                    return fail(QStringLiteral("page %1 shown, the keyboard on a %2")
                                    .arg(now.page)
                                    .arg(QLatin1String(focus->metaObject()->className())));
            }
            if (now.menuOpen && focus != w->optionsMenu)
                return fail(QStringLiteral("the options menu is open without the keyboard"));
        }

        // Raising, quitting and killing act on the highlighted task, and
        // only when the user asked for it.
        const bool onTasks = b.mainHasKeys && b.focusOnTasks && b.page == 0;
        const bool menuChose = b.key == Key::Select && b.menuOpen;
        for (const QString& line : lines) {
            if (const auto m = kShown.match(line); m.hasMatch()) {
                const bool asked = (b.key == Key::Select && onTasks) || (menuChose && b.menuEntry == QLatin1String("   Show"));
                if (!asked || m.captured(1).toInt() != b.highlightedPid)
                    return fail(QStringLiteral("task %1 raised on \"%2\" with task %3 highlighted")
                                    .arg(m.captured(1), QLatin1String(keyName(b.key)))
                                    .arg(b.highlightedPid));
                ++m_actions;
            } else if (const auto k = kKilled.match(line); k.hasMatch()) {
                const bool asked = (b.key == Key::C && onTasks && b.actionOnC == 1)
                                   || (menuChose && b.menuEntry == QLatin1String("   Kill"));
                if (!asked || k.captured(1).toInt() != b.highlightedPid)
                    return fail(QStringLiteral("task %1 killed on \"%2\" with task %3 highlighted")
                                    .arg(k.captured(1), QLatin1String(keyName(b.key)))
                                    .arg(b.highlightedPid));
                ++m_actions;
            }
        }
        for (const int pid : std::as_const(m_quitAsked)) {
            const bool asked = (b.key == Key::C && onTasks && b.actionOnC == 2)
                               || (menuChose && b.menuEntry == QLatin1String("   Quit"));
            if (!asked || pid != b.highlightedPid)
                return fail(QStringLiteral("task %1 asked to quit on \"%2\" with task %3 highlighted")
                                .arg(pid)
                                .arg(QLatin1String(keyName(b.key)))
                                .arg(b.highlightedPid));
            ++m_actions;
        }

        // The red key always leaves; a pop-up always starts afresh.
        if (b.key == Key::Red && (now.windowShown || now.modalOpen)) {
            QStringList shown;
            for (const QWidget* t : QApplication::topLevelWidgets()) {
                if (t->isVisible())
                    shown << describe(t);
            }
            return fail(QStringLiteral("the red key left the window on screen: %1").arg(shown.join(QStringLiteral(", "))));
        }
        const bool popUp = b.key == Key::TaskKey || (b.key == Key::Show && !b.guarded);
        if (m_resident && popUp) {
            if (!now.windowShown)
                return fail(QStringLiteral("a pop-up left the window hidden"));
            // A window already on screen comes to the front as it is.
            if (!b.windowShown && (now.modalOpen || now.menuOpen || now.page != 0 || !now.focusOnTasks))
                return fail(QStringLiteral("a pop-up did not start afresh on the task list"));
        }
        // The window goes only when the user leaves it.
        if (m_resident && b.windowShown && !now.windowShown && b.key != Key::Red && !leavesByChoice(b))
            return fail(QStringLiteral("the window went away on \"%1\"").arg(QLatin1String(keyName(b.key))));
    }

    static QString describe(const QWidget* w)
    {
        if (!w)
            return QStringLiteral("none");
        return QStringLiteral("%1 \"%2\"%3")
            .arg(QLatin1String(w->metaObject()->className()), w->windowTitle(),
                 w->isVisible() ? QString() : QStringLiteral(", hidden"));
    }

    void fail(const QString& what)
    {
        if (!m_fault.isEmpty())
            return;
        // The whole walk replays from the seed; the last keys tell the story.
        const QStringList last = m_trail.mid(std::max<qsizetype>(0, m_trail.size() - 16));
        m_fault = QStringLiteral("%1 mode, seed %2, step %3: %4\nlast keys: %5\nits log: %6")
                      .arg(m_resident ? QStringLiteral("resident") : QStringLiteral("window"))
                      .arg(m_seed)
                      .arg(m_done)
                      .arg(what, last.join(QLatin1Char(' ')), m_stepLog.mid(0, 12).join(QStringLiteral(" | ")));
        if (m_inWalk)
            qApp->exit(0);
    }

    // Four tasks on the list at all times: two that end when asked to quit,
    // two that ignore it. A child that ended is replaced.
    void keepChildren()
    {
        for (auto it = m_children.begin(); it != m_children.end();) {
            int status = 0;
            if (waitpid(it->pid, &status, WNOHANG) == it->pid) {
                it = m_children.erase(it);
                continue;
            }
            ++it;
        }
        while (m_children.size() < 4) {
            const bool obeys = m_children.size() % 2 == 0;
            const QByteArray name = "explorer-" + QByteArray::number(++m_childCount);
            const pid_t pid = m_group.start({name, QByteArrayLiteral("--sleep")},
                                            obeys ? AppChildGroup::ExitOnQuit : AppChildGroup::IgnoreQuit);
            if (pid <= 0) {
                fail(QStringLiteral("could not start a child task"));
                return;
            }
            Child child;
            child.pid = pid;
            child.spy = std::make_shared<QCopChannel>("EZX/Application/" + QByteArray::number(pid));
            connect(child.spy.get(), &QCopChannel::received, this,
                    [this, pid](const QByteArray& message, const QByteArray&) {
                        if (message == "quickQuit()")
                            m_quitAsked << pid;
                    });
            m_children.push_back(child);
        }
    }

    struct Child
    {
        pid_t pid = 0;
        std::shared_ptr<QCopChannel> spy;
    };

    std::mt19937 m_rng;
    quint32 m_seed;
    int m_steps;
    bool m_resident;
    QCopChannel m_marker;
    std::vector<Key> m_keys;
    std::vector<int> m_weights;
    AppChildGroup m_group;
    std::vector<Child> m_children;
    int m_childCount = 0;
    LogCapture m_log;
    Before m_before;
    QList<int> m_quitAsked;
    QStringList m_stepLog;  // what the program logged during the last step
    QStringList m_trail;
    QString m_fault;
    int m_done = 0;
    enum class Phase {
        Next,
        Pressed,
        WaitMarker,
        MarkerBack
    };
    Phase m_phase = Phase::Next;
    int m_epoch = 0;
    int m_idleDepth = 0;
    quint64 m_deliveredAtTick = 0;
    bool m_tickQueued = false;
    bool m_inWalk = false;
    bool m_finished = false;
    int m_popUps = 0;
    int m_dialogSteps = 0;
    int m_actions = 0;
};

QList<quint32> seedsFromEnvironment(QList<quint32> fallback)
{
    const QByteArray text = qgetenv("ZK_EXPLORER_SEEDS");
    if (text.isEmpty())
        return fallback;
    QList<quint32> seeds;
    for (const QByteArray& s : text.split(','))
        seeds << s.trimmed().toUInt();
    return seeds;
}

int stepsFromEnvironment(int fallback)
{
    bool ok = false;
    const int steps = qEnvironmentVariableIntValue("ZK_EXPLORER_STEPS", &ok);
    return ok && steps > 0 ? steps : fallback;
}

// The configuration of a walk: C kills or quits, a favourite that starts a
// harmless command, and the settings the explorer may change through the
// settings dialog as it goes.
void writeConfiguration(int actionOnC)
{
    const QString path = qEnvironmentVariable("EZX_APP_WRITE_PATH") + QStringLiteral("/setup/zKestrel.cfg");
    QFile::remove(path);
    ZConfig cfg(path, false);
    cfg.writeEntry(QStringLiteral("Key"), QStringLiteral("ActionOnC"), actionOnC);
    cfg.writeEntry(QStringLiteral("App"), QStringLiteral("name0"), QStringLiteral("Nothing"));
    cfg.writeEntry(QStringLiteral("App"), QStringLiteral("run0"), QStringLiteral("true"));
    cfg.flush();
}
}

// Walks over the phone's keys, in the resident and the window mode.
class KeyExplorerTest : public QObject
{
    Q_OBJECT

    QString m_ownName;

private slots:
    void initTestCase()
    {
        installLanguageResources(qApp);
        // This program is not a task on the list: its application channel
        // is given up for the walks.
        m_ownName = QCopChannel::busName("EZX/Application/" + QByteArray::number(static_cast<int>(getpid())));
        QDBusConnection::sessionBus().interface()->unregisterService(m_ownName);
    }

    void cleanupTestCase()
    {
        QDBusConnection::sessionBus().interface()->registerService(
            m_ownName, QDBusConnectionInterface::QueueService, QDBusConnectionInterface::AllowReplacement);
    }

    void walk_data()
    {
        QTest::addColumn<bool>("resident");
        QTest::addColumn<int>("actionOnC");
        QTest::addColumn<int>("steps");
        QTest::newRow("resident, C kills") << true << 1 << 1200;
        QTest::newRow("resident, C quits") << true << 2 << 800;
        QTest::newRow("window, C kills") << false << 1 << 800;
    }

    void walk()
    {
        QFETCH(bool, resident);
        QFETCH(int, actionOnC);
        QFETCH(int, steps);
        for (const quint32 seed : seedsFromEnvironment({20261208})) {
            writeConfiguration(actionOnC);
            delete gSettings;
            gSettings = new ZSettings();
            QString fault;
            QString figures;
            {
                // The explorer reads the log: QtTest speaks after it is gone.
                Explorer explorer(seed, stepsFromEnvironment(steps), resident);
                explorer.run();
                fault = explorer.fault();
                figures = QStringLiteral("seed %1: %2 steps, %3 pop-ups, %4 steps in dialogs, "
                                         "%5 tasks raised, quit or killed")
                              .arg(seed)
                              .arg(explorer.stepsDone())
                              .arg(explorer.popUps())
                              .arg(explorer.dialogs())
                              .arg(explorer.actions());
            }
            qInfo("%s", qPrintable(figures));
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
        }
    }
};

ZK_TEST(KeyExplorerTest)

#include "keyexplorer_test.moc"
