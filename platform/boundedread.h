#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>

// Reads from the device's position to its end, but never more than
// limit + 1 bytes: a result longer than limit means there was more. A file
// that grows while it is read is read to its new end (within the limit),
// not cut at the size it had before.
QByteArray readAtMost(QIODevice& device, qint64 limit);

// Reads a file descriptor from its position until read() returns 0, never
// trusting a size (the kernel's /proc and /sys files report 0 or a page),
// but never more than limit + 1 bytes: as above, a result longer than limit
// means there was more. A read error ends it with what was read before.
QByteArray readFdAtMost(int fd, qint64 limit);

// Opens a file read-only and reads it as readFdAtMost() does. Nothing when it
// cannot be opened.
std::optional<QByteArray> readFileAtMost(const QString& path, qint64 limit);
