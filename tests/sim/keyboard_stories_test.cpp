// The keyboard as a person holding the phone uses it: real key presses on the
// bare X screen (no window manager, as on the phone), sent to whatever window
// has the keyboard, never to a window picked for them. The resident zKestrel
// must come to the front with the keyboard when it pops up, give the keys
// back where the highlight is after a menu, a dialog or a page, and only
// hide when it is left.
#include "platform/qcopchannel.h"
#include "platform/zconfig.h"
#include "sim/simbus.h"
#include "sim/simproc.h"
#include "tests/common/ztest.h"
#include "tests/sim/residentsession.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <random>

namespace {
QByteArray shown(qint64 pid)
{
    return "App [" + QByteArray::number(pid) + "] show";
}

bool hasWindowOf(const PhoneRig& rig, qint64 pid)
{
    const QList<PhoneRig::ScreenWindow> windows = rig.stack();
    return std::any_of(windows.begin(), windows.end(), [pid](const PhoneRig::ScreenWindow& w) { return w.pid == pid; });
}

const QStringList kDown2Select{QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")};
}

// The six ways the keyboard went astray, as a person met them.
class KeyboardStoriesTest : public QObject
{
    Q_OBJECT

    const QString title = ResidentSession::title;

private slots:
    // A closed options menu gives the keys back to the list: the highlight
    // moves and select raises that task; nothing is killed. The same after
    // a dialog was cancelled, and on the favourites tab after About.
    void closedMenuGivesTheKeysBack()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        const qint64 calculator = s->rig.launch(kCalculatorId, "/usr/SYSqtapp/calculator/calculator");
        QVERIFY(calculator);
        // Rows, newest first: Calculator, Snake Xtreme, File Manager.
        QVERIFY(s->popUp(QStringLiteral("Calculator")));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("File Manager")));
        QVERIFY(s->rig.waitForTop(s->zk->processId()));
        QVERIFY(s->rig.keys({QStringLiteral("F10"), QStringLiteral("Escape")}));
        QVERIFY(s->rig.keys(kDown2Select));
        QVERIFY(s->rig.waitForLog(s->zk, shown(s->apps.fileManager)));

        QVERIFY(s->popUp(QStringLiteral("Calculator")));
        QVERIFY(s->rig.waitForTop(s->zk->processId()));
        // Options: Show, Quit, Kill, Priority, Information, Settings.
        QVERIFY(s->rig.keys({QStringLiteral("F10"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
                             QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Settings"), true));
        QVERIFY(s->rig.keys({QStringLiteral("Escape")}));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Settings"), false));
        QVERIFY(s->rig.waitForTop(s->zk->processId()));
        QVERIFY(s->rig.keys({QStringLiteral("Down"), QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->zk, shown(s->apps.snake)));

        // Favourites: About (Add, Delete, Rename, Settings, About), closed;
        // then select on the list's only row, Hide All.
        QVERIFY(s->popUp(QStringLiteral("Calculator")));
        QVERIFY(s->rig.keys({QStringLiteral("Right")}));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Hide All")));
        QVERIFY(s->rig.keys({QStringLiteral("F10"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
                             QStringLiteral("Down"), QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("About"), true));
        QVERIFY(s->rig.keys({QStringLiteral("F10")}));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("About"), false));
        QVERIFY(s->rig.waitForTop(s->zk->processId()));
        QVERIFY(s->rig.keys({QStringLiteral("Down"), QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->zk, "Miniumized all app"));

        const QByteArray log = s->rig.log(s->zk);
        QVERIFY(!log.contains("Killed a pid"));
        for (qint64 pid : {calculator, s->apps.snake, s->apps.fileManager})
            QVERIFY(processRuns(pid));
    }

    // Over to the monitor tab and back: the task list has the keys again
    // (Down and select, the green key).
    void monitorTabGivesTheKeysBack()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.waitForTop(s->zk->processId()));
        QVERIFY(s->rig.keys({QStringLiteral("Right"), QStringLiteral("Right")}));
        QVERIFY(s->rig.waitForLog(s->zk, "setMemInfo end"));
        QVERIFY(s->rig.keys({QStringLiteral("Left"), QStringLiteral("Left"), QStringLiteral("Down"),
                             QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->zk, shown(s->apps.fileManager)));

        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.keys({QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("F1")}));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Information"), true));
        QVERIFY(s->rig.waitForTop(s->zk->processId()));
    }

    // A close from the window system only hides the resident window: the
    // program and its channel stay, and the task key brings it back.
    void windowSystemCloseOnlyHides()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.closeWindow(title));
        QVERIFY(s->rig.waitForNoWindowOf(s->zk->processId()));
        QVERIFY(s->rig.waitForLog(s->zk, "Quit:isDaemon"));
        QCOMPARE(s->zk->state(), QProcess::Running);
        QVERIFY(QCopChannel::isRegistered("PE/zKestrel/"));
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.waitForTop(s->zk->processId()));
    }

    // A menu left open when the window was left is gone at the next
    // pop-up: the keys move the highlight, they do not run the menu.
    void menuLeftOpenDoesNotComeBack()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.keys({QStringLiteral("F10")}));
        QVERIFY(s->rig.waitForPainted("ZOptionsMenu", QStringLiteral("   Kill")));
        QVERIFY(s->rig.keys({QStringLiteral("F2")}));
        QVERIFY(s->rig.waitForNoWindowOf(s->zk->processId()));

        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.waitForPainted("ZSoftKey", QStringLiteral("Options")));
        QVERIFY(s->rig.painted("ZOptionsMenu").isEmpty());
        QVERIFY(s->rig.keys({QStringLiteral("Down"), QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->zk, shown(s->apps.fileManager)));
        QVERIFY(!s->rig.log(s->zk).contains("Killed a pid"));
        QVERIFY(processRuns(s->apps.snake));
    }

    // The pop-up comes above the application it raised, with the keyboard:
    // a blind Exit then leaves zKestrel, not the application. The same
    // after Hide All and after a second start.
    void popUpComesAboveTheRaisedTask()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        const qint64 zk = s->zk->processId();
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.keys({QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForNoWindowOf(zk));
        QVERIFY(s->rig.waitForTop(s->apps.snake));
        pressTaskKey();
        QVERIFY(s->rig.waitForTop(zk));
        QVERIFY(s->rig.keys({QStringLiteral("Escape")}));
        QVERIFY(s->rig.waitForNoWindowOf(zk));
        QVERIFY(s->rig.waitForTop(s->apps.snake));

        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.keys({QStringLiteral("Right")}));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Hide All")));
        QVERIFY(s->rig.keys({QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForTop(s->apps.phone));
        pressTaskKey();
        QVERIFY(s->rig.waitForTop(zk));
        QVERIFY(s->rig.keys({QStringLiteral("Escape")}));
        QVERIFY(s->rig.waitForTop(s->apps.phone));

        // A second start's show() is ignored for two seconds after the task
        // key: wait those out.
        QTest::qWait(2100);
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(ZK_BIN_DIR "/zKestrel"), {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(s->rig.waitForTop(zk));
    }

    // After Exit, only a pop-up request shows the resident window: a
    // "raise()" on its application channel does not.
    void raiseAfterExitStaysHidden()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        const qint64 zk = s->zk->processId();
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.keys({QStringLiteral("Escape")}));
        QVERIFY(s->rig.waitForNoWindowOf(zk));
        const int scans = static_cast<int>(s->rig.log(s->zk).count("showList: end"));
        QVERIFY(QCopChannel::send("EZX/Application/" + QByteArray::number(zk), "raise()"));
        // The raise has been handled once a later message has.
        QVERIFY(QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", keyMessageData(1, 1)));
        QVERIFY(s->rig.waitForLog(s->zk, "Key 1, type 1"));
        QVERIFY(!hasWindowOf(s->rig, zk));
        QCOMPARE(static_cast<int>(s->rig.log(s->zk).count("showList: end")), scans);
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.waitForTop(zk));
    }
};

