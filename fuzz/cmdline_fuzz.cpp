// The command-line reader: any cmdline file contents, at the task list's
// and the details dialog's limits and at small ones.
#include "fuzz/fuzzsupport.h"
#include "process/cmdline.h"

using namespace zk::proc;

namespace {
void checkText(const QByteArray& bytes, int limit, const QString& path)
{
    const QString text = cmdlineText(bytes, limit);
    FUZZ_CHECK(text.size() <= qMax(limit, 0));
    QByteArray used = bytes.left(qMax(limit, 0));
    if (used.endsWith('\n'))
        used.chop(1);
    // Nothing left, or a first byte of NUL, is no text at all, not an empty one.
    FUZZ_CHECK(text.isNull() == (used.isEmpty() || used.startsWith('\0')));
    if (!text.isNull()) {
        // One character per byte, no control character survives.
        FUZZ_CHECK(text.size() == used.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const uchar b = static_cast<uchar>(used.at(i));
            FUZZ_CHECK(text.at(i).unicode() == (b <= 0x1F ? u' ' : char16_t(b)));
        }
    }
    // The same bytes read from a file give the same text.
    const QString fromFile = readCmdline(path, limit);
    FUZZ_CHECK(fromFile == text && fromFile.isNull() == text.isNull());
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const QString path = fuzz::scratchFile("cmdline", bytes);
    checkText(bytes, 254, path);
    checkText(bytes, 1023, path);
    // A limit that falls anywhere in short inputs, zero and below included.
    checkText(bytes, static_cast<int>(size % 40) - 2, path);
    return 0;
}
