// The task list of the main window: the /proc scan turned into rows, and the
// rows' pid read back by the actions.
#include "ui/zkestrel.h"

#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/listrowitem.h"
#include "ezx/zfocus.h"
#include "ezx/zkeys.h"
#include "ezx/zlistbox.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zscrollpanel.h"
#include "platform/logline.h"
#include "platform/qcopchannel.h"
#include "process/procactions.h"
#include "process/procwalk.h"
#include "process/taskrow.h"
#include "process/zprocinfodlg.h"
#include "ui/znumselect.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QSet>

#include <sys/resource.h>
#include <unistd.h>

using namespace zk::proc;

namespace {
ScanSettings scanSettings()
{
    ScanSettings settings;
    if (gSettings) {
        settings.showAllTask = !gSettings->hideSystemTasks;
        settings.filterList = gSettings->processFilter;
        settings.showAppNoWindow = gSettings->showAppNoWindow;
    }
    return settings;
}

RowSources rowSources()
{
    RowSources sources;
    if (gSettings) {
        sources.appDir = gSettings->getAppDir();
        sources.icons = &gSettings->iconCatalogue;
        sources.javaNames = &gSettings->javaNames;
        sources.javaFolderInSD = gSettings->javaFolderInSD;
    }
    sources.pictures = std::make_shared<QHash<QString, QPixmap>>();
    return sources;
}

// How long the quit action waits for a task to end: cycles of event passes,
// each pass followed by a short sleep.
const int kQuitWaitCycles = 50;
const int kPassesPerCycle = 10;
const useconds_t kPassSleepUs = 50;

ZListRowItem* rowAt(const ZListBox* list, int index)
{
    return dynamic_cast<ZListRowItem*>(list->item(index));
}

// The pid of the current row, or 0 when there is none.
int currentPid(const ZListBox* list, int* index = nullptr)
{
    const int current = list ? list->currentItem() : -1;
    const ZListRowItem* row = current >= 0 ? rowAt(list, current) : nullptr;
    if (index)
        *index = current;
    return row ? row->getPid() : 0;
}

int rowOfPid(const ZListBox* list, int pid)
{
    for (int i = 0; i < list->count(); ++i) {
        const ZListRowItem* row = rowAt(list, i);
        if (row && row->getPid() == pid)
            return i;
    }
    return -1;
}

// A task's row, put at the top of the list.
void insertProcRow(ZListBox* list, int pid, const QString& text, bool noWindow, const RowSources& sources)
{
    const TaskRowLook look = taskRowLook(text, noWindow, sources);
    auto* row = new ZListRowItem(list, QStringLiteral("%I%M"));
    if (look.hasText)
        row->appendSubItem(1, look.text, true);
    row->setPixmap(0, look.icon);
    row->setPid(pid);
    list->insertItem(row, 0, true);
}

// After a row went the highlight goes back to the top.
void highlightFirstRow(ZListBox* list)
{
    if (list->count() > 0)
        list->setCurrentItem(0);
}
}

void ZKestrel::buildProcList()
{
    if (!procListBox)
        return;
    procListBox->clear();
    pidPhone = 0;
    // The list starts empty: the pids listed so far are known here, without
    // a search through the rows for each new one.
    QSet<int> listed;
    const RowSources sources = rowSources();
    // Each task becomes its row as the walk accepts it.
    scanTasks(scanSettings(), appWindowsNow(), &pidPhone, windowOwnersNow(), [&](const TaskEntry& task) {
        if (!listed.contains(task.pid)) {
            listed.insert(task.pid);
            insertProcRow(procListBox, task.pid, task.text, task.noWindow, sources);
        }
    });
}

void ZKestrel::addProcItem(int pid, const QString& text, bool noWindow)
{
    if (!procListBox)
        return;
    if (rowOfPid(procListBox, pid) >= 0)
        return;
    insertProcRow(procListBox, pid, text, noWindow, rowSources());
}

void ZKestrel::sendToApp(int pid, const QString& message)
{
    zk::proc::sendToApp(pid, message);
}

void ZKestrel::quitApp(int pid)
{
    zk::proc::quitApp(pid);
}

bool ZKestrel::procExists(int pid)
{
    return zk::proc::procExists(pid);
}

