#include "monitor/historyrings.h"

#include <cstddef>

namespace {
std::size_t at(int p)
{
    return static_cast<std::size_t>(HistoryRings::valid(p));
}
}

void HistoryRings::storeCpu(int load)
{
    cpu[at(pos)] = load;
    pos = next(pos);
}

void HistoryRings::storeMemory(int ramPercent, int swapPercent)
{
    ram[at(pos)] = ramPercent;
    swap[at(pos)] = swapPercent;
}

void HistoryRings::carryMemoryForward()
{
    ram[at(pos)] = ram[at(previous(pos))];
    swap[at(pos)] = swap[at(previous(pos))];
}

void HistoryRings::reset()
{
    cpu.fill(0);
    ram.fill(0);
    swap.fill(0);
    pos = 0;
}
