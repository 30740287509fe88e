// The resident zKestrel as a desktop user meets it, under real X window
// managers from Debian or nested in a Wayland compositor, popped up by a
// second start (a desktop's keyboard shortcut): minimized, on another
// workspace or covered, it comes up with the keys, and lives on, normal,
// after a maximize or full-screen request.
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"
#include "tests/sim/residentsession.h"

#include <QImage>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
// A reference: a copy made here could be made before the title itself.
const QString& kTitle = ResidentSession::title;

bool missing(const QStringList& programs)
{
    return std::any_of(programs.begin(), programs.end(), [](const QString& p) { return QStandardPaths::findExecutable(p).isEmpty(); });
}

// The phone's screen as a desktop: a manager or compositor of a command line
// (its files in the rig's folders), and what a user does to the resident.
struct Desktop : ResidentSession
{
    QTemporaryDir runtime;

    bool start(const QString& command)
    {
        QStringList args = QProcess::splitCommand(command);
        const QString program = QStandardPaths::findExecutable(args.takeFirst());
        rig.environment().insert("XDG_CONFIG_HOME", rig.writePath());
        rig.environment().insert("XDG_RUNTIME_DIR", runtime.path());
        return rig.run(program, args)->state() == QProcess::Running;
    }
    // A command line run on the screen (xdotool, wmctrl, xprop): what it printed,
    // complaints included; an action prints nothing.
    QString x(const QString& command) const { return rig.tool("sh", {"-c", command + " 2>&1"}).trimmed(); }
    // The pop-up as a user gives it: a second start that hands over and ends with 0.
    bool secondStart() const { return x(ZK_BIN_DIR "/zKestrel >/dev/null && echo handed over") == "handed over"; }
    // Escape (the right soft key) acts in zKestrel: it leaves the window.
    bool escapeLeaves()
    {
        const qsizetype left = rig.log(zk).count("Quit:isDaemon");
        return rig.keys({"Escape"}) && QTest::qWaitFor([&] { return rig.log(zk).count("Quit:isDaemon") > left; }, 10000);
    }
    // How often the resident has undone a maximized or full-screen state.
    qsizetype undone() { return rig.log(zk).count("its maximized or full-screen state undone"); }
};
}

class DesktopPopUpTest : public QObject
{
    Q_OBJECT

private slots:
    void popsUpUnderWindowManagers_data()
    {
        QTest::addColumn<QString>("manager");
        QTest::newRow("openbox") << "openbox";
        QTest::newRow("icewm") << "icewm";
        QTest::newRow("xfwm4") << "xfwm4 --compositor=off";
    }
    void popsUpUnderWindowManagers()
    {
        QFETCH(QString, manager);
        SKIP_WITHOUT_ZKESTREL();
        if (missing({manager.section(' ', 0, 0), "wmctrl", "xprop"}))
            QSKIP("needs the window manager, wmctrl and xprop (scripts/packages.txt)");
        Desktop d;
        QVERIFY(d.rig.start() && d.start(manager) && QTest::qWaitFor([&] { return d.x("wmctrl -m").contains("Name:"); }, 20000));
        QVERIFY(d.startResident());
        // Up and done: holding the keys and, when it comes from hidden, drawn
        // anew, which follows every request that pop-up makes to the manager;
        // on a busy machine a late one would undo the user's next step.
        // Minimized or on another workspace, the window is not hidden.
        QString w;
        auto hasKeys = [&] { return QTest::qWaitFor([&] { return d.x("xdotool getwindowfocus") == w; }, 10000); };
        auto shown = [&](bool fromHidden = true) {
            d.rig.forgetPainted();
            return d.secondStart() && d.rig.waitForWindow(kTitle, true) && (!fromHidden || d.rig.waitForPainted("ZSoftKey", "Options"))
                   && (w.isEmpty() || hasKeys());
        };
        auto popsUp = [&](bool fromHidden = true) { return shown(fromHidden) && d.escapeLeaves(); };
        // The first pop-up: the manager's active window, of the desktop entry's class, with an icon.
        QVERIFY(shown() && QTest::qWaitFor([&] { return d.x("xdotool getwindowname " + (w = d.x("xdotool getactivewindow"))) == kTitle; }, 10000) && hasKeys());
        QCOMPARE(d.x("xprop -id " + w + " WM_CLASS _NET_WM_ICON | grep -c '\"zKestrel\", \"zKestrel\"\\|Icon (56 x 56)'"), "2");
        QVERIFY2(d.escapeLeaves(), "first pop-up");

        QVERIFY2(shown() && d.x("xdotool windowminimize " + w).isEmpty() && d.rig.waitForWindow(kTitle, false) && popsUp(false), "minimized");
        QVERIFY2(shown() && d.x("wmctrl -s 1").isEmpty() && d.rig.waitForWindow(kTitle, false) && popsUp(false), "on another workspace");
        // On top: last in the manager's stacking list, bottom to top.
        auto onTop = [&] { return d.x("xprop -root _NET_CLIENT_LIST_STACKING").section(' ', -1).toUInt(nullptr, 16) == w.toUInt(); };
        QVERIFY(shown());
        QProcess* cover = d.rig.run("zk-demoapp", {"--app-title", "Cover"});
        QVERIFY(d.rig.waitForWindow("Cover", true));
        QVERIFY(d.x("xdotool search --name ^Cover$ windowactivate --sync").isEmpty() && QTest::qWaitFor([&] { return !onTop(); }, 10000));
        QVERIFY2(shown(false) && QTest::qWaitFor(onTop, 10000) && d.escapeLeaves(), "covered");
        QCOMPARE(cover->state(), QProcess::Running);
        // Settings, the sixth entry of the options menu, opens over the window.
        QVERIFY(shown() && d.rig.keys({"F10", "Down", "Down", "Down", "Down", "Down", "Return"}) && d.rig.waitForWindow("Settings", true));
        QCOMPARE(d.x("xprop -id $(xdotool search --name ^Settings$) WM_TRANSIENT_FOR").section(' ', -1).toUInt(nullptr, 16), w.toUInt());
        QVERIFY(d.rig.keys({"Escape"}) && d.rig.waitForWindow("Settings", false) && d.escapeLeaves());

        // A fixed-size window offers no maximize, which a manager may refuse or
        // grant; full screen it grants and the program undoes. The manager takes
        // requests in turn: the last undone, the window is normal, of its size.
        const qsizetype undone = d.undone();
        QVERIFY(shown() && d.x("wmctrl -i -r " + w + " -b add,maximized_vert,maximized_horz && wmctrl -i -r " + w + " -b add,fullscreen").isEmpty());
        auto normal = [&] { return d.undone() > undone && d.x("xprop -id " + w + " _NET_WM_STATE | grep -c 'MAXIMIZED\\|FULLSCREEN'") == "0" && d.rig.windowGeometry(kTitle).size() == QSize(240, 320); };
        QVERIFY(QTest::qWaitFor(normal, 10000));
        QVERIFY2(d.escapeLeaves() && popsUp(), "after maximize and full screen");
        QCOMPARE(d.zk->state(), QProcess::Running);
    }