void ZKestrel::showApp(int pid)
{
    logLine(QStringLiteral("App [%1] show").arg(pid));
    sendToApp(pid, QStringLiteral("raise()"));
    zfocus::keyboardGoesToAnotherProgram();
    QApplication::processEvents();
    Quit();
}

void ZKestrel::hideAllApps()
{
    logLine(QStringLiteral("Miniumized all app"));
    const bool goToIdle = gSettings ? gSettings->sendGoToIdle : false;
    const bool raisePhone = gSettings ? gSettings->sendRaisePhone : true;
    if (goToIdle)
        QCopChannel::send(kSystemChannel, kReturnToIdle, returnToIdleData());
    if (raisePhone) {
        sendToApp(pidPhone, QStringLiteral("raise()"));
        if (pidPhone > 0)
            zfocus::keyboardGoesToAnotherProgram();
    }
    QApplication::processEvents();
}

void ZKestrel::lbProcSel(int index)
{
    const ZListRowItem* row = procListBox ? rowAt(procListBox, index) : nullptr;
    if (!row)
        return;
    showApp(row->getPid());
}

void ZKestrel::menu_procShow()
{
    if (procListBox && procListBox->currentItem() >= 0)
        lbProcSel(procListBox->currentItem());
}

void ZKestrel::menu_procQuit()
{
    const int pid = currentPid(procListBox);
    if (pid <= 0)
        return;
    quitApp(pid);
    // Events keep flowing while we wait, so the highlight may move or the
    // list may be rebuilt: the row to drop is found by its pid at the end.
    const QPointer<ZListBox> list(procListBox);
    for (int cycle = 0; cycle < kQuitWaitCycles; ++cycle) {
        if (!procExists(pid)) {
            ZListBox* box = list.data();
            if (!box)
                return;
            const int row = rowOfPid(box, pid);
            if (row >= 0)
                box->removeItem(row);
            highlightFirstRow(box);
            return;
        }
        for (int pass = 0; pass < kPassesPerCycle; ++pass) {
            QApplication::processEvents();
            usleep(kPassSleepUs);
        }
    }
}

void ZKestrel::menu_procKill()
{
    int index = -1;
    const int pid = currentPid(procListBox, &index);
    if (pid <= 0)
        return;
    // A task of another user survives a refused kill, so its row stays.
    if (!killRemovesRow(zk::proc::killProc(pid)))
        return;
    procListBox->removeItem(index);
    highlightFirstRow(procListBox);
}

void ZKestrel::menu_procPrioritet()
{
    const int pid = currentPid(procListBox);
    if (pid <= 0)
        return;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(pid));
    ZNumSelect picker(this, tr("TXT_RID_HEADER_PRIORITY", "Priority") + QLatin1Char(':'));
    picker.setValue(nice);
    if (picker.exec() == 1)
        setProcPriority(pid, picker.value());
}

void ZKestrel::menu_procInfo()
{
    const int pid = currentPid(procListBox);
    if (pid <= 0)
        return;
    ZProcInfoDlg dialog(pid);
    dialog.exec();
}

bool ZKestrel::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (phoneKeyCode(static_cast<QKeyEvent*>(event)->key()) == zkeys::PhoneRed) {
            Quit();
            return true;
        }
        break;
    case QEvent::KeyRelease:
        if (watched == procListBox) {
            const int code = phoneKeyCode(static_cast<QKeyEvent*>(event)->key());
            const bool infoByGreen = gSettings ? gSettings->showInfoByGreen : true;
            const int actionOnC = gSettings ? gSettings->actionOnC : 0;
            // The action runs as soon as this key has been through every
            // filter. Run from in here, a dialog's soft-key bar would add its
            // own filter to the application's list while Qt walks that list,
            // and Qt would then call this filter again for the same key.
            if (code == zkeys::PhoneGreen && infoByGreen)
                QMetaObject::invokeMethod(this, &ZKestrel::menu_procInfo, Qt::QueuedConnection);
            else if (code == zkeys::PhoneClear && actionOnC == 1)
                QMetaObject::invokeMethod(this, &ZKestrel::menu_procKill, Qt::QueuedConnection);
            else if (code == zkeys::PhoneClear && actionOnC == 2)
                QMetaObject::invokeMethod(this, &ZKestrel::menu_procQuit, Qt::QueuedConnection);
        }
        break;
    case QEvent::FocusIn:
        if (watched == monitorPage && tabWidget)
            tabWidget->setFocus();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
