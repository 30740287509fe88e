// End-to-end stories: the simulated phone and zKestrel as real processes on a
// virtual screen, driven by key presses (xdotool) and looked at through
// window names, mapped windows, processes, log lines, files and screenshots.
#include "platform/qcopchannel.h"
#include "platform/zconfig.h"
#include "sim/simbus.h"
#include "sim/simproc.h"
#include "tests/common/ztest.h"
#include "tests/sim/phonerig.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>

#include <algorithm>

namespace {
const QString kBin = QStringLiteral(ZK_BIN_DIR);

const char* kPhoneId = "{0a6c5e10-1f2b-4c3d-8e4f-000000000001}";
const char* kMessagesId = "{0a6c5e10-1f2b-4c3d-8e4f-000000000002}";
const char* kFileManagerId = "{7d3b9a20-5e61-4f08-b2c4-000000000101}";
const char* kSnakeId = "{7d3b9a20-5e61-4f08-b2c4-000000000103}";

#define SKIP_WITHOUT_SCREEN()                                                         \
    do {                                                                              \
        const QString missing = PhoneRig::missingTools();                              \
        if (!missing.isEmpty())                                                       \
            QSKIP(qPrintable(QStringLiteral("needs ") + missing + QStringLiteral(" (scripts/packages.txt)"))); \
    } while (false)

#define SKIP_WITHOUT_ZKESTREL()                                                       \
    do {                                                                              \
        SKIP_WITHOUT_SCREEN();                                                        \
        if (!QFile::exists(kBin + QStringLiteral("/zKestrel")))                        \
            QSKIP("zKestrel is not built yet");                                       \
    } while (false)

struct RunningPhone
{
    qint64 phone = 0, messages = 0, fileManager = 0, snake = 0;
};

bool bringUpApps(PhoneRig& rig, RunningPhone& apps)
{
    apps.phone = rig.launch(kPhoneId, "/usr/SYSqtapp/phone/phone");
    apps.messages = rig.launch(kMessagesId, "/usr/SYSqtapp/messaging/messaging");
    apps.fileManager = rig.launch(kFileManagerId, "/mmc/mmca1/.Programs/FileManager/filemanager");
    apps.snake = rig.launch(kSnakeId, "/usr/SYSjava/kvm -launch 37");
    return apps.phone && apps.messages && apps.fileManager && apps.snake;
}

void writeSetting(PhoneRig& rig, const char* group, const char* key, bool value)
{
    ZConfig cfg(rig.writePath() + QStringLiteral("/setup/zKestrel.cfg"), false);
    cfg.writeEntry(QLatin1String(group), QLatin1String(key), value);
    cfg.flush();
}

void pressTaskKey()
{
    QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", keyMessageData(4159, 1));
    QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", keyMessageData(4159, 0));
}

void keepShot(const QString& path)
{
    // The good pictures of the phone in use illustrate the README.
    const QString docs = QStringLiteral(ZK_SOURCE_DIR "/docs/");
    QFile::remove(docs + path.section(QLatin1Char('/'), -1));
    QFile::copy(path, docs + path.section(QLatin1Char('/'), -1));
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
        keepShot(rig.screenshot(QStringLiteral("phone-applications")));

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

// zKestrel resident on the phone. The SDL program, the phone and three
// applications run; zKestrel -daemon waits for the task key.
class ZKestrelStoriesTest : public QObject
{
    Q_OBJECT
    struct Session
    {
        PhoneRig rig;
        RunningPhone apps;
        QProcess* zk = nullptr;
    };

    static std::unique_ptr<Session> resident(bool goToIdle = false)
    {
        auto s = std::make_unique<Session>();
        if (!s->rig.start() || !bringUpApps(s->rig, s->apps))
            return nullptr;
        if (goToIdle)
            writeSetting(s->rig, "General", "SendGoToIDLE", true);
        s->zk = s->rig.run(QStringLiteral("zKestrel"), {QStringLiteral("-daemon")});
        QDeadlineTimer up(20000);
        while (!QCopChannel::isRegistered("PE/zKestrel/") && !up.hasExpired())
            QTest::qWait(100);
        return QCopChannel::isRegistered("PE/zKestrel/") ? std::move(s) : nullptr;
    }

    static const QString title;

private slots:
    // 1. The task key pops the resident window up on its task tab, listing
    //    the running applications (the Java one by its MIDlet).
    void taskKeyPopsUpTheTaskList()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = resident();
        QVERIFY(s);
        QVERIFY(!s->rig.visibleWindows().contains(title));
        pressTaskKey();
        QVERIFY(s->rig.waitForWindow(title, true));
        QVERIFY(s->rig.waitForLog(s->zk, "Get runing proc: End"));
        const QByteArray log = s->rig.log(s->zk);
        QVERIFY(log.contains("pidPhone=" + QByteArray::number(s->apps.phone)));
        QVERIFY(log.contains("MIDlet00037/Files/MIDlet-1.png"));
        keepShot(s->rig.screenshot(QStringLiteral("zkestrel-task-list")));
    }

    // 2. Select a task: it comes to the front and zKestrel hides; the task key
    //    brings zKestrel back with a fresh scan.
    void selectingATaskRaisesItAndHides()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = resident();
        QVERIFY(s);
        pressTaskKey();
        QVERIFY(s->rig.waitForWindow(title, true));
        QVERIFY(s->rig.waitForLog(s->zk, "Get runing proc: End"));
        QVERIFY(s->rig.keys(title, {QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForWindow(title, false));
        const QRegularExpression shown(QStringLiteral("App \\[(\\d+)\\] show"));
        const auto m = shown.match(QString::fromLatin1(s->rig.log(s->zk)));
        QVERIFY(m.hasMatch());
        const qint64 pid = m.captured(1).toLongLong();
        QVERIFY(QList<qint64>({s->apps.messages, s->apps.fileManager, s->apps.snake}).contains(pid));
        s->rig.screenshot(QStringLiteral("zkestrel-task-shown"));

        const int scans = s->rig.log(s->zk).count("Get runing proc: End");
        pressTaskKey();
        QVERIFY(s->rig.waitForWindow(title, true));
        QTRY_VERIFY_WITH_TIMEOUT(s->rig.log(s->zk).count("Get runing proc: End") > scans, 15000);
    }

    // 3. Quit and Kill from the options menu (left soft key, F10) end the
    //    task under the highlight.
    void quitAndKillFromTheOptionsMenu()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = resident();
        QVERIFY(s);
        pressTaskKey();
        QVERIFY(s->rig.waitForWindow(title, true));
        QVERIFY(s->rig.waitForLog(s->zk, "Get runing proc: End"));
        const QList<qint64> before{s->apps.messages, s->apps.fileManager, s->apps.snake};
        // Menu: Show, Quit, Kill, ...
        QVERIFY(s->rig.keys(title, {QStringLiteral("F10"), QStringLiteral("Down"), QStringLiteral("Return")}));
        QTRY_VERIFY_WITH_TIMEOUT(std::count_if(before.begin(), before.end(), processRuns) == 2, 15000);

        QVERIFY(s->rig.keys(title, {QStringLiteral("F10"), QStringLiteral("Down"), QStringLiteral("Down"),
                                    QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->zk, "Killed a pid ["));
        QTRY_VERIFY_WITH_TIMEOUT(std::count_if(before.begin(), before.end(), processRuns) == 1, 15000);
        QVERIFY(processRuns(s->apps.phone));
        s->rig.screenshot(QStringLiteral("zkestrel-after-kill"));
    }

    // 5. Hide All (first row of the favourites tab): every application
    //    hides, the phone's idle screen comes to the front.
    void hideAllShowsTheIdleScreen()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = resident(true);
        QVERIFY(s);
        pressTaskKey();
        QVERIFY(s->rig.waitForWindow(title, true));
        QVERIFY(s->rig.keys(title, {QStringLiteral("Right")}));
        QTest::qWait(500);
        QVERIFY(s->rig.keys(title, {QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->zk, "Miniumized all app"));
        for (const char* name : {"Messages", "File Manager", "Snake"})
            QVERIFY2(s->rig.waitForWindow(QLatin1String(name), false), name);
        QVERIFY(s->rig.waitForWindow(title, false));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Phone"), true));
        keepShot(s->rig.screenshot(QStringLiteral("zkestrel-hide-all")));
    }

    // 7. A second start while the resident one runs pops it up and ends with 0.
    void secondStartHandsOver()
    {
        SKIP_WITHOUT_ZKESTREL();
        auto s = resident();
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
    }
};

const QString ZKestrelStoriesTest::title = QStringLiteral("Tasks Manager");

ZK_TEST(PhoneScreenTest)
ZK_TEST(ZKestrelStoriesTest)

#include "phone_stories_test.moc"
