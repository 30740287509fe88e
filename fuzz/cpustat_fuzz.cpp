// The /proc/stat reader and the load arithmetic: any file, and well-formed
// "cpu" lines with any counters and spacing.
#include "fuzz/fuzzsupport.h"
#include "monitor/cpuload.h"
#include "monitor/historyrings.h"

using namespace zk::monitor;

namespace {
QByteArray blanks(FuzzedDataProvider& input)
{
    QByteArray s;
    const int n = input.ConsumeIntegralInRange<int>(1, 3);
    for (int i = 0; i < n; ++i)
        s += input.ConsumeBool() ? ' ' : '\t';
    return s;
}

void checkLoad(const CpuCounters& first, const CpuCounters& second)
{
    CpuSampler sampler;
    const int sinceBoot = sampler.sample(first);
    const int load = sampler.sample(second);
    FUZZ_CHECK(sinceBoot >= 0 && sinceBoot <= 100);
    FUZZ_CHECK(load >= 0 && load <= 100);
    FUZZ_CHECK(sampler.prevBusy() == second.busy() && sampler.prevTotal() == second.total());
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (fuzz::silenceLog(), true);
    (void)quiet;

    if (fuzz::generatorInput(data, size)) {
        // A line the kernel could write: it must be read exactly.
        FuzzedDataProvider input(data, size);
        const CpuCounters want{input.ConsumeIntegral<quint64>(), input.ConsumeIntegral<quint64>(),
                               input.ConsumeIntegral<quint64>(), input.ConsumeIntegral<quint64>()};
        QByteArray text = "cpu" + blanks(input) + QByteArray::number(want.user) + blanks(input)
                          + QByteArray::number(want.nice) + blanks(input) + QByteArray::number(want.system)
                          + blanks(input) + QByteArray::number(want.idle);
        const int more = input.ConsumeIntegralInRange<int>(0, 7);
        for (int i = 0; i < more; ++i)
            text += blanks(input) + QByteArray::number(input.ConsumeIntegral<quint32>());
        text += '\n' + fuzz::bytes(input.ConsumeRemainingBytesAsString());
        const std::optional<CpuCounters> got = readCpuCounters(fuzz::scratchFile("stat", text));
        FUZZ_CHECK(got.has_value());
        FUZZ_CHECK(got->user == want.user && got->nice == want.nice);
        FUZZ_CHECK(got->system == want.system && got->idle == want.idle);
        checkLoad(CpuCounters{}, *got);
        return 0;
    }

    // Two samples, the files of two refreshes, apart at a form feed (one
    // file serves twice without one).
    const QByteArray all = fuzz::bytes(data, size);
    const qsizetype split = all.indexOf('\f');
    const QByteArray first = split < 0 ? all : all.left(split);
    const QByteArray second = split < 0 ? all : all.mid(split + 1);
    const std::optional<CpuCounters> a = readCpuCounters(fuzz::scratchFile("stat", first));
    const std::optional<CpuCounters> b = readCpuCounters(fuzz::scratchFile("stat", second));
    if (a) {
        // Only the opening "cpu" line counts; what follows it does not.
        FUZZ_CHECK(first.simplified().startsWith("cpu "));
        const qsizetype end = first.indexOf('\n');
        if (end >= 0) {
            const std::optional<CpuCounters> lineOnly = readCpuCounters(fuzz::scratchFile("stat", first.left(end + 1) + "garbage\n"));
            FUZZ_CHECK(lineOnly && lineOnly->user == a->user && lineOnly->idle == a->idle);
        }
    }
    if (a && b)
        checkLoad(*a, *b);

    // A refresh through the rings: a failed read changes nothing.
    HistoryRings rings;
    rings.pos = 9;
    CpuSampler sampler;
    const int load = readCpuLoad(fuzz::scratchFile("stat", second), sampler, rings);
    if (b) {
        FUZZ_CHECK(load >= 0 && load <= 100 && rings.cpu[9] == load && rings.pos == 0);
    } else {
        FUZZ_CHECK(load == -1 && rings.pos == 9 && rings.cpu[9] == 0);
        FUZZ_CHECK(sampler.prevBusy() == 0 && sampler.prevTotal() == 0);
    }
    return 0;
}
