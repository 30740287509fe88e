#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

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

    // Starts a program of the build's bin folder on the phone's screen; its
    // output is collected (log()).
    QProcess* run(const QString& program, const QStringList& args = {});
    // Everything a program has written so far.
    QByteArray log(QProcess* process);
    // Waits until the program's output holds text.
    bool waitForLog(QProcess* process, const QByteArray& text, int ms = 20000);

    // Starts a registry application through the application manager and
    // returns its pid once its window's channel is up (0 when it is not).
    qint64 launch(const char* appId, const QByteArray& cmdline);

    // Names of the windows on screen (mapped), and a wait for one to come or go.
    QStringList visibleWindows() const;
    bool waitForWindow(const QString& name, bool visible, int ms = 15000) const;
    // Types keys (xdotool names) into the window of that name, focused first.
    bool keys(const QString& window, const QStringList& keys) const;

    // Clicks the first mouse button at a point of the screen.
    bool click(int x, int y) const;

    // Saves the whole screen as <screenshots>/<name>.png; returns the path.
    QString screenshot(const QString& name) const;

    QString writePath() const;
    QString deviceRoot() const;

private:
    QString xdotool(const QStringList& args, bool* ok = nullptr) const;

    QProcessEnvironment m_env;
    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess* m_screen = nullptr;
    QList<QProcess*> m_programs;
    QList<QByteArray> m_logs;
    QString m_display;
};
