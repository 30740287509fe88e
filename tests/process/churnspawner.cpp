#include "tests/process/churnspawner.h"

#include <QFile>
#include <QMutexLocker>
#include <QRandomGenerator>

#include <csignal>
#include <ctime>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
const char kLastPid[] = "/proc/sys/kernel/ns_last_pid";

QByteArray program(Life::Kind kind)
{
    return QByteArray(ZK_BIN_DIR) + (kind == Life::Window ? "/zk_appchild" : "/zk_sleeper");
}

QList<QByteArray> argvFor(Life::Kind kind, int serial)
{
    const QByteArray n = QByteArray::number(serial);
    switch (kind) {
    case Life::Window:
        return {"/mmc/mmca1/churn/w" + n, "-n", n};
    case Life::UserApp:
        return {"/mmc/mmca1/churn/s" + n, "-n", n};
    case Life::System:
        return {"/usr/bin/churn/u" + n};
    case Life::Reused:
        return {"/mmc/mmca1/churn/r" + n, "-n", n};
    }
    return {};
}

// Makes the kernel hand out `pid` next, unless another process takes it
// first. False when this system does not let us.
bool nextPidWillBe(pid_t pid)
{
    QFile file(QString::fromLatin1(kLastPid));
    return file.open(QIODevice::WriteOnly) && file.write(QByteArray::number(pid - 1)) > 0;
}

void sleepUs(int us)
{
    timespec rest{0, us * 1000L};
    while (nanosleep(&rest, &rest) != 0) {
    }
}
}

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

QString Life::name() const
{
    const QByteArray& path = argv.constFirst();
    return QString::fromLatin1(path.mid(path.lastIndexOf('/') + 1));
}

QString Life::cmdlineText() const
{
    return QString::fromLatin1(argv.join(' ')) + QLatin1Char(' ');
}

bool Life::heldPidThroughout(qint64 fromNs, qint64 toNs) const
{
    return spawnedNs <= fromNs && (killedNs < 0 || killedNs >= toNs);
}

bool Life::overlaps(qint64 fromNs, qint64 toNs) const
{
    return bornNs <= toNs && (goneNs < 0 || goneNs >= fromNs);
}

ChurnSpawner::ChurnSpawner(const Options& options)
    : m_options(options)
{
    m_canReuse = options.reusePids && QFile::exists(QString::fromLatin1(kLastPid))
                 && ::access(kLastPid, W_OK) == 0;
}

ChurnSpawner::~ChurnSpawner()
{
    join();
}

void ChurnSpawner::start()
{
    m_thread = std::thread([this] { run(); });
}

void ChurnSpawner::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

QList<Life> ChurnSpawner::lives() const
{
    QMutexLocker lock(&m_mutex);
    return m_lives;
}

pid_t ChurnSpawner::spawn(Life::Kind kind, int serial, pid_t onPid)
{
    Life life;
    life.kind = kind;
    life.serial = serial;
    life.argv = argvFor(kind, serial);
    std::vector<char*> args;
    for (QByteArray& a : life.argv)
        args.push_back(a.data());
    args.push_back(nullptr);

    life.bornNs = monotonicNs();
    if (onPid > 0 && !nextPidWillBe(onPid))
        m_canReuse = false;
    pid_t pid = 0;
    if (posix_spawn(&pid, program(kind).constData(), nullptr, nullptr, args.data(), environ) != 0) {
        ++m_failures;
        return 0;
    }
    life.pid = pid;
    life.spawnedNs = monotonicNs();
    if (onPid > 0 && pid == onPid)
        ++m_reused;
    QMutexLocker lock(&m_mutex);
    m_lives.append(life);
    return pid;
}

void ChurnSpawner::end(const Alive& alive)
{
    pid_t pid = 0;
    {
        QMutexLocker lock(&m_mutex);
        pid = m_lives.at(alive.index).pid;
    }
    {
        const qint64 killed = monotonicNs();
        QMutexLocker lock(&m_mutex);
        m_lives[alive.index].killedNs = killed;
    }
    ::kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    const qint64 gone = monotonicNs();
    QMutexLocker lock(&m_mutex);
    m_lives[alive.index].goneNs = gone;
}

void ChurnSpawner::run()
{
    QRandomGenerator random(20240601);
    std::vector<Alive> alive;
    int serial = 0;
    while (serial < m_options.processes || !alive.empty()) {
        const qint64 now = monotonicNs();
        // End those whose time is up; a window process's pid may go on to
        // a sleeper at once.
        for (auto it = alive.begin(); it != alive.end();) {
            if (it->deadlineNs > now) {
                ++it;
                continue;
            }
            const Alive gone = *it;
            it = alive.erase(it);
            end(gone);
            Life::Kind kind;
            pid_t pid;
            {
                QMutexLocker lock(&m_mutex);
                kind = m_lives.at(gone.index).kind;
                pid = m_lives.at(gone.index).pid;
            }
            if (kind == Life::Window && m_canReuse && serial < m_options.processes) {
                if (spawn(Life::Reused, serial++, pid) > 0) {
                    QMutexLocker lock(&m_mutex);
                    const int index = static_cast<int>(m_lives.size()) - 1;
                    const int life = static_cast<int>(random.bounded(m_options.maxReusedLifeUs + 1));
                    alive.push_back({index, monotonicNs() + life * 1000LL});
                }
            }
        }
        if (serial < m_options.processes && static_cast<int>(alive.size()) < m_options.maxAlive) {
            const int s = serial++;
            const Life::Kind kind = s % m_options.windowEvery == 0 ? Life::Window
                                    : s % 2 == 0                   ? Life::UserApp
                                                                   : Life::System;
            if (spawn(kind, s, 0) > 0) {
                const int maxUs = kind == Life::Window ? m_options.maxWindowLifeUs : m_options.maxSleeperLifeUs;
                const int life = static_cast<int>(random.bounded(maxUs + 1));
                QMutexLocker lock(&m_mutex);
                alive.push_back({static_cast<int>(m_lives.size()) - 1, monotonicNs() + life * 1000LL});
            }
            continue;
        }
        sleepUs(200);
    }
    m_finished = true;
}
