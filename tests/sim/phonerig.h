#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Pids whose command line contains needle and whose environment has
// EZX_DEVICE_ROOT=deviceRoot: the phone's processes of one test run only,
// not those of other runs on the same machine.
QList<qint64> pidsOfPhone(const QByteArray& needle, const QString& deviceRoot);

// The simulated phone on a virtual X screen of its own, for the end-to-end
// stories: Xvfb on a free display, a fresh copy of the sample storage, the
// phone's services and applications as real processes on the test's bus,
// and xdotool / ImageMagick to look and press keys as a person would.
class PhoneRig
{
public:
    PhoneRig();
    ~PhoneRig();
    PhoneRig(const PhoneRig&) = delete;
    PhoneRig& operator=(const PhoneRig&) = delete;

    // Empty when everything needed is there, else what is missing.
    static QString missingTools();

    // Starts the screen and the services (system, application manager).
    bool start();
    // Starts the screen alone (WIDTHxHEIGHTxDEPTH), with an empty device root.
    bool startScreen(const QString& size = QStringLiteral("540x360x24"));
    // With a window manager, stack() lists the windows it manages
    // (_NET_CLIENT_LIST_STACKING) instead of the bare screen's.
    void setManaged(bool managed) { m_managed = managed; }

    // Starts a program of the build's bin folder (or one named by its full
    // path) on the phone's screen; its output is collected (log()).
    QProcess* run(const QString& program, const QStringList& args = {});
    // The same, with the paint probe preloaded (tests/helpers/zk_paintprobe):
    // the texts it draws can then be read with painted().
    QProcess* runProbed(const QString& program, const QStringList& args = {});
    // Texts drawn into widgets of that class since the last forgetPainted(),
    // in drawing order; a probed program's rows, titles and soft keys.
    QStringList painted(const QByteArray& widgetClass) const;
    void forgetPainted() const;
    // The picture files a probed program loaded.
    QStringList picturesLoaded() const;
    // Waits until a text has been drawn into a widget of that class.
    bool waitForPainted(const QByteArray& widgetClass, const QString& text, int ms = 15000) const;
    // Everything a program has written so far.
    QByteArray log(QProcess* process);
    // Waits until the program's output holds text.
    bool waitForLog(QProcess* process, const QByteArray& text, int ms = 20000);

    // The application manager; the applications it starts write here too.
    QProcess* services() const { return m_manager; }

    // Starts a registry application through the application manager and
    // returns its pid once its window's channel is up (0 when it is not).
    qint64 launch(const char* appId, const QByteArray& cmdline);

    // Names of the windows on screen (mapped), and a wait for one to come or go.
    QStringList visibleWindows() const;
    bool waitForWindow(const QString& name, bool visible, int ms = 15000) const;
    // Where the window of that name is on the screen; empty when it is not shown.
    QRect windowGeometry(const QString& name) const;
    // Types keys (xdotool names) into the window of that name, focused first.
    bool keys(const QString& window, const QStringList& keys) const;

    // Types keys into whatever window has the focus now (a popup over a
    // dialog, say).
    bool keys(const QStringList& keys) const;

    // What a window manager would know, on the bare X screen: the mapped
    // top-level windows bottom to top, and the one with the keyboard (tests/
    // helpers/zk_xwin). A close as a title bar's close button asks it.
    struct ScreenWindow
    {
        quint32 id = 0;
        qint64 pid = 0;
        QString name;
    };
    QList<ScreenWindow> stack() const;
    ScreenWindow keyboardWindow() const;
    bool closeWindow(const QString& name) const;
    // Waits until the top window is one of that program's and has the
    // keyboard (pid) or until none of its windows is mapped (pid, false).
    bool waitForTop(qint64 pid, int ms = 15000) const;
    bool waitForNoWindowOf(qint64 pid, int ms = 15000) const;

    // Clicks the first mouse button at a point of the screen.
    bool click(int x, int y) const;

    // Saves the whole screen as <screenshots>/<name>.png; returns the path.
    QString screenshot(const QString& name) const;

    // The name of the window of that pid's application (xdotool), or empty.
    QString windowNameOf(qint64 pid) const;

    // The environment of the programs on the phone's screen, for a test to add
    // to; a tool run there (xdotool, wmctrl): what it printed, ok on exit 0.
    QProcessEnvironment& environment() { return m_env; }
    QString tool(const QString& program, const QStringList& args, bool* ok = nullptr) const;

    QString writePath() const;
    QString deviceRoot() const;

    // Runs xdotool on the screen; its output.
    QString xdotool(const QStringList& args, bool* ok = nullptr) const { return tool(QStringLiteral("xdotool"), args, ok); }

private:
    QProcessEnvironment m_env;
    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess* m_screen = nullptr;
    QList<QProcess*> m_programs;
    QList<QByteArray> m_logs;
    QString m_display;
    QString m_probeFile;
    QProcess* m_manager = nullptr;
    bool m_managed = false;
};
