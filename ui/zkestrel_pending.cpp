#include "ui/zkestrel.h"

#include <QColor>
#include <QEvent>
#include <QFont>

// Members of the main window that the task list (process/), the monitor
// (monitor/) and the favourites (catalogue/) fill in. Until each lands these
// do nothing at all; each piece removes its members from here when it brings
// its own.

int ZKestrel::readCpuLoad() { return -1; }
int ZKestrel::readCpuFrequency() { return -1; }
void ZKestrel::setMemInfo() {}
void ZKestrel::slotUpdate() {}
void ZKestrel::showInfo() {}
void ZKestrel::drawGraph(ZImage*, int*, const QColor&, bool) {}
void ZKestrel::buildSidePanel(const QFont&) {}
void ZKestrel::buildMonitorPage(const QFont&) {}
