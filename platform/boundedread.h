#pragma once

#include <QByteArray>
#include <QIODevice>

// Reads from the device's position to its end, but never more than
// limit + 1 bytes: a result longer than limit means there was more. A file
// that grows while it is read is read to its new end (within the limit),
// not cut at the size it had before.
QByteArray readAtMost(QIODevice& device, qint64 limit);
