// The installed program as a desktop user meets it: the resident zKestrel on
// the virtual screen under a real window manager from Debian, or nested in a
// Wayland compositor, popped up by a second start (the keyboard shortcut).
// Minimized, left on another workspace or covered, it comes to the user with
// the keys; a maximize or full-screen request leaves it alive and normal.
#include "platform/qcopchannel.h"
#include "tests/common/ztest.h"
#include "tests/sim/residentsession.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
const QString kTitle = ResidentSession::title;

QString tool(const QProcessEnvironment& env, const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(15000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

// A second start hands over to the resident and ends with 0.
bool secondStart(const QProcessEnvironment& env)
{
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(ZK_BIN_DIR "/zKestrel"), {});
    return second.waitForFinished(20000) && second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0;
}

// Escape (the right soft key) reaches the window and leaves it.
bool escapeLeaves(PhoneRig& rig, QProcess* zk)
{
    const qsizetype left = rig.log(zk).count("Quit:isDaemon");
    return rig.keys({QStringLiteral("Escape")}) && QTest::qWaitFor([&] { return rig.log(zk).count("Quit:isDaemon") > left; }, 10000);
}

bool missing(const QStringList& programs)
{
    return std::any_of(programs.begin(), programs.end(), [](const QString& p) { return QStandardPaths::findExecutable(p).isEmpty(); });
}
}

