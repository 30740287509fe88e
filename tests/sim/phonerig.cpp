#include "tests/sim/phonerig.h"

#include "platform/qcopchannel.h"
#include "platform/taskdir.h"
#include "sim/simproc.h"
#include "tests/common/ztest.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#include <sanitizer/asan_interface.h>
#endif

namespace {
const QString kBin = QStringLiteral(ZK_BIN_DIR);

bool copyTree(const QString& from, const QString& to)
{
    QProcess cp;
    cp.start(QStringLiteral("cp"), {QStringLiteral("-a"), from, to});
    return cp.waitForFinished(30000) && cp.exitCode() == 0;
}

// The preload list for the paint probe. A sanitized build's programs want
// their AddressSanitizer runtime loaded before any other library, so the
// runtime this test runs with (the same one the programs are linked to)
// goes first there.
QString probePreload()
{
    const QString probe = kBin + QStringLiteral("/libzk_paintprobe.so");
#if defined(__SANITIZE_ADDRESS__)
    void* inRuntime = nullptr;
    auto* fn = &__asan_address_is_poisoned;
    static_assert(sizeof(fn) == sizeof(inRuntime));
    std::memcpy(&inRuntime, &fn, sizeof(inRuntime));
    Dl_info info{};
    if (dladdr(inRuntime, &info) != 0 && info.dli_fname)
        return QString::fromLocal8Bit(info.dli_fname) + QLatin1Char(' ') + probe;
#endif
    return probe;
}

// The environment of the application manager and so of every application it
// starts. In a sanitized build these skip the leak scan at exit: the stories
// quit applications through zKestrel, whose quit action waits only a few
// hundred short event passes for the task to be gone, and the scan of a Qt
// program on an X screen takes longer than that, so the row would stay.
// zKestrel, the services and the tests' other programs keep the scan.
QProcessEnvironment applicationsEnvironment(QProcessEnvironment env)
{
#if defined(__SANITIZE_ADDRESS__)
    const QString options = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               options + (options.isEmpty() ? QString() : QStringLiteral(":")) + QStringLiteral("detect_leaks=0"));
#endif
    return env;
}
}

QList<qint64> pidsOfPhone(const QByteArray& needle, const QString& deviceRoot)
{
    const QByteArray mark = "EZX_DEVICE_ROOT=" + deviceRoot.toLocal8Bit() + '\0';
    QList<qint64> own;
    for (qint64 pid : pidsWithCommandLine(needle)) {
        const std::optional<QByteArray> environment =
            TaskDir(static_cast<int>(pid)).read("environ", 1 << 20);
        // The environment starts with an entry too: look for it after a NUL.
        if (environment && ('\0' + *environment).contains('\0' + mark))
            own << pid;
    }
    return own;
}

PhoneRig::PhoneRig() = default;

