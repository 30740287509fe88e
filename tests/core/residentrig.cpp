#include "tests/core/residentrig.h"

#include "platform/taskdir.h"
#include "process/procstatus.h"

#include <QDeadlineTimer>
#include <QThread>

#include <climits>
#include <csignal>

#include <unistd.h>

using namespace zk::proc;

namespace {
// A number field of /proc/<pid>/status (the main thread's, for a thread
// group), -1 when there is none.
qint64 statusValue(qint64 pid, const QByteArray& key)
{
    if (pid <= 0 || pid > INT_MAX)
        return -1;
    for (const QByteArray& line : taskStatusText(TaskDir(static_cast<int>(pid))).split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}
}

long ticksPerSecond()
{
    return sysconf(_SC_CLK_TCK);
}

ResidentRig::ResidentRig(const QString& busAddress)
    : m_busAddress(busAddress)
{
}

ResidentRig::~ResidentRig()
{
    if (running()) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool ResidentRig::start()
{
    if (!m_dir.isValid())
        return false;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!m_busAddress.isEmpty())
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    m_process.setProcessEnvironment(env);
    m_process.setStandardOutputFile(m_dir.filePath(QStringLiteral("log")));
    m_process.setStandardErrorFile(m_dir.filePath(QStringLiteral("errors")));
    m_process.start(QStringLiteral(ZK_BIN_DIR "/zKestrel"), {QStringLiteral("-daemon")});
    return m_process.waitForStarted(10000);
}

const QStringList& ResidentRig::lines()
{
    QFile file(m_dir.filePath(QStringLiteral("log")));
    if (file.open(QIODevice::ReadOnly) && file.size() > m_readTo) {
        file.seek(m_readTo);
        const QByteArray more = file.readAll();
        m_readTo += more.size();
        m_partial += more;
        qsizetype end;
        while ((end = m_partial.indexOf('\n')) >= 0) {
            m_lines.append(QString::fromLatin1(m_partial.left(end)));
            m_partial.remove(0, end + 1);
        }
    }
    return m_lines;
}

int ResidentRig::findLine(const QString& text, int from)
{
    const QStringList& all = lines();
    for (int i = qMax(0, from); i < all.size(); ++i) {
        if (all.at(i).contains(text))
            return i;
    }
    return -1;
}

int ResidentRig::waitForLine(const QString& text, int from, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        // Look once more after the end: the last lines may have come with it.
        const bool ended = !running() || m_process.waitForFinished(0);
        const int found = findLine(text, from);
        if (found >= 0 || ended || deadline.hasExpired())
            return found;
        QThread::msleep(10);
    }
}

int ResidentRig::countLines(const QString& text, int from, int to)
{
    const QStringList& all = lines();
    const int end = to < 0 ? all.size() : qMin<int>(to, all.size());
    int count = 0;
    for (int i = qMax(0, from); i < end; ++i)
        count += all.at(i).contains(text) ? 1 : 0;
    return count;
}

bool ResidentRig::waitForExit(int timeoutMs)
{
    const bool ended = !running() || m_process.waitForFinished(timeoutMs);
    lines();
    return ended;
}

QString ResidentRig::errors() const
{
    QFile file(m_dir.filePath(QStringLiteral("errors")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

qint64 ResidentRig::cpuTicks() const
{
    if (!running())
        return -1;
    const QList<QByteArray> fields = taskStatFields(static_cast<int>(pid()));
    // After the name: state (field 3) ... utime (14), stime (15).
    if (fields.size() < 13)
        return -1;
    return fields.at(11).toLongLong() + fields.at(12).toLongLong();
}

qint64 ResidentRig::rssKb() const
{
    return running() ? statusValue(pid(), "VmRSS") : -1;
}

qint64 ResidentRig::peakRssKb() const
{
    return running() ? statusValue(pid(), "VmHWM") : -1;
}

qint64 ResidentRig::mainThreadWakeups() const
{
    return running() ? statusValue(pid(), "voluntary_ctxt_switches") : -1;
}

PrivateBus::~PrivateBus()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool PrivateBus::start()
{
    m_process.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!m_process.waitForStarted(10000))
        return false;
    QDeadlineTimer deadline(10000);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || !m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    m_address = QString::fromLatin1(m_process.readLine().trimmed());
    return !m_address.isEmpty();
}

bool PrivateBus::kill(int signal)
{
    if (m_process.state() == QProcess::NotRunning)
        return false;
    ::kill(static_cast<pid_t>(pid()), signal);
    return m_process.waitForFinished(10000);
}
