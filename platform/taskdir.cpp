#include "platform/taskdir.h"

#include "platform/boundedread.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <utility>

TaskDir::TaskDir(int pid, const QString& procRoot)
    : m_pid(pid)
{
    if (pid <= 0)
        return;
    const QByteArray path = QFile::encodeName(procRoot) + '/' + QByteArray::number(pid);
    m_fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

TaskDir::~TaskDir()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

TaskDir::TaskDir(TaskDir&& other) noexcept
    : m_pid(other.m_pid)
    , m_fd(std::exchange(other.m_fd, -1))
{
}

TaskDir& TaskDir::operator=(TaskDir&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_pid = other.m_pid;
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

std::optional<QByteArray> TaskDir::read(const char* name, qint64 limit) const
{
    if (m_fd < 0)
        return std::nullopt;
    const int fd = ::openat(m_fd, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QByteArray data = readFdAtMost(fd, limit);
    ::close(fd);
    return data;
}

QList<QByteArray> TaskDir::entries(const char* folder) const
{
    QList<QByteArray> names;
    if (m_fd < 0)
        return names;
    const int fd = ::openat(m_fd, folder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return names;
    DIR* dir = ::fdopendir(fd);  // owns fd from here on
    if (!dir) {
        ::close(fd);
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names << name;
    }
    ::closedir(dir);
    return names;
}
