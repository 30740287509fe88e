// End-to-end stories on a desktop: a real window manager (openbox) on a
// virtual screen, real applications of Debian (xterm, xcalc, xeyes), the
// desktop services (zk-desktop) and zKestrel resident, unchanged, driven by
// keys and looked at through the manager's stacking order, the window with
// the keyboard, what zKestrel paints and loads, processes and log lines.
#include "desktop/registryfile.h"
#include "platform/qcopchannel.h"
#include "platform/zconfig.h"
#include "sim/simproc.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"
#include "tests/sim/phonerig.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>

#include <csignal>
#include <memory>

#define SKIP_WITHOUT_DESKTOP()                                                                                 \
    do {                                                                                                       \
        for (const char* tool : {"Xvfb", "xdotool", "import", "openbox", "xterm", "xcalc", "xeyes"}) {         \
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())                                 \
                QSKIP(qPrintable(QStringLiteral("needs %1 (scripts/packages.txt)").arg(QLatin1String(tool)))); \
        }                                                                                                      \
    } while (false)

namespace {
const QString kTitle = QStringLiteral("Tasks Manager");

QByteArray channelOf(qint64 pid)
{
    return "EZX/Application/" + QByteArray::number(pid);
}

// The README's pictures of zKestrel on a desktop, refreshed on request
// only (ZK_UPDATE_DOCS=1): the whole virtual screen.
void keepShot(const QString& path, const QString& name)
{
    if (!qEnvironmentVariableIsEmpty("ZK_UPDATE_DOCS"))
        QImage(path).save(QStringLiteral(ZK_SOURCE_DIR "/docs/") + name);
}

// The desktop of the stories: Debian's xterm entries and icon themes, and
// two entries of the user's own for xcalc and xeyes (which come without),
// with pictures in the user's icon folder.
bool layOutDesktop(const QString& top)
{
    const QString share = top + QStringLiteral("/share");
    QDir().mkpath(share + QStringLiteral("/applications"));
    bool ok = QFile::link(QStringLiteral("/usr/share/icons"), share + QStringLiteral("/icons"));
    for (const char* id : {"debian-xterm.desktop", "debian-uxterm.desktop"})
        ok = ok && QFile::link(QStringLiteral("/usr/share/applications/") + QLatin1String(id), share + QStringLiteral("/applications/") + QLatin1String(id));
    const QString data = top + QStringLiteral("/data");
    const QList<std::pair<const char*, QColor>> own{{"xcalc", Qt::darkYellow}, {"xeyes", Qt::darkCyan}};
    for (const auto& [program, colour] : own) {
        const QString name = QString::fromLatin1(program) == QLatin1String("xcalc") ? QStringLiteral("Calculator")
                                                                                    : QStringLiteral("Eyes");
        ok = ok && testfiles::writeFile(data + QStringLiteral("/applications/%1.desktop").arg(QLatin1String(program)), "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() + "\nExec=" + program + "\nIcon=zk-story-" + program + "\n");
        QImage picture(48, 48, QImage::Format_ARGB32);
        picture.fill(colour);
        const QString icons = data + QStringLiteral("/icons/hicolor/48x48/apps");
        ok = ok && QDir().mkpath(icons)
             && picture.save(icons + QStringLiteral("/zk-story-%1.png").arg(QLatin1String(program)));
    }
    return ok;
}

struct DesktopSession
{
    PhoneRig rig;
    QTemporaryDir dir;
    QProcess* zk = nullptr;
    QProcess* services = nullptr;
    qint64 xterm = 0, xcalc = 0, xeyes = 0;

    ~DesktopSession()
    {
        // What the launcher started is the user's, outside the rig's
        // programs: this run's carry its device root.
        for (qint64 pid : pidsOfPhone("xcalc", rig.deviceRoot()))
            ::kill(pid_t(pid), SIGKILL);
    }

    QString xdo(const QStringList& args) const { return rig.xdotool(args); }

    // Pops zKestrel up and waits until its list shows the row.
    bool popUp(const QString& row)
    {
        rig.forgetPainted();
        QCopChannel::send("PE/zKestrel/", "show()");
        return rig.waitForWindow(kTitle, true) && rig.waitForPainted("ZListBox", row);
    }

    // An application of Debian, up once the desktop services hold its
    // channel.
    qint64 startApp(const char* program, const QString& geometry)
    {
        QProcess* p = rig.run(QStandardPaths::findExecutable(QLatin1String(program)),
                              {QStringLiteral("-geometry"), geometry});
        QDeadlineTimer deadline(20000);
        while (!QCopChannel::isRegistered(channelOf(p->processId())) && !deadline.hasExpired())
            QTest::qWait(100);
        return QCopChannel::isRegistered(channelOf(p->processId())) ? p->processId() : 0;
    }

    static std::unique_ptr<DesktopSession> start()
    {
        auto s = std::make_unique<DesktopSession>();
        if (!s->rig.startScreen(QStringLiteral("800x480x24")) || !layOutDesktop(s->dir.path()))
            return nullptr;
        s->rig.setManaged(true);
        // The manager with the machine's own folders (its themes).
        QProcess* manager = s->rig.run(QStringLiteral("/usr/bin/openbox"), {QStringLiteral("--sm-disable")});
        s->rig.environment().insert(QStringLiteral("XDG_DATA_HOME"), s->dir.filePath(QStringLiteral("data")));
        s->rig.environment().insert(QStringLiteral("XDG_DATA_DIRS"), s->dir.filePath(QStringLiteral("share")));
        s->rig.environment().insert(QStringLiteral("XDG_CONFIG_HOME"), s->dir.filePath(QStringLiteral("config")));
        s->services = s->rig.run(QStringLiteral("zk-desktop"));
        // What went wrong in the start, and what the services said.
        auto failed = [&s, manager](const char* what) {
            qWarning("desktop session: %s; zk-desktop said:\n%s\nopenbox said:\n%s", what,
                     s->rig.log(s->services).constData(), s->rig.log(manager).constData());
            return nullptr;
        };
        if (!s->rig.waitForLog(s->services, "applications of")
            || !s->rig.waitForLog(s->services, "following the window manager's list"))
            return failed("the services are not up");
        // The test program is an application on the same bus, without a
        // window: the filter keeps it off the rows anyway.
        ZConfig cfg(s->rig.writePath() + QStringLiteral("/setup/zKestrel.cfg"), false);
        cfg.writeEntry(QStringLiteral("Task"), QStringLiteral("FiltrProcList"),
                       QStringLiteral("!am!zKestrel!phone!messaging!brwdaemon!misc1!windowsserver!vr!addrbk!br!"
                                      "test_desktop!"));
        // Hide All shows the desktop only with this (off by default).
        cfg.writeEntry(QStringLiteral("General"), QStringLiteral("SendGoToIDLE"), true);
        cfg.flush();
        s->zk = s->rig.runProbed(QStringLiteral("zKestrel"), {QStringLiteral("-daemon")});
        QDeadlineTimer deadline(20000);
        while (!QCopChannel::isRegistered("PE/zKestrel/") && !deadline.hasExpired())
            QTest::qWait(100);
        // Newest first in the list: XTerm on top.
        s->xcalc = s->startApp("xcalc", QStringLiteral("+250+0"));
        s->xeyes = s->startApp("xeyes", QStringLiteral("200x150+590+0"));
        s->xterm = s->startApp("xterm", QStringLiteral("50x12+440+220"));
        if (!QCopChannel::isRegistered("PE/zKestrel/") || !s->xterm || !s->xcalc || !s->xeyes)
            return failed("zKestrel or an application is not up");
        return s;
    }
};
}

class DesktopStoriesTest : public QObject
{
    Q_OBJECT
private slots:
    // The task list names the desktop's windows after their desktop entries,
    // with their pictures; selecting one brings it forward from another
    // workspace, minimized as it was, with the keyboard; Quit closes one;
    // Hide All shows the desktop.
    void taskListSwitchesBetweenDesktopWindows()
    {
        SKIP_WITHOUT_DESKTOP();
        auto s = DesktopSession::start();
        QVERIFY(s);
        QVERIFY(s->popUp(QStringLiteral("XTerm")));
        for (const char* row : {"Calculator", "Eyes"})
            QVERIFY2(s->rig.waitForPainted("ZListBox", QLatin1String(row)), row);
        for (const char* picture : {"/xcalc.png", "/xeyes.png", "/debian-xterm.png"}) {
            const QString path = s->rig.deviceRoot() + QLatin1String(zk::desktop::kIconFolderPath) + QLatin1String(picture);
            QVERIFY2(s->rig.picturesLoaded().contains(path), picture);
        }
        keepShot(s->rig.screenshot(QStringLiteral("desktop-task-list")), QStringLiteral("zkestrel-desktop-tasks.png"));
        QVERIFY(s->rig.keys(kTitle, {QStringLiteral("Escape")}));
        QVERIFY(s->rig.waitForWindow(kTitle, false));

        // The terminal goes to the second workspace, minimized.
        QString terminal;
        for (const PhoneRig::ScreenWindow& w : s->rig.stack()) {
            if (w.pid == s->xterm)
                terminal = QString::number(w.id);
        }
        QVERIFY(!terminal.isEmpty());
        s->xdo({"set_desktop_for_window", terminal, "1"});
        s->xdo({"windowminimize", "--sync", terminal});
        QVERIFY(s->popUp(QStringLiteral("XTerm")));
        QVERIFY(s->rig.keys(kTitle, {QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->zk, "App [" + QByteArray::number(s->xterm) + "] show"));
        QVERIFY(s->rig.waitForLog(s->services, "raise() of pid " + QByteArray::number(s->xterm)));
        QVERIFY(s->rig.waitForTop(s->xterm));
        QCOMPARE(s->xdo({"get_desktop"}).trimmed(), QStringLiteral("1"));
        s->rig.screenshot(QStringLiteral("desktop-raised"));
        // Back to the first workspace, where zKestrel's window was left.
        s->xdo({"set_desktop", "0"});

        // Quit (options menu: Show, Quit, ...) on the same row.
        QVERIFY(s->popUp(QStringLiteral("XTerm")));
        QVERIFY(s->rig.keys(kTitle, {QStringLiteral("F10"), QStringLiteral("Down"), QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->services, "quickQuit() of pid " + QByteArray::number(s->xterm)));
        QTRY_VERIFY_WITH_TIMEOUT(!processRuns(s->xterm), 15000);
        QVERIFY(processRuns(s->xcalc) && processRuns(s->xeyes));
        QVERIFY(s->rig.keys(kTitle, {QStringLiteral("Escape")}));
        QVERIFY(s->rig.waitForWindow(kTitle, false));

        // Hide All, the first row of the favourites.
        QVERIFY(s->popUp(QStringLiteral("Eyes")));
        QVERIFY(s->rig.keys(kTitle, {QStringLiteral("Right")}));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Hide All")));
        QVERIFY(s->rig.keys(kTitle, {QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->services, "ReturnToIdle(-5003): showing the desktop"));
        for (const char* name : {"Calculator", "xeyes", "Tasks Manager"})
            QVERIFY2(s->rig.waitForWindow(QLatin1String(name), false), name);
        s->rig.screenshot(QStringLiteral("desktop-hide-all"));
    }

    // The add dialog lists the installed entries; a favourite of one starts
    // it through the desktop's launcher.
    void favouritesStartDesktopApplications()
    {
        SKIP_WITHOUT_DESKTOP();
        auto s = DesktopSession::start();
        QVERIFY(s);
        QVERIFY(s->popUp(QStringLiteral("XTerm")));
        QVERIFY(s->rig.keys(kTitle, {QStringLiteral("Right")}));
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Hide All")));
        QVERIFY(s->rig.keys(kTitle, {QStringLiteral("F10"), QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForWindow(QStringLiteral("Add"), true));
        for (const char* row : {"Calculator", "Eyes", "UXTerm", "XTerm"})
            QVERIFY2(s->rig.waitForPainted("ZListBox", QLatin1String(row)), row);
        keepShot(s->rig.screenshot(QStringLiteral("desktop-add-dialog")), QStringLiteral("zkestrel-desktop-add.png"));
        // Sorted by name: Calculator first.
        QVERIFY(s->rig.keys(QStringLiteral("Add"), {QStringLiteral("F10")}));
        QVERIFY(s->rig.waitForLog(s->zk, "ZAddAppDlg: OK:  End"));
        const QString appId = zk::desktop::appIdOf(QStringLiteral("xcalc.desktop")).toString(QUuid::WithBraces);
        QCOMPARE(ZConfig(s->rig.writePath() + QStringLiteral("/setup/zKestrel.cfg"), false)
                     .readEntry(QStringLiteral("App"), QStringLiteral("run0")),
                 appId);
        QVERIFY(s->rig.waitForPainted("ZListBox", QStringLiteral("Calculator")));
        QVERIFY(s->rig.keys(kTitle, {QStringLiteral("Down"), QStringLiteral("Return")}));
        QVERIFY(s->rig.waitForLog(s->zk, "Run app from AppId: " + appId.toLatin1()));
        QVERIFY(s->rig.waitForLog(s->services, "started xcalc.desktop (Calculator) as pid"));
        QTRY_COMPARE_WITH_TIMEOUT(s->rig.visibleWindows().count(QStringLiteral("Calculator")), 2, 15000);
    }
};

ZK_TEST(DesktopStoriesTest)

#include "desktop_stories_test.moc"
