// End-to-end stories: the simulated phone and zKestrel as real processes on a
// virtual screen, driven by key presses (xdotool) and looked at through
// window names, mapped windows, processes, log lines, files and screenshots.
#include "platform/qcopchannel.h"
#include "platform/zconfig.h"
#include "sim/simbus.h"
#include "sim/simproc.h"
#include "tests/common/ztest.h"
#include "tests/sim/residentsession.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSignalSpy>

#include <algorithm>

namespace {
const QString kBin = QStringLiteral(ZK_BIN_DIR);

void keepShot(const QString& path)
{
    // The good pictures of the phone in use illustrate the README: the
    // phone's 240x320 screen, top left of the virtual one. Only refreshed
    // on request (ZK_UPDATE_DOCS=1), so that a test run leaves the source
    // tree as it found it.
    if (qEnvironmentVariableIsEmpty("ZK_UPDATE_DOCS"))
        return;
    const QString docs = QStringLiteral(ZK_SOURCE_DIR "/docs/");
    const QImage shot(path);
    if (!shot.isNull())
        shot.copy(0, 0, 240, 320).save(docs + path.section(QLatin1Char('/'), -1));
}

// The README's picture of the phone with its applications: their windows
// cover one another, so each is raised in turn and its screen taken, and
// the screens are put side by side. Only on request, as above.
void keepApplicationsShot(PhoneRig& rig, const RunningPhone& apps)
{
    if (qEnvironmentVariableIsEmpty("ZK_UPDATE_DOCS"))
        return;
    const QList<qint64> pids{apps.phone, apps.messages, apps.fileManager, apps.snake};
    const int gap = 8;
    QImage strip(int(pids.size()) * (240 + gap) - gap, 320, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    for (qsizetype i = 0; i < pids.size(); ++i) {
        const QByteArray pid = QByteArray::number(pids.at(i));
        QCopChannel::send("EZX/Application/" + pid, "raise()");
        if (!rig.waitForLog(rig.services(), "(pid " + pid + "): raise()"))
            return;
        QTest::qWait(1000);  // drawn on top
        const QImage shot(rig.screenshot(QStringLiteral("phone-application-%1").arg(i)));
        painter.drawImage(int(i) * (240 + gap), 0, shot.copy(0, 0, 240, 320));
    }
    painter.end();
    strip.save(QStringLiteral(ZK_SOURCE_DIR "/docs/phone-applications.png"));
}
}

// The phone alone: its applications come up under their registry command
// lines, each in a window; the SDL program hides when asked.
class PhoneScreenTest : public QObject
{
    Q_OBJECT
private slots:
    void applicationsRunWithTheirWindows()
    {
        SKIP_WITHOUT_SCREEN();
        PhoneRig rig;
        QVERIFY(rig.start());
        RunningPhone apps;
        QVERIFY(bringUpApps(rig, apps));
        QVERIFY(rig.waitForWindow(QStringLiteral("Snake"), true));
        for (const char* name : {"Phone", "Messages", "File Manager", "Snake"})
            QVERIFY2(rig.visibleWindows().contains(QLatin1String(name)), name);
        QVERIFY(processCommandLine(apps.snake).startsWith("/usr/SYSjava/kvm -launch 37 "));
        rig.screenshot(QStringLiteral("phone-applications"));
        keepApplicationsShot(rig, apps);

        // Back to idle: every application hides, the phone shows.
        QVERIFY(QCopChannel::send("EZX/System", "ReturnToIdle(int)", intData(-5003)));
        QVERIFY(rig.waitForWindow(QStringLiteral("Snake"), false));
        QVERIFY(rig.waitForWindow(QStringLiteral("Messages"), false));
        QVERIFY(rig.waitForWindow(QStringLiteral("Phone"), true));
        rig.screenshot(QStringLiteral("phone-idle"));
    }

