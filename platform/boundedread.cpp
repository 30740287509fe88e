#include "platform/boundedread.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

QByteArray readAtMost(QIODevice& device, qint64 limit)
{
    // Pieces of about the expected size, so that a small file costs one
    // small read and a large one no single huge allocation.
    constexpr qint64 minPiece = 4096;
    constexpr qint64 maxPiece = 1024 * 1024;
    const qint64 piece = std::clamp(device.size() + 1, minPiece, maxPiece);
    QByteArray data;
    while (data.size() <= limit) {
        const QByteArray part = device.read(std::min(piece, limit + 1 - data.size()));
        if (part.isEmpty())
            break;
        data += part;
    }
    return data;
}

QByteArray readFdAtMost(int fd, qint64 limit)
{
    // A small first piece: most kernel files are a few hundred bytes.
    constexpr qint64 firstPiece = 4096;
    QByteArray data;
    if (fd < 0 || limit < 0)
        return data;
    qint64 used = 0;
    while (used <= limit) {
        const qint64 want = std::min(std::max(firstPiece, used), limit + 1 - used);
        data.resize(used + want);
        const ssize_t got = ::read(fd, data.data() + used, static_cast<size_t>(want));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        used += got;
    }
    data.resize(used);
    return data;
}

std::optional<QByteArray> readFileAtMost(const QString& path, qint64 limit)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QByteArray data = readFdAtMost(fd, limit);
    ::close(fd);
    return data;
}