PhoneRig::~PhoneRig()
{
    // A failed story shows what every program of the phone said.
    if (QTest::currentTestFailed()) {
        screenshot(QStringLiteral("failed-") + QLatin1String(QTest::currentTestFunction()));
        for (qsizetype i = 0; i < m_programs.size(); ++i) {
            const QByteArray said = log(m_programs.at(i)).right(6000);
            std::fprintf(stderr, "---- %s said:\n%s\n", qPrintable(m_programs.at(i)->program()), said.constData());
        }
    }
    // Programs with an application channel (zKestrel, the keypad) are asked
    // to quit, so that they end through their own teardown: a sanitized
    // build checks that too and scans for leaks then. The others, and any
    // that do not end, are terminated.
    QList<QProcess*> asked;
    for (QProcess* p : std::as_const(m_programs)) {
        const QByteArray channel = "EZX/Application/" + QByteArray::number(p->processId());
        if (p->state() == QProcess::Running && QCopChannel::isRegistered(channel)) {
            QCopChannel::send(channel, "quickQuit()");
            asked << p;
        }
    }
    for (qsizetype i = m_programs.size() - 1; i >= 0; --i) {
        QProcess* p = m_programs.at(i);
        if (!asked.contains(p) || !p->waitForFinished(20000))
            p->terminate();
        if (!p->waitForFinished(3000))
            p->kill();
        p->waitForFinished(3000);
        delete p;
    }
    // The applications outlive the manager that started them; only this
    // rig's (they carry its storage folder in their environment) are ended.
    if (!deviceRoot().isEmpty()) {
        for (qint64 pid : pidsOfPhone("--app-title", deviceRoot()))
            ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
    if (m_screen) {
        m_screen->terminate();
        m_screen->waitForFinished(3000);
        delete m_screen;
    }
}

QString PhoneRig::missingTools()
{
    QStringList missing;
    for (const char* tool : {"Xvfb", "xdotool", "import"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            missing << QLatin1String(tool);
    }
    return missing.join(QLatin1String(", "));
}

bool PhoneRig::start()
{
    if (!startScreen() || !copyTree(QStringLiteral(ZK_SIM_DEVICE), deviceRoot()))
        return false;
    run(QStringLiteral("zk-system"));
    const QProcessEnvironment plain = m_env;
    m_env = applicationsEnvironment(m_env);
    m_manager = run(QStringLiteral("zk-appmanager"));
    m_env = plain;
    QDeadlineTimer services(20000);
    while (!(QCopChannel::isRegistered("/AM/Launcher") && QCopChannel::isRegistered("EZX/System"))) {
        if (services.hasExpired())
            return false;
        QTest::qWait(100);
    }
    return true;
}

bool PhoneRig::startScreen(const QString& size)
{
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid())
        return false;
    QDir().mkpath(m_dir->filePath(QStringLiteral("write/setup")));

    // Xvfb picks a free display itself and writes its number once it takes
    // connections: no race with the screens of test runs started at the
    // same time, and nothing starts before the screen is there. The screen
    // has room for the phone and, beside it, the whole keypad. No reset when
    // the last client leaves: the next one would be refused for a moment.
    m_screen = new QProcess;
    m_screen->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_screen->start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                             QStringLiteral("-screen"), QStringLiteral("0"),
                                             size, QStringLiteral("-nolisten"),
                                             QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!m_screen->waitForStarted())
        return false;
    QByteArray said;
    QDeadlineTimer up(60000);
    while (!said.contains('\n')) {
        if (up.hasExpired() || !m_screen->waitForReadyRead(static_cast<int>(up.remainingTime())))
            return false;
        said += m_screen->readAllStandardOutput();
    }
    bool isNumber = false;
    const int display = said.trimmed().toInt(&isNumber);
    if (!isNumber)
        return false;
    m_display = QStringLiteral(":%1").arg(display);

    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert(QStringLiteral("DISPLAY"), m_display);
    m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_env.insert(QStringLiteral("EZX_DEVICE_ROOT"), deviceRoot());
    m_env.insert(QStringLiteral("EZX_APP_WRITE_PATH"), writePath());
    return true;
}

QProcess* PhoneRig::run(const QString& program, const QStringList& args)
{
    auto* p = new QProcess;
    p->setProcessEnvironment(m_env);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(QDir::isAbsolutePath(program) ? program : kBin + QLatin1Char('/') + program, args);
    p->waitForStarted();
    m_programs << p;
    m_logs << QByteArray();
    return p;
}

QProcess* PhoneRig::runProbed(const QString& program, const QStringList& args)
{
    const QProcessEnvironment plain = m_env;
    m_probeFile = m_dir->filePath(QStringLiteral("painted.txt"));
    m_env.insert(QStringLiteral("LD_PRELOAD"), probePreload());
    m_env.insert(QStringLiteral("ZK_PAINT_PROBE"), m_probeFile);
    m_env.insert(QStringLiteral("ZK_PICTURE_PROBE"), m_dir->filePath(QStringLiteral("pictures.txt")));
    QProcess* p = run(program, args);
    m_env = plain;
    return p;
}

QStringList PhoneRig::painted(const QByteArray& widgetClass) const
{
    QStringList texts;
    QFile file(m_probeFile);
    if (m_probeFile.isEmpty() || !file.open(QIODevice::ReadOnly))
        return texts;
    // Lines: class TAB window title TAB text.
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 3 && fields.at(0) == widgetClass)
            texts << QString::fromUtf8(fields.at(2));
    }
    return texts;
}

