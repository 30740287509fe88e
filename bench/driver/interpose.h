#pragma once

#include <QByteArray>
#include <QHash>

// Counters that this program keeps about itself by standing in front of the
// C library: how many heap blocks were asked for, and which picture files
// were opened. They see every library of the process (Qt included), since the
// program's own definitions of malloc and open64 come first in the lookup.
namespace interpose {
// Heap allocations (malloc, calloc, realloc) since the program started.
quint64 allocations();

// While on, every opened file whose name ends in ".png" is counted.
void countPictureOpens(bool on);
// The counts so far, by file name; they start again from nothing.
QHash<QByteArray, int> takePictureOpens();
}
