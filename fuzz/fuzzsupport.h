#pragma once

// Shared by the fuzz targets: a private folder for the files a reader must
// be given, quiet log lines, the two kinds of input, and a check that stops
// the run with a message (libFuzzer keeps the input that got there).

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace fuzz {

// The project's log lines go to standard output; a run makes millions of
// them. libFuzzer reports on standard error, which stays.
inline void silenceLog()
{
    std::fflush(stdout);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        ::dup2(null, STDOUT_FILENO);
        ::close(null);
    }
}

[[noreturn]] inline void fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "\n==fuzz check failed== %s:%d: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

// A folder of this process's own, in $ZK_FUZZ_SCRATCH (scripts/fuzz.sh
// removes that after the run) or else in memory when /dev/shm is there;
// removed at a normal exit.
inline const QByteArray& scratchFolder()
{
    static const QByteArray folder = [] {
        const char* given = std::getenv("ZK_FUZZ_SCRATCH");
        const char* base = given && *given ? given : ::access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                                                                     : "/tmp";
        std::string pattern = std::string(base) + "/zk-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            fail("cannot make a scratch folder", __FILE__, __LINE__);
        return QByteArray(pattern.c_str());
    }();
    static const bool cleanup = [] {
        std::atexit([] {
            const std::string command = "rm -rf '" + scratchFolder().toStdString() + "'";
            if (std::system(command.c_str()) != 0)
                std::fprintf(stderr, "could not remove %s\n", scratchFolder().constData());
        });
        return true;
    }();
    (void)cleanup;
    return folder;
}

// Writes bytes to scratchFolder()/name (replacing it) and returns the path.
inline QString scratchFile(const char* name, const QByteArray& bytes)
{
    const QByteArray path = scratchFolder() + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        fail("cannot write a scratch file", __FILE__, __LINE__);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n <= 0)
            fail("cannot write a scratch file", __FILE__, __LINE__);
        done += n;
    }
    ::close(fd);
    return QString::fromLocal8Bit(path);
}

// Inputs are plain file texts, which is what the seed corpora hold; an
// input that starts with the byte 0x01 instead drives the target's
// generator of well-formed files (the rest feeds a FuzzedDataProvider).
inline bool generatorInput(const uint8_t*& data, size_t& size)
{
    if (size == 0 || data[0] != 0x01)
        return false;
    ++data;
    --size;
    return true;
}

// UTF-8 text as the program's own strings can hold it: unlike
// QString::fromUtf8, an initial U+FEFF stays a character.
inline QString text(const QByteArray& utf8)
{
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decode(utf8);
}

inline QByteArray bytes(const std::string& s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

}  // namespace fuzz

#define FUZZ_CHECK(cond)                             \
    do {                                             \
        if (!(cond))                                 \
            ::fuzz::fail(#cond, __FILE__, __LINE__); \
    } while (false)
