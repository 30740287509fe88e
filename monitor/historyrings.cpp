#include "monitor/historyrings.h"

#include <algorithm>
#include <cstddef>

namespace zk::monitor {

namespace {
std::size_t at(int p)
{
    return static_cast<std::size_t>(HistoryRings::valid(p));
}
}

void HistoryRings::storeCpu(int load)
{
    HistoryRingsView(*this).storeCpu(load);
}

void HistoryRings::storeMemory(int ramPercent, int swapPercent)
{
    HistoryRingsView(*this).storeMemory(ramPercent, swapPercent);
}

void HistoryRings::carryMemoryForward()
{
    HistoryRingsView(*this).carryMemoryForward();
}

void HistoryRings::reset()
{
    HistoryRingsView(*this).reset();
}

void HistoryRingsView::storeCpu(int load)
{
    cpu[at(pos)] = load;
    pos = HistoryRings::next(pos);
}

void HistoryRingsView::storeMemory(int ramPercent, int swapPercent)
{
    ram[at(pos)] = ramPercent;
    swap[at(pos)] = swapPercent;
}

void HistoryRingsView::carryMemoryForward()
{
    ram[at(pos)] = ram[at(HistoryRings::previous(pos))];
    swap[at(pos)] = swap[at(HistoryRings::previous(pos))];
}

void HistoryRingsView::reset()
{
    std::ranges::fill(cpu, 0);
    std::ranges::fill(ram, 0);
    std::ranges::fill(swap, 0);
    pos = 0;
}

}  // namespace zk::monitor