QStringList PhoneRig::picturesLoaded() const
{
    QFile file(m_dir ? m_dir->filePath(QStringLiteral("pictures.txt")) : QString());
    QStringList loaded;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("loaded\t"))
                loaded << QString::fromUtf8(line.mid(7));
        }
    }
    return loaded;
}

void PhoneRig::forgetPainted() const
{
    // The probe appends, so emptying the file starts afresh.
    QFile file(m_probeFile);
    if (!m_probeFile.isEmpty())
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool PhoneRig::waitForPainted(const QByteArray& widgetClass, const QString& text, int ms) const
{
    QDeadlineTimer deadline(ms);
    while (!painted(widgetClass).contains(text)) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(100);
    }
    return true;
}

QString PhoneRig::windowNameOf(qint64 pid) const
{
    const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--pid"), QString::number(pid),
                                 QStringLiteral("--name"), QStringLiteral(".")});
    const QString id = ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts).value(0);
    if (id.isEmpty())
        return {};
    return xdotool({QStringLiteral("getwindowname"), id}).trimmed();
}

QByteArray PhoneRig::log(QProcess* process)
{
    const qsizetype i = m_programs.indexOf(process);
    if (i < 0)
        return {};
    // Take in what is waiting in the pipe now, not only what the event loop
    // has read so far: a drawn row must not be seen before its log lines.
    while (process->waitForReadyRead(0)) {
    }
    m_logs[i] += process->readAll();
    return m_logs.at(i);
}

bool PhoneRig::waitForLog(QProcess* process, const QByteArray& text, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!log(process).contains(text)) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(100);
    }
    return true;
}

qint64 PhoneRig::launch(const char* appId, const QByteArray& cmdline)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << QUuid::fromString(QLatin1String(appId));
    QCopChannel::send("/AM/Launcher", "launchApp4NoLockCheck", data);
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        for (qint64 pid : pidsWithCommandLine(cmdline)) {
            if (QCopChannel::isRegistered("EZX/Application/" + QByteArray::number(pid)))
                return pid;
        }
        QTest::qWait(100);
    }
    return 0;
}

QString PhoneRig::tool(const QString& program, const QStringList& args, bool* ok) const
{
    QProcess x;
    x.setProcessEnvironment(m_env);
    x.start(program, args);
    const bool done = x.waitForFinished(15000);
    if (ok)
        *ok = done && x.exitCode() == 0;
    return QString::fromLocal8Bit(x.readAllStandardOutput());
}

QStringList PhoneRig::visibleWindows() const
{
    // Every mapped window that has a name; Qt's helper windows have none.
    const QString out = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), QStringLiteral("."),
                                 QStringLiteral("getwindowname"), QStringLiteral("%@")});
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool PhoneRig::waitForWindow(const QString& name, bool visible, int ms) const
{
    QDeadlineTimer deadline(ms);
    while (visibleWindows().contains(name) != visible) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(150);
    }
    return true;
}

QRect PhoneRig::windowGeometry(const QString& name) const
{
    bool ok = false;
    const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), QLatin1Char('^') + name + QLatin1Char('$')},
                                &ok);
    const QString id = ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts).value(0);
    if (!ok || id.isEmpty())
        return {};
    // Lines "X=250", "Y=0", "WIDTH=274", "HEIGHT=100", ...
    QHash<QString, int> values;
    const QString shell = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
    for (const QString& line : shell.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        values.insert(line.section(QLatin1Char('='), 0, 0), line.section(QLatin1Char('='), 1).toInt());
    return QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")),
                 values.value(QStringLiteral("WIDTH")), values.value(QStringLiteral("HEIGHT")));
}

bool PhoneRig::keys(const QString& window, const QStringList& keyNames) const
{
    bool ok = false;
    const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), QLatin1Char('^') + window + QLatin1Char('$')},
                                &ok);
    const QString id = ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts).value(0);
    if (!ok || id.isEmpty())
        return false;
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
    return keys(keyNames);
}