    void sdlProgramHidesOnRequest()
    {
        SKIP_WITHOUT_SCREEN();
        PhoneRig rig;
        QVERIFY(rig.start());
        QProcess* sdl = rig.run(QStringLiteral("zk-sdlstub"));
        QVERIFY(rig.waitForWindow(QStringLiteral("SDL game"), true));
        QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered("PE/SDLLib/"), 10000);
        QVERIFY(QCopChannel::send("PE/SDLLib/", "hide()"));
        QVERIFY(rig.waitForWindow(QStringLiteral("SDL game"), false));
        QVERIFY(rig.waitForLog(sdl, "SDL stub: hide()"));
    }

    void keypadTaskKeyIsTheHardwareKey()
    {
        SKIP_WITHOUT_SCREEN();
        PhoneRig rig;
        QVERIFY(rig.start());
        QCopChannel hardKeys("/hardkey/bc");
        QSignalSpy got(&hardKeys, &QCopChannel::received);
        rig.run(QStringLiteral("zk-keypad"), {QStringLiteral("--at"), QStringLiteral("250,0")});
        QVERIFY(rig.waitForWindow(QStringLiteral("Keypad"), true));
        // The task key is the wide button along the keypad's top.
        QVERIFY(rig.click(350, 22));
        QTRY_COMPARE_WITH_TIMEOUT(got.size(), 2, 10000);
        QCOMPARE(got.at(0).at(0).toByteArray(), QByteArray("keyMsg(int,int)"));
        QCOMPARE(got.at(0).at(1).toByteArray(), keyMessageData(4159, 1));
        QCOMPARE(got.at(1).at(1).toByteArray(), keyMessageData(4159, 0));
    }
};

// zKestrel resident on the phone. The phone and three applications run;
// zKestrel -daemon waits for the task key. zKestrel runs with the paint probe,
// so the rows are read as they are drawn on the screen.
class ZKestrelStoriesTest : public QObject
{
    Q_OBJECT

