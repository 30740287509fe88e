#include "ui/zkestrel.h"

#include <QColor>
#include <QEvent>
#include <QFont>

// Members of the main window that the task list (process/), the monitor
// (monitor/) and the favourites (catalogue/) fill in. Until each lands these
// do nothing at all; each piece removes its members from here when it brings
// its own.

void ZKestrel::buildProcList() {}
void ZKestrel::addProcItem(int, const QString&, bool) {}
void ZKestrel::sendToApp(int, const QString&) {}
void ZKestrel::quitApp(int) {}
bool ZKestrel::killProc(int) { return false; }
bool ZKestrel::procExists(int) { return false; }
void ZKestrel::showApp(int) {}
void ZKestrel::hideAllApps() {}
void ZKestrel::lbProcSel(int) {}
void ZKestrel::menu_procShow() {}
void ZKestrel::menu_procQuit() {}
void ZKestrel::menu_procKill() {}
void ZKestrel::menu_procInfo() {}
void ZKestrel::menu_procPrioritet() {}
bool ZKestrel::eventFilter(QObject* watched, QEvent* event)
{
    return QObject::eventFilter(watched, event);
}

void ZKestrel::buildAppList() {}
void ZKestrel::lbAppSel(int) {}
void ZKestrel::menu_appAdd() {}
void ZKestrel::menu_appDel() {}
void ZKestrel::menu_appRen() {}