class DesktopWindowManagerTest : public QObject
{
    Q_OBJECT

private slots:
    void popsUpFromAnywhere_data()
    {
        QTest::addColumn<QStringList>("manager");
        QTest::newRow("openbox") << QStringList{QStringLiteral("openbox")};
        QTest::newRow("icewm") << QStringList{QStringLiteral("icewm")};
        QTest::newRow("fluxbox") << QStringList{QStringLiteral("fluxbox")};
        QTest::newRow("xfwm4") << QStringList{QStringLiteral("xfwm4"), QStringLiteral("--compositor=off")};
    }
    void popsUpFromAnywhere()
    {
        QFETCH(QStringList, manager);
        SKIP_WITHOUT_ZKESTREL();
        if (missing({manager.first(), QStringLiteral("wmctrl"), QStringLiteral("xprop")}))
            QSKIP("needs the window manager, wmctrl and xprop (scripts/packages.txt)");
        PhoneRig rig;
        QVERIFY(rig.start());
        const QProcessEnvironment env = rig.environment();
        QProcess wm;
        QProcessEnvironment wmEnv = env;  // xfwm4 keeps its settings there
        wmEnv.insert(QStringLiteral("XDG_CONFIG_HOME"), rig.writePath());
        wm.setProcessEnvironment(wmEnv);
        wm.start(manager.first(), manager.mid(1));
        QVERIFY(QTest::qWaitFor([&] { return tool(env, QStringLiteral("wmctrl"), {QStringLiteral("-m")}).contains(QLatin1String("Name:")); }, 20000));
        QProcess* zk = rig.run(QStringLiteral("zKestrel"), {QStringLiteral("-daemon")});
        QVERIFY(QTest::qWaitFor([] { return QCopChannel::isRegistered("PE/zKestrel/"); }, 20000));

        QString window;
        auto xprop = [&](const QString& id, const QString& property) { return tool(env, QStringLiteral("xprop"), {QStringLiteral("-id"), id, property}); };
        auto active = [&] { return tool(env, QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}) == window; };
        // Up on the current workspace, active, and the keys work.
        auto popsUp = [&] {
            return secondStart(env) && rig.waitForWindow(kTitle, true) && QTest::qWaitFor(active, 10000) && escapeLeaves(rig, zk);
        };
        auto shown = [&] { return secondStart(env) && rig.waitForWindow(kTitle, true) && QTest::qWaitFor(active, 10000); };
        QVERIFY(secondStart(env) && rig.waitForWindow(kTitle, true));
        window = tool(env, QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"), QLatin1Char('^') + kTitle + QLatin1Char('$')});
        QVERIFY(QTest::qWaitFor(active, 10000) && escapeLeaves(rig, zk));

        // What a task bar reads: the class the desktop entry names, an icon.
        QVERIFY(xprop(window, QStringLiteral("WM_CLASS")).endsWith(QLatin1String("\"zKestrel\", \"zKestrel\"")));
        QVERIFY(xprop(window, QStringLiteral("_NET_WM_ICON")).contains(QLatin1String("Icon (56 x 56)")));

        QVERIFY(shown());
        tool(env, QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), window});
        QVERIFY(rig.waitForWindow(kTitle, false));
        QVERIFY2(popsUp(), "minimized");

        QVERIFY(shown());
        tool(env, QStringLiteral("wmctrl"), {QStringLiteral("-s"), QStringLiteral("1")});
        QVERIFY(rig.waitForWindow(kTitle, false));
        QVERIFY2(popsUp(), "on another workspace");

        QVERIFY(shown());
        QProcess* cover = rig.run(QStringLiteral("zk-demoapp"), {QStringLiteral("--app-title"), QStringLiteral("Cover")});
        QVERIFY(rig.waitForWindow(QStringLiteral("Cover"), true));
        tool(env, QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^Cover$"), QStringLiteral("windowactivate"), QStringLiteral("--sync")});
        QVERIFY(QTest::qWaitFor([&] { return !active(); }, 10000));
        QVERIFY(shown());
        const QString stacking = tool(env, QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
        QCOMPARE(stacking.section(QLatin1Char(' '), -1).toUInt(nullptr, 16), window.toUInt());
        QVERIFY2(escapeLeaves(rig, zk), "covered");
        QCOMPARE(cover->state(), QProcess::Running);

        // A dialog is placed over the window it belongs to.
        QVERIFY(shown());
        QVERIFY(rig.keys({QStringLiteral("F10"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
                          QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")}));
        QVERIFY(rig.waitForWindow(QStringLiteral("Settings"), true));
        const QString settings = tool(env, QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^Settings$")});
        QCOMPARE(xprop(settings, QStringLiteral("WM_TRANSIENT_FOR")).section(QLatin1Char(' '), -1).toUInt(nullptr, 16), window.toUInt());
        QVERIFY(rig.keys({QStringLiteral("Escape")}) && rig.waitForWindow(QStringLiteral("Settings"), false));

        for (const QString& state : {QStringLiteral("add,maximized_vert,maximized_horz"), QStringLiteral("add,fullscreen")}) {
            tool(env, QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-r"), window, QStringLiteral("-b"), state});
            QVERIFY(QTest::qWaitFor([&] { return !xprop(window, QStringLiteral("_NET_WM_STATE")).contains(QRegularExpression(QStringLiteral("MAXIMIZED|FULLSCREEN"))); }, 10000));
            QCOMPARE(rig.windowGeometry(kTitle).size(), QSize(240, 320));
        }
        QVERIFY2(escapeLeaves(rig, zk), "after maximize and full screen");
        QCOMPARE(zk->state(), QProcess::Running);
    }
};

// Weston with its X11 backend in the virtual screen, its one output as wide
// as the window with Qt's decoration and taller, on black: the window's top
// is found on the screen, and the decoration's buttons from there; a
// maximized window is larger than the fixed one.
class WaylandDesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void popsUpFromAnywhere()
    {
        SKIP_WITHOUT_ZKESTREL();
        const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
        if (missing({QStringLiteral("weston")}) || !platforms.exists(QStringLiteral("libqwayland-generic.so")))
            QSKIP("needs weston and qt6-wayland (scripts/packages.txt)");
        PhoneRig rig;
        QVERIFY(rig.start());
        QTemporaryDir runtime;
        QFile ini(runtime.filePath(QStringLiteral("weston.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[core]\nidle-time=0\n[shell]\npanel-position=none\nlocking=false\nbackground-image=/none\nbackground-color=0xff000000\n") > 0);
        ini.close();
        QProcessEnvironment env = rig.environment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        QProcess weston;
        weston.setProcessEnvironment(env);
        weston.setProcessChannelMode(QProcess::ForwardedChannels);
        weston.start(QStringLiteral("weston"), {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
                                                QStringLiteral("--width=246"), QStringLiteral("--height=500"),
                                                QStringLiteral("--socket=zk-wayland"), QStringLiteral("--config=") + ini.fileName()});
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(runtime.filePath(QStringLiteral("zk-wayland"))); }, 20000));
        QProcessEnvironment wayland = env;
        wayland.remove(QStringLiteral("DISPLAY"));
        wayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        wayland.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("zk-wayland"));
        QProcessEnvironment traced = wayland;
        traced.insert(QStringLiteral("WAYLAND_DEBUG"), QStringLiteral("1"));
        QProcess* zk = rig.runProbed(QStringLiteral("zKestrel"), {QStringLiteral("-daemon")}, traced);
        QVERIFY(QTest::qWaitFor([] { return QCopChannel::isRegistered("PE/zKestrel/"); }, 20000));
        // (WAYLAND_DEBUG: the protocol in its log shows the maximize undone.)
        // The keys of the X screen go to the compositor's window under the pointer.
        tool(env, QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("120"), QStringLiteral("200")});
        auto shown = [&] {
            rig.forgetPainted();
            return secondStart(wayland) && rig.waitForPainted("ZSoftKey", QStringLiteral("Options"));
        };
        QVERIFY(shown() && escapeLeaves(rig, zk));

        QVERIFY(shown());
        QProcess* cover = rig.runProbed(QStringLiteral("zk-demoapp"), {QStringLiteral("--app-title"), QStringLiteral("Cover")}, wayland);
        QVERIFY(rig.waitForPainted("DemoFace", QStringLiteral("Cover")));
        QVERIFY2(shown() && escapeLeaves(rig, zk), "covered");
        QCOMPARE(cover->state(), QProcess::Running);

        // The decoration's minimize and maximize buttons, 15 pixels below the top.
        auto buttonRow = [&] {
            const QImage screen(rig.screenshot(QStringLiteral("wayland-desktop")));
            int y = 0;
            while (y < screen.height() && screen.pixel(120, y) == qRgb(0, 0, 0))
                ++y;
            return y + 15;
        };
        auto press = [&](int x) {
            const int y = buttonRow();
            tool(env, QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(x), QString::number(y)});
            QTest::qWait(300);  // the pointer's entry reaches the decoration before the press
            return rig.click(x, y);
        };
        QVERIFY(shown() && press(183));
        QVERIFY2(shown() && escapeLeaves(rig, zk), "minimized");
        QVERIFY(shown() && press(206));
        QVERIFY(QTest::qWaitFor([&] { return rig.log(zk).contains("unset_maximized"); }, 10000));
        QVERIFY2(shown() && escapeLeaves(rig, zk), "after maximize");
        QCOMPARE(zk->state(), QProcess::Running);
        QVERIFY(!rig.log(zk).contains("error"));
    }
};

ZK_TEST(DesktopWindowManagerTest)
ZK_TEST(WaylandDesktopTest)
#include "desktop_stories_test.moc"