    const QString title = ResidentSession::title;

private slots:
    // 1. The task key pops the resident window up on its task tab, listing
    //    the running applications by their registry names (the Java one by
    //    its catalogue name), and neither the phone nor zKestrel itself.
    void taskKeyPopsUpTheTaskList()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        QVERIFY(!s->rig.visibleWindows().contains(title));
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("File Manager")));
        const QStringList rows = s->rows();
        for (const char* hidden : {"Phone", "phone", "Messages", "messaging", "zKestrel", "Snake", "kvm"}) {
            QVERIFY2(!rows.contains(QLatin1String(hidden)), hidden);
        }
        const QByteArray log = s->rig.log(s->zk);
        QVERIFY(log.contains("Get runing proc: End"));
        QVERIFY(log.contains("pidPhone=" + QByteArray::number(s->apps.phone)));
        QVERIFY(log.contains("java_0001/DownloadApps/MIDlet00037/Files/MIDlet-1.png"));
        // The first tab is the one shown.
        QVERIFY(s->rig.painted("ZSoftKey").contains(QStringLiteral("Options")));
        keepShot(s->rig.screenshot(QStringLiteral("zkestrel-task-list")));
    }

    // The monitor tab (Left from the task tab wraps round to it) samples
    // every two seconds while it is shown: texts with the phone's clock
    // (from /sys/mpm/op) and memory, and the history graphs.
    void monitorTabRefreshesWhileShown()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        s->rig.forgetPainted();
        QVERIFY(s->rig.keys(title, {QStringLiteral("Left")}));
        auto labelStarting = [&s](const QString& start) {
            const QStringList labels = s->rig.painted("ZLabel");
            return std::any_of(labels.begin(), labels.end(), [&start](const QString& l) { return l.startsWith(start); });
        };
        QTRY_VERIFY_WITH_TIMEOUT(labelStarting(QStringLiteral("CPU:312MHz,")), 10000);
        QVERIFY(labelStarting(QStringLiteral("RAM:")));
        QVERIFY(labelStarting(QStringLiteral("SWAP:")));
        // A handful of refreshes fill part of the graphs.
        const int samples = s->rig.log(s->zk).count("setMemInfo end");
        QTRY_VERIFY_WITH_TIMEOUT(s->rig.log(s->zk).count("setMemInfo end") >= samples + 5, 30000);
        keepShot(s->rig.screenshot(QStringLiteral("zkestrel-monitor")));
    }

    // 2. Select a task: it comes to the front and zKestrel hides; the task key
    //    brings zKestrel back with a fresh scan.
    void selectingATaskRaisesItAndHides()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.keys(title, {QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForWindow(title, false));
        const QRegularExpression shown(QStringLiteral("App \\[(\\d+)\\] show"));
        const auto m = shown.match(QString::fromLatin1(s->rig.log(s->zk)));
        QVERIFY(m.hasMatch());
        // The highlight starts on the top row: the task started last.
        QCOMPARE(m.captured(1).toLongLong(), s->apps.snake);
        QVERIFY(s->rig.waitForLog(s->rig.services(), "Snake (pid " + QByteArray::number(s->apps.snake) + "): raise()"));
        QVERIFY(s->rig.visibleWindows().contains(QStringLiteral("Snake")));
        s->rig.screenshot(QStringLiteral("zkestrel-task-shown"));

        // Back again: the list is scanned afresh and drawn again.
        const int scans = s->rig.log(s->zk).count("Get runing proc: End");
        QVERIFY(s->popUp(QStringLiteral("File Manager")));
        QVERIFY(s->rig.log(s->zk).count("Get runing proc: End") > scans);
        QVERIFY(s->rows().contains(QStringLiteral("Snake Xtreme")));
    }

    // 3. Quit and Kill from the options menu (left soft key, F10) end the
    //    task under the highlight, and its row goes.
    void quitAndKillFromTheOptionsMenu()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        // Rows, newest task first: Calculator, Snake Xtreme, File Manager.
        const qint64 calculator = s->rig.launch(kCalculatorId, "/usr/SYSqtapp/calculator/calculator");
        QVERIFY(calculator);
        QVERIFY(s->popUp(QStringLiteral("Calculator")));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("File Manager")));

        // Menu: Show, Quit, Kill, ...
        QVERIFY(s->rig.keys(title, {QStringLiteral("F10"), QStringLiteral("Down"), QStringLiteral("Return")}));
        QTRY_VERIFY_WITH_TIMEOUT(!processRuns(calculator), 15000);
        QVERIFY(s->rig.waitForLog(s->rig.services(), "Calculator (pid " + QByteArray::number(calculator) + "): quickQuit()"));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Calculator"), false));

        // The highlight is back on the top row, now the game: kill it.
        QVERIFY(s->rig.keys(title, {QStringLiteral("F10"), QStringLiteral("Down"), QStringLiteral("Down"),
                                    QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->zk, "Killed a pid [" + QByteArray::number(s->apps.snake) + "]"));
        QTRY_VERIFY_WITH_TIMEOUT(!processRuns(s->apps.snake), 15000);
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Snake"), false));
        for (qint64 pid : {s->apps.phone, s->apps.messages, s->apps.fileManager})
            QVERIFY(processRuns(pid));
        s->rig.screenshot(QStringLiteral("zkestrel-after-kill"));

        // Leave and come back: only the survivor is listed.
        QVERIFY(s->rig.keys(title, {QStringLiteral("Escape")}));
        QVERIFY(s->rig.waitForWindow(title, false));
        QVERIFY(s->popUp(QStringLiteral("File Manager")));
        QVERIFY(!s->rows().contains(QStringLiteral("Calculator")));
        QVERIFY(!s->rows().contains(QStringLiteral("Snake Xtreme")));
    }

    // 4. Favourites: add an application from the add dialog, select it: the
    //    application manager starts it; the next pop-up lists it.
    void favouriteAddedAndStarted()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.keys(title, {QStringLiteral("Right")}));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Hide All")));
        // Options of the favourites tab: Add first.
        QVERIFY(s->rig.keys(title, {QStringLiteral("F10"), QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Add"), true));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Calculator")));
        keepShot(s->rig.screenshot(QStringLiteral("zkestrel-add-dialog")));
        // Sorted by name: Alarm Clock, Calculator, Calendar, ...
        QVERIFY(s->rig.keys(QStringLiteral("Add"), {QStringLiteral("Down"), QStringLiteral("F10")}));
        QVERIFY(s->rig.waitForLog(s->zk, "ZAddAppDlg: OK:  End"));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Add"), false));
        {
            ZConfig cfg(s->rig.writePath() + QStringLiteral("/setup/zKestrel.cfg"), false);
            QCOMPARE(cfg.readEntry(QStringLiteral("App"), QStringLiteral("name0")), QStringLiteral("Calculator"));
            QCOMPARE(cfg.readEntry(QStringLiteral("App"), QStringLiteral("run0")),
                     QStringLiteral("{0a6c5e10-1f2b-4c3d-8e4f-00000000000a}"));
        }
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Calculator")));
        keepShot(s->rig.screenshot(QStringLiteral("zkestrel-favourites")));

        // Select it: the manager starts it under its registry command line.
        QVERIFY(s->rig.keys(title, {QStringLiteral("Down"), QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->zk, "Run app from AppId: {0a6c5e10-1f2b-4c3d-8e4f-00000000000a}"));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Calculator"), true));
        QVERIFY(s->rig.waitForWindow(title, false));
        QVERIFY(!pidsOfPhone("/usr/SYSqtapp/calculator/calculator", s->rig.deviceRoot()).isEmpty());

        // The next pop-up lists it among the tasks.
        QVERIFY(s->popUp(QStringLiteral("Calculator")));
    }

    // 5. Hide All (first row of the favourites tab): every application
    //    hides, the phone's idle screen comes to the front.
    void hideAllShowsTheIdleScreen()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start(true);
        QVERIFY(s);
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(s->rig.keys(title, {QStringLiteral("Right")}));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Hide All")));
        QVERIFY(s->rig.keys(title, {QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->zk, "Miniumized all app"));
        for (const char* name : {"Messages", "File Manager", "Snake"})
            QVERIFY2(s->rig.waitForWindow(QLatin1String(name), false), name);
        QVERIFY(s->rig.waitForWindow(title, false));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Phone"), true));
        keepShot(s->rig.screenshot(QStringLiteral("zkestrel-hide-all")));
    }

    // 6. Settings: "Show All Tasks" and the time in the title, saved; the
    //    list and the title change at once, and again after a restart.
    void settingsApplyAtOnceAndAfterARestart()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        QVERIFY(!s->rows().contains(QStringLiteral("Messages")));
        // Options: Show, Quit, Kill, Priority, Information, Settings.
        QVERIFY(s->rig.keys(title, {QStringLiteral("F10"), QStringLiteral("Down"), QStringLiteral("Down"),
                                    QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
                                    QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Settings"), true));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Show All Tasks")));
        keepShot(s->rig.screenshot(QStringLiteral("zkestrel-settings")));
        // Each on/off row opens a choice on its current value (Off); Up
        // reaches On, select ticks it, the left soft key confirms.
        const QStringList turnOn{QStringLiteral("Return"), QStringLiteral("Up"), QStringLiteral("Return"),
                                 QStringLiteral("F10")};
        QVERIFY(s->rig.keys(QStringLiteral("Settings"), turnOn));
        QVERIFY(s->rig.keys(QStringLiteral("Settings"), {QStringLiteral("Down"), QStringLiteral("Down")}));
        QVERIFY(s->rig.keys(QStringLiteral("Settings"), turnOn));
        QVERIFY(s->rig.keys(QStringLiteral("Settings"), {QStringLiteral("F10")}));  // Save
        QVERIFY(s->rig.waitForLog(s->zk, "ZSettingDlg::save"));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Settings"), false));
        {
            ZConfig cfg(s->rig.writePath() + QStringLiteral("/setup/zKestrel.cfg"), false);
            QVERIFY(cfg.readBoolEntry(QStringLiteral("Task"), QStringLiteral("ShowAllTask"), false));
            QVERIFY(cfg.readBoolEntry(QStringLiteral("General"), QStringLiteral("TimeInCaption"), false));
        }
        // At once: every task but zKestrel is listed, the clock is the title.
        const QRegularExpression clock(QStringLiteral("^zKestrel \\[\\d{1,2}:\\d\\d\\]$"));
        auto clockTitled = [&s, &clock] {
            const QStringList names = s->rig.visibleWindows();
            return std::any_of(names.begin(), names.end(), [&clock](const QString& n) { return clock.match(n).hasMatch(); });
        };
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Messages")));
        QTRY_VERIFY_WITH_TIMEOUT(clockTitled(), 10000);
        keepShot(s->rig.screenshot(QStringLiteral("zkestrel-all-tasks")));

        // After a restart of the resident program, the same.
        s->zk->terminate();
        QVERIFY(s->zk->waitForFinished(10000));
        QTRY_VERIFY_WITH_TIMEOUT(!QCopChannel::isRegistered("PE/zKestrel/"), 10000);
        QVERIFY(s->startResident());
        QVERIFY(s->popUp(QStringLiteral("Messages"), QString()));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Phone")));
        QVERIFY(!s->rows().contains(QStringLiteral("zKestrel")));
        QTRY_VERIFY_WITH_TIMEOUT(clockTitled(), 10000);
    }

    // The keypad's Green, C and Red buttons act on the window that popped up
    // as the phone's keys do, with no click into it first (the pointer stays
    // on the keypad): details of the task, the action on C (kill, here),
    // leaving the window.
    void keypadKeysReachThePoppedUpWindow()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start(false, 1);
        QVERIFY(s);
        QProcess* keypad = s->rig.run(QStringLiteral("zk-keypad"), {QStringLiteral("--at"), QStringLiteral("250,0")});
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Keypad"), true));
        QVERIFY(s->popUp(QStringLiteral("Snake Xtreme")));
        // The keypad's lower row holds Green, C and Red, side by side.
        const QRect pad = s->rig.windowGeometry(QStringLiteral("Keypad"));
        QVERIFY(!pad.isEmpty());
        const int row = pad.y() + pad.height() * 7 / 10;
        auto column = [&pad](int i) { return pad.x() + pad.width() * (2 * i + 1) / 6; };
        const int green = column(0), clear = column(1), red = column(2);

        QVERIFY(s->rig.click(green, row));
        QVERIFY(s->rig.waitForLog(keypad, "Keypad: F1"));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Information"), true));
        QVERIFY(s->rig.keys(QStringLiteral("Information"), {QStringLiteral("F10")}));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Information"), false));

        // The highlight is on the newest task, the game.
        QVERIFY(s->rig.click(clear, row));
        QVERIFY(s->rig.waitForLog(s->zk, "Killed a pid [" + QByteArray::number(s->apps.snake) + "]"));

        QVERIFY(s->rig.click(red, row));
        QVERIFY(s->rig.waitForWindow(title, false));
    }

    // 7. A second start while the resident one runs pops it up and ends with 0.
    void secondStartHandsOver()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = ResidentSession::start();
        QVERIFY(s);
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        second.setProcessEnvironment(env);
        second.start(kBin + QStringLiteral("/zKestrel"), {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(s->rig.waitForWindow(title, true));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Snake Xtreme")));
        // Only the resident one is left.
        QCOMPARE(pidsOfPhone(kBin.toLocal8Bit() + "/zKestrel", s->rig.deviceRoot()).size(), 1);
    }
};

ZK_TEST(PhoneScreenTest)
ZK_TEST(ZKestrelStoriesTest)

#include "phone_stories_test.moc"
