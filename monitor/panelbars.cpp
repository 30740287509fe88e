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
}

void setBarHeight(ZImage* bar, int height)
{
    if (!present(bar))
        return;
    bar->setFixedHeight(std::max(0, height));
    bar->setVisible(height > 0);
    bar->update();
}

void setBarWidth(ZImage* bar, int width)
{
    if (!present(bar))
        return;
    bar->setFixedWidth(std::max(0, width));
    bar->setVisible(width > 0);
    bar->update();
}

}  // namespace zk::monitor