bool PhoneRig::keys(const QStringList& keyNames) const
{
    bool ok = false;
    for (const QString& k : keyNames) {
        xdotool({QStringLiteral("key"), k}, &ok);
        if (!ok)
            return false;
        QTest::qWait(250);  // one key at a time, as a thumb presses them
    }
    return true;
}

bool PhoneRig::click(int x, int y) const
{
    bool ok = false;
    xdotool({QStringLiteral("mousemove"), QString::number(x), QString::number(y),
             QStringLiteral("click"), QStringLiteral("1")},
            &ok);
    return ok;
}

namespace {
PhoneRig::ScreenWindow screenWindow(const QString& line)
{
    const QStringList f = line.split(QLatin1Char('\t'));
    PhoneRig::ScreenWindow w;
    if (f.size() == 3) {
        w.id = f.at(0).toUInt();
        w.pid = f.at(1).toLongLong();
        w.name = f.at(2);
    }
    return w;
}
}

QList<PhoneRig::ScreenWindow> PhoneRig::stack() const
{
    QProcess x;
    x.setProcessEnvironment(m_env);
    x.start(kBin + QStringLiteral("/zk_xwin"), {m_managed ? QStringLiteral("managed") : QStringLiteral("stack")});
    x.waitForFinished(15000);
    QList<ScreenWindow> windows;
    for (const QString& line : QString::fromUtf8(x.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        windows << screenWindow(line);
    return windows;
}

PhoneRig::ScreenWindow PhoneRig::keyboardWindow() const
{
    QProcess x;
    x.setProcessEnvironment(m_env);
    x.start(kBin + QStringLiteral("/zk_xwin"), {QStringLiteral("focus")});
    x.waitForFinished(15000);
    return screenWindow(QString::fromUtf8(x.readAllStandardOutput()).trimmed());
}

bool PhoneRig::closeWindow(const QString& name) const
{
    QProcess x;
    x.setProcessEnvironment(m_env);
    x.start(kBin + QStringLiteral("/zk_xwin"), {QStringLiteral("close"), name});
    return x.waitForFinished(15000) && x.exitCode() == 0;
}

bool PhoneRig::waitForTop(qint64 pid, int ms) const
{
    QDeadlineTimer deadline(ms);
    for (;;) {
        const QList<ScreenWindow> windows = stack();
        const ScreenWindow keys = keyboardWindow();
        if (!windows.isEmpty() && windows.last().pid == pid && keys.id == windows.last().id)
            return true;
        if (deadline.hasExpired()) {
            // What the screen showed instead, bottom to top.
            QStringList seen;
            for (const ScreenWindow& w : windows)
                seen << QStringLiteral("%1 (pid %2)").arg(w.name).arg(w.pid);
            qWarning("waitForTop(%lld): stack %s; keyboard on %s (pid %lld)", pid,
                     qPrintable(seen.join(QStringLiteral(", "))), qPrintable(keys.name), keys.pid);
            return false;
        }
        QTest::qWait(50);
    }
}

bool PhoneRig::waitForNoWindowOf(qint64 pid, int ms) const
{
    QDeadlineTimer deadline(ms);
    for (;;) {
        const QList<ScreenWindow> windows = stack();
        if (std::none_of(windows.begin(), windows.end(), [pid](const ScreenWindow& w) { return w.pid == pid; }))
            return true;
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
}

QString PhoneRig::screenshot(const QString& name) const
{
    QDir().mkpath(ztest::shotsDir());
    const QString path = ztest::shotsDir() + QLatin1Char('/') + name + QStringLiteral(".png");
    QProcess shot;
    shot.setProcessEnvironment(m_env);
    shot.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path});
    shot.waitForFinished(20000);
    return path;
}

QString PhoneRig::writePath() const
{
    return m_dir ? m_dir->filePath(QStringLiteral("write")) : QString();
}

QString PhoneRig::deviceRoot() const
{
    return m_dir ? m_dir->filePath(QStringLiteral("device")) : QString();
}
