// The favourites tab of the main window: its list, launching, and the Add,
// Delete and Rename entries of its options menu. The storage and the rows
// are in favourites.cpp and favouriteslist.cpp.
#include "ui/zkestrel.h"

#include "catalogue/favourites.h"
#include "catalogue/favouriteslist.h"
#include "catalogue/zaddappdlg.h"
#include "core/programpicture.h"
#include "ezx/zlistbox.h"
#include "ezx/zsinglecapturedlg.h"
#include "platform/logline.h"

#include <QLineEdit>

void ZKestrel::buildAppList()
{
    const QString hideAll = tr("TXT_RID_SOFTKEY_HIDE", "Hide") + QLatin1Char(' ') + tr("TXT_RID_LIST_A_ALL", "All");
    fillFavouritesList(appListBox, programFolder(), hideAll);
}

void ZKestrel::lbAppSel(int index)
{
    if (index == 0) {
        hideAllApps();
        Quit();
        return;
    }
    const int slot = favouriteSlotAt(appListBox, index);
    if (slot < 0)
        return;
    // A favourite without anything to start leaves the window where it is.
    if (!launchFavourite(favouriteRun(slot)))
        return;
    Quit();
}

void ZKestrel::menu_appAdd()
{
    ZAddAppDlg dialog;
    if (dialog.exec() == 1) {
        appListBox->clear();
        buildAppList();
    }
}

void ZKestrel::menu_appDel()
{
    const int slot = favouriteSlotAt(appListBox, appListBox->currentItem());
    if (slot < 0)
        return;
    logLine(QStringLiteral("Del index = ") + QString::number(slot));
    deleteFavourite(slot);
    appListBox->clear();
    buildAppList();
}

void ZKestrel::menu_appRen()
{
    const int slot = favouriteSlotAt(appListBox, appListBox->currentItem());
    if (slot < 0)
        return;
    logLine(QStringLiteral("Ren index = ") + QString::number(slot));

    QString current;
    for (const Favourite& favourite : readFavourites()) {
        if (favourite.slot == slot)
            current = favourite.name;
    }
    ZSingleCaptureDlg dialog(tr("TXT_RID_HEADER_RENAME", "Rename"), QString(), 0, this, nullptr, true);
    dialog.getLineEdit()->setText(current);
    if (dialog.exec() == 1) {
        renameFavourite(slot, dialog.getLineEdit()->text());
        appListBox->clear();
        buildAppList();
    }
}
