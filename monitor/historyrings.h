#pragma once

#include <array>
#include <span>

namespace zk::monitor {

// The monitor's ten-sample history: CPU load, free RAM and free swap in
// percent, sharing one position. The CPU sample of a refresh is stored at
// the position, which then advances; the memory samples of the same refresh
// go to the advanced position. So after a refresh the newest CPU value sits
// one before pos and the newest RAM and swap values at pos itself, which is
// what the graphs' drawing order relies on.
struct HistoryRings
{
    static constexpr int size = 10;

    std::array<int, size> cpu{};
    std::array<int, size> ram{};
    std::array<int, size> swap{};
    int pos = 0;

    // A position outside 0..9 (only a caller's mistake makes one) is taken
    // as 0, so that no index ever leaves the rings.
    static int valid(int p) { return p >= 0 && p < size ? p : 0; }
    static int next(int p) { return valid(p) < size - 1 ? valid(p) + 1 : 0; }
    static int previous(int p) { return valid(p) > 0 ? valid(p) - 1 : size - 1; }

    // A successful CPU sample: stored at pos, then pos advances (9 wraps to 0).
    void storeCpu(int load);
    // The memory samples of a refresh, at the current pos.
    void storeMemory(int ramPercent, int swapPercent);
    // While the monitor tab is not current no memory file is read: the
    // position is filled with the previous position's values instead.
    void carryMemoryForward();
    // All rings and the position back to zero (the window was hidden).
    void reset();
};

// The same rings and discipline over arrays kept elsewhere: the main window
// holds its own three arrays and position, and samples into them through
// this view. A HistoryRings converts to a view of itself.
struct HistoryRingsView
{
    using Ring = std::span<int, HistoryRings::size>;

    HistoryRingsView(Ring cpuRing, Ring ramRing, Ring swapRing, int& position)
        : cpu(cpuRing)
        , ram(ramRing)
        , swap(swapRing)
        , pos(position)
    {
    }
    // Not explicit: a HistoryRings is accepted wherever a view is.
    HistoryRingsView(HistoryRings& rings)
        : HistoryRingsView(rings.cpu, rings.ram, rings.swap, rings.pos)
    {
    }

    Ring cpu;
    Ring ram;
    Ring swap;
    int& pos;

    void storeCpu(int load);
    void storeMemory(int ramPercent, int swapPercent);
    void carryMemoryForward();
    void reset();
};

}  // namespace zk::monitor
