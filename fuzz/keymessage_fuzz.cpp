// The hard-key message's data block, whatever a peer puts on the bus.
#include "core/keymessage.h"
#include "fuzz/fuzzsupport.h"

namespace {
qint32 bigEndianAt(const QByteArray& b, qsizetype at)
{
    quint32 v = 0;
    for (qsizetype i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<uchar>(b.at(at + i));
    return static_cast<qint32>(v);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const KeyMessage key = decodeKeyMessage(bytes);
    // Two big-endian integers, whatever follows them; less is no key.
    FUZZ_CHECK(key.complete == (bytes.size() >= 8));
    if (key.complete) {
        FUZZ_CHECK(key.code == bigEndianAt(bytes, 0));
        FUZZ_CHECK(key.type == bigEndianAt(bytes, 4));
    } else {
        FUZZ_CHECK(key.type == 0);
        FUZZ_CHECK(key.code == (bytes.size() >= 4 ? bigEndianAt(bytes, 0) : 0));
    }
    return 0;
}
