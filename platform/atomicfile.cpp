#include "platform/atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(const char* what)
{
    return QLatin1String(what) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

// The file a chain of symbolic links ends at (a loop ends the walk).
QString resolvedTarget(const QString& path)
{
    QString target = path;
    for (int i = 0; i < 32; ++i) {
        const QFileInfo info(target);
        if (!info.isSymLink())
            break;
        target = info.symLinkTarget();
    }
    return target;
}

bool writeAll(int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Syncs the folder so that the rename that replaced the file is on disk too.
void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Opens the temporary file, creating it when needed, and locks it. Another
// writer may have renamed the file onto the target while this one waited
// for the lock: then the name is opened again.
int openLockedTemporary(const QByteArray& name, QString* error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno == ELOOP && ::unlink(name.constData()) == 0)
            continue;  // a symbolic link put there is removed, never written through
        if (fd < 0) {
            *error = systemError("cannot make the temporary file");
            return -1;
        }
        int locked = 0;
        while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (locked != 0) {
            *error = systemError("cannot lock the temporary file");
            ::close(fd);
            return -1;
        }
        struct stat opened = {};
        struct stat named = {};
        if (::fstat(fd, &opened) == 0 && ::lstat(name.constData(), &named) == 0 && opened.st_dev == named.st_dev
            && opened.st_ino == named.st_ino)
            return fd;
        ::close(fd);
    }
    *error = QStringLiteral("the temporary file kept changing under other writers");
    return -1;
}

}  // namespace

QString atomicTemporaryPath(const QString& path)
{
    return path + QStringLiteral(".tmp");
}

FileReplacement::FileReplacement(const QString& path)
    : m_target(resolvedTarget(path))
    , m_tempName(QFile::encodeName(atomicTemporaryPath(m_target)))
{
    m_fd = openLockedTemporary(m_tempName, &m_error);
}

FileReplacement::~FileReplacement()
{
    giveUp();
}

void FileReplacement::giveUp()
{
    if (m_fd < 0)
        return;
    // Still holding the lock, so the file at that name is ours. Closing
    // releases the lock; a writer waiting for it finds the name gone and
    // makes a new temporary file.
    ::unlink(m_tempName.constData());
    ::close(m_fd);
    m_fd = -1;
}

bool FileReplacement::commit(const QByteArray& data, struct stat* written)
{
    if (m_fd < 0)
        return false;
    const QByteArray targetName = QFile::encodeName(m_target);

    // The target's permissions before any byte goes in, so that a private
    // file is never readable through its temporary copy. A writer killed
    // half-way may have left content: start from nothing.
    // A first file follows the umask. Either way other users may not write
    // to it: they could plant a favourite's shell command.
    bool ok = true;
    struct stat old = {};
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    if (!replacing && ::fstat(m_fd, &old) != 0)
        old.st_mode = 0600;
    if (::fchmod(m_fd, old.st_mode & 07777 & ~mode_t(S_IWOTH)) != 0) {
        m_error = systemError("cannot give the temporary file the file's permissions");
        ok = false;
    } else if (::ftruncate(m_fd, 0) != 0) {
        m_error = systemError("cannot empty the temporary file");
        ok = false;
    } else if (!writeAll(m_fd, data)) {
        m_error = systemError("cannot write the temporary file");
        ok = false;
    }
    if (ok && ::fdatasync(m_fd) != 0) {
        m_error = systemError("cannot sync the temporary file");
        ok = false;
    }
    if (ok && written && ::fstat(m_fd, written) != 0) {
        m_error = systemError("cannot read the temporary file's status");
        ok = false;
    }
    if (ok && ::rename(m_tempName.constData(), targetName.constData()) != 0) {
        m_error = systemError("cannot rename the temporary file");
        ok = false;
    }
    if (!ok) {
        giveUp();
        return false;
    }
    syncFolder(QFile::encodeName(QFileInfo(m_target).absolutePath()));
    ::close(m_fd);
    m_fd = -1;
    return true;
}

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error)
{
    FileReplacement turn(path);
    const bool ok = turn.locked() && turn.commit(data);
    if (!ok && error)
        *error = turn.error();
    return ok;
}
