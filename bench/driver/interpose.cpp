#include "bench/driver/interpose.h"

#include <atomic>
#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
}

namespace {
std::atomic<quint64> allocationCount{0};
std::atomic<bool> countingOpens{false};

std::mutex& opensLock()
{
    static std::mutex lock;
    return lock;
}

QHash<QByteArray, int>& opens()
{
    static QHash<QByteArray, int> counts;
    return counts;
}

void noteOpen(const char* path)
{
    if (!countingOpens.load(std::memory_order_relaxed) || !path)
        return;
    const size_t n = std::strlen(path);
    if (n < 4 || std::strcmp(path + n - 4, ".png") != 0)
        return;
    const std::lock_guard<std::mutex> guard(opensLock());
    ++opens()[QByteArray(path, static_cast<qsizetype>(n))];
}
}

// The C library's allocator does the work; these only count.
extern "C" void* malloc(size_t size) noexcept
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size) noexcept
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* block, size_t size) noexcept
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(block, size);
}

// Qt opens files through open64. The call goes straight to the kernel, as
// the C library's own would.
extern "C" int open64(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    noteOpen(path);
    return static_cast<int>(syscall(SYS_openat, AT_FDCWD, path, flags, mode));
}

quint64 interpose::allocations()
{
    return allocationCount.load(std::memory_order_relaxed);
}

void interpose::countPictureOpens(bool on)
{
    countingOpens.store(on, std::memory_order_relaxed);
}

QHash<QByteArray, int> interpose::takePictureOpens()
{
    const std::lock_guard<std::mutex> guard(opensLock());
    QHash<QByteArray, int> counts;
    counts.swap(opens());
    return counts;
}
