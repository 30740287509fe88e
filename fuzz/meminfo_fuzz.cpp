// The /proc/meminfo reader: any text, and kernel-like files whose lines come
// in any order, with look-alike names among them.
#include "fuzz/fuzzsupport.h"
#include "monitor/meminfo.h"

using namespace zk::monitor;

namespace {
void checkFigures(const MemInfo& info)
{
    FUZZ_CHECK(info.freeRam >= 0 && info.ramTotal >= 0);
    FUZZ_CHECK(info.freeSwap >= 0 && info.swapTotal >= 0);
    const int ram = freePercent(info.freeRam, info.ramTotal);
    const int swap = freePercent(info.freeSwap, info.swapTotal);
    FUZZ_CHECK(ram >= 0 && ram <= 100);
    FUZZ_CHECK(swap >= 0 && swap <= 100);
}

// Line names, the ones the monitor adds up and others that resemble them.
const char* const names[] = {"MemFree:", "Cached:", "MemTotal:", "SwapFree:", "SwapCached:", "SwapTotal:",
                             "Buffers:", "MemAvailable:", "Cached", "memfree:", "SwapCached", ":Cached:"};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (fuzz::silenceLog(), true);
    (void)quiet;

    if (fuzz::generatorInput(data, size)) {
        FuzzedDataProvider input(data, size);
        MemInfo want;
        QByteArray text;
        while (input.remaining_bytes() > 0) {
            const int which = input.ConsumeIntegralInRange<int>(0, std::size(names) - 1);
            const qint64 value = input.ConsumeIntegralInRange<qint64>(0, qint64(1) << 40);
            text += QByteArray(input.ConsumeBool() ? " " : "") + names[which]
                    + QByteArray(input.ConsumeIntegralInRange<int>(1, 12), input.ConsumeBool() ? ' ' : '\t')
                    + QByteArray::number(value) + (input.ConsumeBool() ? " kB" : "") + '\n';
            switch (which) {
            case 0:
            case 1: want.freeRam += value; break;
            case 2: want.ramTotal = value; break;
            case 3:
            case 4: want.freeSwap += value; break;
            case 5: want.swapTotal = value; break;
            default: break;
            }
        }
        const MemInfo got = parseMemInfo(text);
        FUZZ_CHECK(got.freeRam == want.freeRam && got.ramTotal == want.ramTotal);
        FUZZ_CHECK(got.freeSwap == want.freeSwap && got.swapTotal == want.swapTotal);
        checkFigures(got);
        return 0;
    }

    const QByteArray text = fuzz::bytes(data, size);
    const MemInfo info = parseMemInfo(text);
    checkFigures(info);
    const MemInfo fromFile = readMemInfo(fuzz::scratchFile("meminfo", text));
    FUZZ_CHECK(fromFile.freeRam == info.freeRam && fromFile.ramTotal == info.ramTotal);
    FUZZ_CHECK(fromFile.freeSwap == info.freeSwap && fromFile.swapTotal == info.swapTotal);
    return 0;
}
