#include "catalogue/zaddappdlg.h"

#include "catalogue/favourites.h"
#include "catalogue/favouriteslist.h"
#include "catalogue/registry.h"
#include "core/programpicture.h"
#include "ezx/zlistbox.h"
#include "ezx/zpopup.h"
#include "ezx/zsettingitem.h"
#include "ezx/zsoftkey.h"
#include "platform/devicepath.h"
#include "platform/logline.h"
#include "platform/zconfig.h"

#include <QFile>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>

int regAppCounter = 0;

namespace {
constexpr int listSkin = 40;
constexpr int screenWidth = 240;
}

ZAddAppDlg::ZAddAppDlg()
{
    logLine(QStringLiteral("ZAddAppDlg: Start"));
    setMainWidgetTitle(tr("TXT_RID_OPTION_ADD", "Add"));

    regListBox = new ZListBox(QStringLiteral("%I%M"), this, 0, listSkin);
    regListBox->setFixedWidth(screenWidth);
    regListBox->sort(true);
    getVBoxLayout()->addWidget(regListBox, 0, Qt::Alignment());

    auto* keys = new ZSoftKey(nullptr, this, this);
    keys->setText(ZSoftKey::Left, tr("TXT_RID_OPTION_ADD", "Add"), 0);
    keys->setClickedSlot(ZSoftKey::Left, this, SLOT(accept()));
    keys->setText(ZSoftKey::Right, tr("TXT_RID_SOFTKEY_CANCEL", "Cancel"), 0);
    keys->setClickedSlot(ZSoftKey::Right, this, SLOT(reject()));
    setCSTWidget(keys);

    logLine(QStringLiteral("ZAddAppDlg: Build app list"));
    addRegistryApps(QLatin1String(cardRegistryPath));
    addRegistryApps(QLatin1String(systemRegistryPath));
    addRegistryApps(QLatin1String(installedRegistryPath));
    // The sorted list keeps the first row added current wherever it landed:
    // start at the top instead.
    if (regListBox->count() > 0)
        regListBox->setCurrentItem(0);
    logLine(QStringLiteral("ZAddAppDlg: End"));
}

ZAddAppDlg::~ZAddAppDlg() = default;

void ZAddAppDlg::addRegistryApps(const QString& path)
{
    const ZConfig registry(devicePath(path), false);
    QStringList groups;
    registry.getGroupsKeyList(groups);
    for (const QString& group : groups) {
        const QString name = registry.readEntry(group, QStringLiteral("Name"));
        const QString run = registry.readEntry(group, QStringLiteral("AppID"));
        QString icon = registry.readEntry(group, QStringLiteral("Icon"));
        if (icon.isEmpty())
            icon = registry.readEntry(group, QStringLiteral("BigIcon"));
        if (run.isEmpty() || name.isEmpty())
            continue;
        // A favourite's run text without a brace goes to the shell; a
        // registry (a memory card's among them) must not put one there.
        if (launchKindOf(run) != LaunchKind::ApplicationId) {
            logLine(QStringLiteral("ZAddAppDlg: AppID is not an application id, skipped: ") + group);
            continue;
        }
        // A bare file name lives in the application's own folder.
        if (!icon.contains(QLatin1String(".g")) && !QFile::exists(devicePath(icon)))
            icon = registry.readEntry(group, QStringLiteral("Directory")) + QLatin1Char('/') + icon;

        regApps.insert(regAppCounter, RegApp{run, name, icon});
        addAppRow(name, icon, regAppCounter);
        ++regAppCounter;
    }
}

void ZAddAppDlg::addAppRow(const QString& name, const QString& icon, int number)
{
    auto* item = new ZSettingItem(regListBox, QStringLiteral("%I%M"));
    item->appendSubItem(1, name, true);
    // Most rows of a long list are never seen: a row's picture is loaded
    // when the row is first drawn (favouriteIcon fits it into 19×19).
    item->setPixmapLoader(0, [icon, folder = programFolder()] { return favouriteIcon(icon, folder, true); });
    item->setReservedData(number);
    regListBox->insertItem(item, -1, true);
}

void ZAddAppDlg::accept()
{
    logLine(QStringLiteral("ZAddAppDlg: OK: Add app"));
    const int row = regListBox->currentItem();
    if (row < 0 || !regListBox->item(row))
        return;
    const auto found = regApps.constFind(regListBox->item(row)->getReservedData());
    if (found == regApps.constEnd()) {
        logLine(QStringLiteral("ZAddAppDlg: OK: no application behind the chosen row"));
        return;
    }

    if (lowestFreeSlot() < 0) {
        logLine(QStringLiteral("ZAddAppDlg: OK: all favourite slots are used"));
        tellAllSlotsUsed();
        logLine(QStringLiteral("ZAddAppDlg: OK:  End"));
        MyBaseDlg::reject();
        return;
    }
    const int slot = addFavourite(found->name, found->run, found->icon);
    logLine(QStringLiteral("ZAddAppDlg: OK:  End"));
    if (slot < 0) {
        // Nothing was stored: the list has nothing new to show.
        MyBaseDlg::reject();
        return;
    }
    MyBaseDlg::accept();
}

void ZAddAppDlg::tellAllSlotsUsed()
{
    ZPopup notice(0, this);
    notice.setTitle(tr("TXT_RID_OPTION_ADD", "Add"));
    auto* text = new QLabel(tr("FMT_RID_NOTICE_FAVOURITES_FULL_1", "All %1 favourites are in use")
                                .arg(favouriteSlotCount));
    text->setWordWrap(true);
    notice.insertChild(text);
    notice.setSoftkeyTextLeft(tr("TXT_RID_SOFTKEY_OK", "OK"));
    notice.exec();
}