    // Weston with its X11 backend, its one output as large as the window with Qt's
    // decoration: the window at the output's corner, the decoration's buttons known.
    void popsUpNestedInWayland()
    {
        SKIP_WITHOUT_ZKESTREL();
        if (missing({"weston"}) || !QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqwayland-generic.so"))
            QSKIP("needs weston and qt6-wayland (scripts/packages.txt)");
        Desktop d;
        QVERIFY(d.rig.start());
        QVERIFY(testfiles::writeFile(d.rig.writePath() + "/weston.ini", "[core]\nidle-time=0\n[shell]\npanel-position=none\nlocking=false\n"));
        QVERIFY(d.start("weston --backend=x11-backend.so --use-pixman --width=246 --height=353 --socket=zk-wayland")
                && QTest::qWaitFor([&] { return QFile::exists(d.runtime.filePath("zk-wayland")); }, 20000));
        d.rig.environment().insert("QT_QPA_PLATFORM", "wayland");
        d.rig.environment().insert("WAYLAND_DISPLAY", "zk-wayland");
#if defined(__SANITIZE_ADDRESS__)
        // Mesa's driver, unloaded before the leak check, names no module: unwind to its EGL library.
        d.rig.environment().insert("ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":fast_unwind_on_malloc=0");
#endif
        QVERIFY(d.startResident());
        // The keys of the X screen go to the compositor's window under the pointer.
        d.x("xdotool mousemove 120 200");
        auto shown = [&] { d.rig.forgetPainted(); return d.secondStart() && d.rig.waitForPainted("ZSoftKey", "Options"); };
        QVERIFY2(shown() && d.escapeLeaves(), "first pop-up");

        // The decoration's minimize and maximize buttons, pressed once the pointer
        // has entered it; minimized, the window and its title bar leave the output.
        auto press = [&](int x) { return d.x(QString("xdotool mousemove %1 15 sleep 0.3 click 1").arg(x)).isEmpty(); };
        auto titleBar = [&] { return QImage(d.rig.screenshot("wayland-desktop")).pixel(230, 41); };
        QVERIFY(shown());
        const QRgb up = titleBar();
        QVERIFY(press(183) && QTest::qWaitFor([&] { return titleBar() != up; }, 10000));
        QVERIFY2(shown() && d.escapeLeaves(), "minimized");
        const qsizetype undone = d.undone();
        QVERIFY2(shown() && press(206) && QTest::qWaitFor([&] { return d.undone() > undone; }, 10000) && shown() && d.escapeLeaves(), "after maximize");
        QVERIFY(shown());
        QProcess* cover = d.rig.runProbed("zk-demoapp", {"--app-title", "Cover"});
        QVERIFY(d.rig.waitForPainted("DemoFace", "Cover"));
        QVERIFY2(shown() && d.escapeLeaves(), "covered");
        QVERIFY(cover->state() == QProcess::Running && d.zk->state() == QProcess::Running);
        QVERIFY(!d.rig.log(d.zk).contains("error"));
    }
};

ZK_TEST(DesktopPopUpTest)
#include "desktop_popup_test.moc"
