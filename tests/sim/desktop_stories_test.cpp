// The installed program as a desktop user meets it: the resident zKestrel
// nested in a Wayland compositor on the virtual screen, popped up by a second
// start (the keyboard shortcut). Covered or minimized, it comes to the user
// with the keys; the decoration's maximize leaves it alive and normal. (X11
// window managers: tests/scripts/desktop_wm.sh.)
#include "platform/qcopchannel.h"
#include "tests/common/ztest.h"
#include "tests/sim/residentsession.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
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

// Weston with its X11 backend in the virtual screen, its one output as large
// as the window with Qt's decoration, so that the compositor puts the window
// at the output's corner and the decoration's buttons have known places.
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
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[core]\nidle-time=0\n[shell]\npanel-position=none\nlocking=false\n") > 0);
        ini.close();
        QProcessEnvironment env = rig.environment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        QProcess weston;
        weston.setProcessEnvironment(env);
        weston.setProcessChannelMode(QProcess::ForwardedChannels);
        weston.start(QStringLiteral("weston"), {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
                                                QStringLiteral("--width=246"), QStringLiteral("--height=353"),
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
        cover->kill();
        QVERIFY(cover->waitForFinished());

        // The decoration's minimize and maximize buttons.
        auto press = [&](int x) {
            tool(env, QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(x), QStringLiteral("15")});
            QTest::qWait(300);  // the pointer's entry reaches the decoration before the press
            return rig.click(x, 15);
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

ZK_TEST(WaylandDesktopTest)
#include "desktop_stories_test.moc"
