#include "platform/boundedread.h"

#include <algorithm>

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
