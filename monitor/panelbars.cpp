#include "monitor/panelbars.h"

#include "ezx/zimage.h"
#include "platform/logline.h"

#include <algorithm>

namespace zk::monitor {

namespace {
bool present(const ZImage* bar)
{
    if (bar)
        return true;
    logLine(QStringLiteral("panel bar: no bar to size"));
    return false;
}

// A bar that keeps its length and visibility is not painted again.
bool unchanged(const ZImage* bar, int minimum, int maximum, int length)
{
    return minimum == std::max(0, length) && maximum == minimum && bar->isHidden() == (length <= 0);
}
}

void setBarHeight(ZImage* bar, int height)
{
    if (!present(bar) || unchanged(bar, bar->minimumHeight(), bar->maximumHeight(), height))
        return;
    bar->setFixedHeight(std::max(0, height));
    bar->setVisible(height > 0);
    bar->update();
}

void setBarWidth(ZImage* bar, int width)
{
    if (!present(bar) || unchanged(bar, bar->minimumWidth(), bar->maximumWidth(), width))
        return;
    bar->setFixedWidth(std::max(0, width));
    bar->setVisible(width > 0);
    bar->update();
}

}  // namespace zk::monitor
