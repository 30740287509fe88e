// Preloaded (LD_PRELOAD) into a program under measurement: every time the
// program hands a painted frame to the screen, one line with the moment is
// appended to the file named by ZK_FRAME_PROBE:
//
//   <CLOCK_MONOTONIC nanoseconds> <CPU time of the process so far, nanoseconds>
//
// The clock is the machine's, so the benchmark compares the stamps with its
// own readings (when it started the program, when it sent a request). Qt's
// widgets hand every frame over through QBackingStore::flush; this definition
// comes first in the lookup order, notes the moment and calls Qt's own.
//
// With ZK_FRAME_PROBE_EXIT set the program ends right after its first frame,
// so that a profiler sees exactly the start-up:
//
//   ZK_FRAME_PROBE_EXIT=1 LD_PRELOAD=build/bin/libzk_frameprobe.so valgrind --tool=callgrind build/bin/zKestrel
#include <QBackingStore>
#include <QPoint>
#include <QRegion>
#include <QWindow>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {
using Flush = void (*)(QBackingStore*, const QRegion&, QWindow*, const QPoint&);

Flush realFlush()
{
    static const Flush real = [] {
        Flush fn = nullptr;
        void* symbol = dlsym(RTLD_NEXT, "_ZN13QBackingStore5flushERK7QRegionP7QWindowRK6QPoint");
        static_assert(sizeof(fn) == sizeof(symbol));
        std::memcpy(&fn, &symbol, sizeof(fn));
        return fn;
    }();
    return real;
}

int stampFile()
{
    static const int fd = [] {
        const char* path = std::getenv("ZK_FRAME_PROBE");
        return path && *path ? ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
    }();
    return fd;
}

void stamp()
{
    const int fd = stampFile();
    if (fd < 0)
        return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    char line[48];
    const int n = std::snprintf(line, sizeof line, "%lld %lld\n",
                                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                                static_cast<long long>(cpu.tv_sec) * 1000000000LL + cpu.tv_nsec);
    if (n > 0 && ::write(fd, line, static_cast<size_t>(n)) < 0)
        return;
}
}

void QBackingStore::flush(const QRegion& region, QWindow* window, const QPoint& offset)
{
    if (Flush real = realFlush())
        real(this, region, window, offset);
    stamp();
    if (std::getenv("ZK_FRAME_PROBE_EXIT"))
        _exit(0);
}