// A random walk over the phone's keys against the real resident program,
// pressed on the bare X screen. After every key: while zKestrel shows a
// window, its top window is on top of the screen and has the keyboard; the
// red key hides it; the task key brings it to the front; it never ends; it
// kills none but the walk's own tasks. (Where the keys land inside the
// window is checked by the key explorer of the task list's tests.)
class KeyWalkStoryTest : public QObject
{
    Q_OBJECT

    struct Walk
    {
        ResidentSession s;
        QList<QProcess*> children;
        QList<qint64> childPids;
        QList<qint64> everStarted;
        QString childLink;
        QStringList trail;
        quint32 seed = 0;
        int made = 0;

        ~Walk()
        {
            for (QProcess* p : std::as_const(children)) {
                p->kill();
                p->waitForFinished(3000);
                delete p;
            }
        }

        QString where() const
        {
            return QStringLiteral("seed %1, keys: %2").arg(seed).arg(trail.join(QLatin1Char(' ')));
        }

        // Three tasks of the walk's own at all times, named explorer-<n>.
        bool keepChildren()
        {
            for (qsizetype i = children.size() - 1; i >= 0; --i) {
                if (children.at(i)->state() != QProcess::Running) {
                    delete children.takeAt(i);
                    childPids.removeAt(i);
                }
            }
            while (children.size() < 3) {
                const QString link = QDir(s.rig.writePath()).filePath(QStringLiteral("explorer-%1").arg(++made));
                QFile::link(QStringLiteral(ZK_BIN_DIR "/zk_appchild"), link);
                auto* p = new QProcess;
                QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                env.insert(QStringLiteral("ZK_APPCHILD_QUIT"), made % 2 ? QStringLiteral("exit") : QStringLiteral("ignore"));
                p->setProcessEnvironment(env);
                p->start(link, {});
                if (!p->waitForStarted())
                    return false;
                QDeadlineTimer up(20000);
                while (!QCopChannel::isRegistered("EZX/Application/" + QByteArray::number(p->processId()))) {
                    if (up.hasExpired())
                        return false;
                    QTest::qWait(20);
                }
                children << p;
                childPids << p->processId();
                everStarted << p->processId();
            }
            return true;
        }
    };

private slots:
    void keysOnTheBareScreen()
    {
        SKIP_WITHOUT_ZKESTREL();
        Walk walk;
        walk.seed = qEnvironmentVariableIsSet("ZK_EXPLORER_SEEDS")
                        ? qEnvironmentVariable("ZK_EXPLORER_SEEDS").section(QLatin1Char(','), 0, 0).toUInt()
                        : 20261208u;
        bool stepsOk = false;
        int steps = qEnvironmentVariableIntValue("ZK_EXPLORER_X_STEPS", &stepsOk);
        if (!stepsOk || steps <= 0)
            steps = 120;

        QVERIFY(walk.s.rig.start());
        {
            ZConfig cfg(walk.s.rig.writePath() + QStringLiteral("/setup/zKestrel.cfg"), false);
            cfg.writeEntry(QStringLiteral("Key"), QStringLiteral("ActionOnC"), 1);
            cfg.flush();
        }
        // This test program is an application on the same bus: it gives up
        // its channel for the walk, so that it is never a task on the list.
        const QString own = QCopChannel::busName("EZX/Application/" + QByteArray::number(QCoreApplication::applicationPid()));
        QDBusConnection::sessionBus().interface()->unregisterService(own);
        auto restore = qScopeGuard([&own] {
            QDBusConnection::sessionBus().interface()->registerService(
                own, QDBusConnectionInterface::QueueService, QDBusConnectionInterface::AllowReplacement);
        });
        QVERIFY(walk.keepChildren());
        QVERIFY(walk.s.startResident());
        const qint64 zk = walk.s.zk->processId();

        const QStringList keys{QStringLiteral("Up"), QStringLiteral("Down"), QStringLiteral("Left"),
                               QStringLiteral("Right"), QStringLiteral("Return"), QStringLiteral("F10"),
                               QStringLiteral("Escape"), QStringLiteral("F1"), QStringLiteral("F3"),
                               QStringLiteral("F2"), QStringLiteral("task"), QStringLiteral("show()")};
        const std::vector<int> weights{12, 14, 7, 7, 12, 10, 8, 4, 4, 3, 5, 3};
        std::mt19937 rng(walk.seed);
        std::discrete_distribution<int> pick(weights.begin(), weights.end());
        const QRegularExpression killed(QStringLiteral("Killed a pid \\[(\\d+)\\]"));
        qsizetype logSeen = 0;

        for (int i = 0; i < steps; ++i) {
            QVERIFY2(walk.keepChildren(), "a task of the walk did not start");
            const QString key = keys.at(pick(rng));
            walk.trail << key;
            if (key == QLatin1String("task")) {
                pressTaskKey();
                QVERIFY2(walk.s.rig.waitForTop(zk), qPrintable(QStringLiteral("pop-up not on top; ") + walk.where()));
            } else if (key == QLatin1String("show()")) {
                QCopChannel::send("PE/zKestrel/", "show()");
                QTest::qWait(250);
            } else {
                QVERIFY(walk.s.rig.keys({key}));
            }
            QVERIFY2(walk.s.zk->state() == QProcess::Running, qPrintable(QStringLiteral("zKestrel ended; ") + walk.where()));
            if (key == QLatin1String("F2") && hasWindowOf(walk.s.rig, zk))
                QVERIFY2(walk.s.rig.waitForNoWindowOf(zk, 5000), qPrintable(QStringLiteral("red did not leave; ") + walk.where()));
            if (hasWindowOf(walk.s.rig, zk))
                QVERIFY2(walk.s.rig.waitForTop(zk, 5000),
                         qPrintable(QStringLiteral("zKestrel shows a window without being on top with the keyboard; ")
                                    + walk.where()));
            const QString log = QString::fromLatin1(walk.s.rig.log(walk.s.zk));
            for (auto m = killed.globalMatch(log, logSeen); m.hasNext();) {
                const qint64 pid = m.next().captured(1).toLongLong();
                QVERIFY2(walk.everStarted.contains(pid),
                         qPrintable(QStringLiteral("task %1 killed; ").arg(pid) + walk.where()));
            }
            logSeen = log.size();
        }
        qInfo("seed %u: %d keys on the bare X screen", walk.seed, steps);
    }
};

ZK_TEST(KeyboardStoriesTest)
ZK_TEST(KeyWalkStoryTest)

#include "keyboard_stories_test.moc"
