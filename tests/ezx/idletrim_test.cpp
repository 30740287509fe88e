// The application gives freed memory back to the system once its event loop
// is idle: after a burst (a flood of bus messages read ahead and queued),
// the freed pages lie between objects that live on, and the allocator
// alone would keep them.
#include "platform/idleheaptrim.h"
#include "tests/common/ztest.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {
constexpr int kBlockBytes = 1000;
constexpr int kBlocks = 64 * 1024;
// Every n-th block stays: the live objects amid the freed ones.
constexpr int kKeepEvery = 8;
}

class IdleHeapTrimTest : public QObject
{
    Q_OBJECT

private slots:
    void freedPagesGoBackWhenIdle()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer's allocator holds freed blocks in quarantine; the C library's trim has no say");
#endif
        // Freed on every way out, a failed check too. The second burst
        // takes the blocks that the first freed and that were trimmed, and
        // frees them all again.
        std::vector<std::unique_ptr<char, decltype(&std::free)>> blocks, kept;
        for (int burst = 1; burst <= 2; ++burst) {
            for (int i = 0; i < kBlocks; ++i) {
                blocks.emplace_back(static_cast<char*>(std::malloc(kBlockBytes)), &std::free);
                QVERIFY(blocks.back());
                std::memset(blocks.back().get(), 0x5a, kBlockBytes);
            }
            for (int i = kKeepEvery - 1; burst == 1 && i < kBlocks; i += kKeepEvery)
                kept.push_back(std::move(blocks[static_cast<size_t>(i)]));
            blocks.clear();
            const qint64 freed = IdleHeapTrim::residentKb();
            QVERIFY(freed > 0);
            // About 7/8 of 64 MB is free, in runs of seven blocks; at least one
            // whole page of each run can go.
            const qint64 expected = freed - 16 * 1024;
            // An event loop that waits (QTest's waits only poll).
            QDeadlineTimer deadline(10000);
            while (IdleHeapTrim::residentKb() >= expected && !deadline.hasExpired()) {
                QEventLoop idle;
                QTimer::singleShot(100, &idle, &QEventLoop::quit);
                idle.exec();
            }
            QVERIFY2(IdleHeapTrim::residentKb() < expected, qPrintable(QStringLiteral("burst %1").arg(burst)));
            std::printf("FIGURES idle trim, burst %d: VmRSS %lld KiB with the freed blocks, %lld KiB once idle\n",
                        burst, static_cast<long long>(freed), static_cast<long long>(IdleHeapTrim::residentKb()));
        }
    }
};

ZK_TEST(IdleHeapTrimTest)
#include "idletrim_test.moc"
