#include "tests/process/taskwindow.h"
#include "tests/common/ztest.h"

#include "core/globals.h"
#include "core/settingdefaults.h"
#include "core/zsettings.h"
#include "ezx/languageresources.h"
#include "ezx/listrowitem.h"
#include "ezx/zlistbox.h"
#include "process/procname.h"
#include "ui/zkestrel.h"

#include <QApplication>
#include <QImage>

using namespace zk::proc;

namespace taskwindow {

void resetSettings()
{
    gSettings->hideSystemTasks = true;
    gSettings->processFilter = QString::fromLatin1(kDefaultProcFilter);
    gSettings->showAppNoWindow = false;
    gSettings->sendGoToIdle = false;
    gSettings->sendRaisePhone = true;
    gSettings->showInfoByGreen = true;
    gSettings->actionOnC = 0;
    gSettings->iconCatalogue.clear();
    gSettings->javaNames.clear();
    gSettings->javaFolderInSD.clear();
}

ZKestrel* create()
{
    static bool languages = false;
    if (!languages) {
        installLanguageResources(qApp);
        languages = true;
    }
    if (!gSettings)
        gSettings = new ZSettings();
    resetSettings();
    isDaemon = true;
    gMainWindow = new ZKestrel();
    return gMainWindow;
}

void destroy(ZKestrel* window)
{
    if (gMainWindow == window)
        gMainWindow = nullptr;
    delete window;
}

void bringBack(ZKestrel* window)
{
    if (window->isHidden())
        window->reactivate();
}

ZListRowItem* row(const ZListBox* list, int index)
{
    return dynamic_cast<ZListRowItem*>(list->item(index));
}

int rowOfPid(const ZListBox* list, int pid)
{
    for (int i = 0; i < list->count(); ++i) {
        if (row(list, i) && row(list, i)->getPid() == pid)
            return i;
    }
    return -1;
}

QString rowText(const ZListBox* list, int index)
{
    const ZListRowItem* r = row(list, index);
    return r ? r->subItem(1, 0) : QString();
}

QPixmap rowIcon(const ZListBox* list, int index)
{
    const ZListRowItem* r = row(list, index);
    return r ? r->pixmap(0) : QPixmap();
}

QPixmap builtIn(const QString& name)
{
    return QPixmap(QStringLiteral(ZK_BIN_DIR) + QStringLiteral("/img/") + name);
}

bool samePicture(const QPixmap& a, const QPixmap& b)
{
    return ztest::samePicture(a.toImage(), b.toImage());
}
}
