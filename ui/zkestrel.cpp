#include "ui/zkestrel.h"

#include "core/globals.h"
#include "core/programpicture.h"
#include "core/zsettings.h"
#include "ezx/listrowitem.h"
#include "ezx/zapplication.h"
#include "ezx/zfocus.h"
#include "ezx/zimage.h"
#include "ezx/zlabel.h"
#include "ezx/zlistbox.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zoptionsmenu.h"
#include "ezx/zscrollpanel.h"
#include "ezx/zsoftkey.h"
#include "ezx/zwindowmanager.h"
#include "monitor/historyrings.h"
#include "platform/logline.h"
#include "platform/qcopchannel.h"
#include "ui/resizewatcher.h"
#include "ui/zaboutdialog.h"
#include "ui/zappsetting.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QPixmap>
#include <QTime>
#include <QTimer>

namespace {
// The phone's header type of a main window with a title bar.
constexpr int kHeaderType = 3;
// Widget flags of a plain top-level window.
constexpr int kTopLevel = 1;

// Skin classes of the phone's widgets.
constexpr int kSkinTabs = 53;
constexpr int kSkinList = 40;
constexpr int kSkinSidePanel = 63;
constexpr int kSkinMenu = 55;

constexpr int kPageWidth = 240;
constexpr int kListWidth = 190;
constexpr int kPanelWidth = 50;

// Every options menu entry starts with three blanks.
const QString kMenuIndent = QStringLiteral("   ");

// A picture from the program's folder; a missing file gives an empty one.
QPixmap picture(const char* path)
{
    return programPicture(QLatin1String(path));
}

// The settings' text look: the list font on both lists, the panel font and,
// when asked for, the panel colour on the side panel's figures.
void applyTextSettings(ZKestrel* w)
{
    QFont font = QApplication::font();
    if (gSettings)
        font.setPointSize(gSettings->listFontSize);
    for (ZListBox* list : {w->procListBox, w->appListBox}) {
        list->setItemFont(0, font, false);
        list->setItemFont(0, font, true);
    }
    font = QApplication::font();
    if (gSettings)
        font.setPointSize(gSettings->panelFontSize);
    for (ZLabel* label : {w->cpuLabel, w->ramLabel, w->swapLabel}) {
        if (!label)
            continue;
        if (gSettings && gSettings->useTextColor)
            label->setFontColor(gSettings->panelColor);
        label->setFont(font);
    }
}

// The options menu of one page: the page's own entries, then Settings, About
// and Exit.
void fillOptionsMenu(ZKestrel* w, int page)
{
    auto add = [w](const char* icon, const QString& text, const char* slot) {
        w->optionsMenu->insertItem(kMenuIndent + text, picture(icon), w, slot, true);
    };
    if (page == 0) {
        add("/img/show.png", ZKestrel::tr("TXT_RID_LIST_A_SHOW", "Show"), SLOT(menu_procShow()));
        add("/img/quit.png", QStringLiteral("Quit"), SLOT(menu_procQuit()));
        add("/img/quit.png", QStringLiteral("Kill"), SLOT(menu_procKill()));
        add("/img/priority.png", ZKestrel::tr("TXT_RID_HEADER_PRIORITY", "Priority"),
            SLOT(menu_procPrioritet()));
        add("/img/info.png", ZKestrel::tr("TXT_RID_OPTION_INFORMATION", "Information"),
            SLOT(menu_procInfo()));
    } else if (page == 1) {
        add("/img/app_add.png", ZKestrel::tr("TXT_RID_OPTION_ADD", "Add"), SLOT(menu_appAdd()));
        add("/img/app_del.png", ZKestrel::tr("TXT_RID_OPTION_DELETE", "Delete"),
            SLOT(menu_appDel()));
        add("/img/app_ren.png", ZKestrel::tr("TXT_RID_OPTION_RENAME", "Rename"),
            SLOT(menu_appRen()));
    }
    add("/img/flag.png", ZKestrel::tr("TXT_RID_OPTION_SETTINGS", "Settings"),
        SLOT(menu_appSetting()));
    add("/img/about.png",
        ZKestrel::tr("FMT_RID_HEADER_ABOUT_1", "About %1").arg(QStringLiteral("zKestrel")),
        SLOT(about()));
    add("/img/exit.png", ZKestrel::tr("TXT_RID_SOFTKEY_EXIT", "Exit"), SLOT(Quit()));
}
}

ZKestrel::ZKestrel(QWidget* parent, const char* name, int flags)
    : ZKbMainWidget(kHeaderType, nullptr, "ZMainWidget", kTopLevel)
{
    // Always a top-level window of its own, whatever the caller passed.
    Q_UNUSED(parent);
    Q_UNUSED(name);
    Q_UNUSED(flags);

    // A full-screen SDL program would cover the window: ask it to hide.
    logLine(QStringLiteral("Check run SDL app"));
    if (QCopChannel::isRegistered("PE/SDLLib/")) {
        QCopChannel::send("PE/SDLLib/", "hide()");
        logLine(QStringLiteral("Send hide SDL lib"));
    }

    // The timer, rings, ring position, monitor flag and CPU sums start out
    // null/zero through their initialisers.

    CreateWindow();

    // The program's picture for a desktop's task bar and window list, on
    // every window of the program.
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(QIcon(picture("/img/zKestrel.png")));

    if (gApp) {
        gApp->setMainWidget(this);
        // "raise()" shows the window through slotRaise() while it is
        // attached; a resident window that was left stays hidden.
        gApp->setShowsMainWidgetOnRaise(false);
    }
    show();
    procListBox->setFocus();

    // Tab 1 is laid out by hand: the list and the side panel side by side,
    // both as high as the page, now and whenever the page changes size.
    auto fitTaskPage = [this] {
        const int h = taskPage->viewport()->height();
        procListBox->setGeometry(0, 0, kListWidth, h);
        sidePanel->setGeometry(kListWidth, 0, kPanelWidth, h);
    };
    fitTaskPage();
    new ResizeWatcher(taskPage, fitTaskPage);
}

ZKestrel::~ZKestrel() = default;

void ZKestrel::CreateWindow()
{
    logLine(QStringLiteral("CreateWindow: interface"));
    setMainWidgetTitle(QStringLiteral("Tasks Manager"));

    tabWidget = new ZNavTabWidget(this, nullptr, kSkinTabs);
    setContentWidget(tabWidget);

    const QPixmap taskIcon = picture("/img/tab_task.png");
    const QPixmap favouritesIcon = picture("/img/tab_favorits.png");
    const QPixmap graphIcon = picture("/img/tab_graph.png");

    taskPage = new ZScrollPanel(this);
    taskPage->setFrameShape(QFrame::NoFrame);  // no spacing around the two columns
    taskPage->setFixedWidth(kPageWidth);

    procListBox = new ZListBox(QStringLiteral("%16I%") + QString::number(214) + QStringLiteral("M%20M"),
                               this, 0, kSkinList);
    procListBox->setFixedWidth(kListWidth);

    sidePanel = new ZScrollPanel(nullptr, nullptr, 0, kSkinSidePanel);
    sidePanel->setFixedWidth(kPanelWidth);
    taskPage->addChild(procListBox, 0, 0);
    taskPage->addChild(sidePanel, kListWidth, 0);

    tabWidget->stopNextWhenKeyRepeat(true);
    tabWidget->addTab(taskPage, QIcon(taskIcon), QString());

    QFont font = QApplication::font();
    if (gSettings)
        font.setPointSize(gSettings->panelFontSize);
    buildSidePanel(font);

    appListBox = new ZListBox(QStringLiteral("%I%M"), this, 0, kSkinList);
    appListBox->setFixedWidth(kPageWidth);
    // The favourites are read when their tab is first opened.
    tabWidget->addTab(appListBox, QIcon(favouritesIcon), QString());

    applyTextSettings(this);

    // The monitor page's labels take the list font size.
    if (gSettings)
        font.setPointSize(gSettings->listFontSize);
    buildMonitorPage(font);
    if (monitorPage)
        tabWidget->addTab(monitorPage, QIcon(graphIcon), QString());

    logLine(QStringLiteral("CreateWindow: softkeys and menus"));
    softKey = new ZSoftKey("CST_2", this, this);
    setSoftKey(softKey);
    optionsMenu = new ZOptionsMenu(QRect(QPoint(0, 0), QPoint(239, 319)), softKey, nullptr, 0,
                                   kSkinMenu, true);
    softKey->setOptMenu(0, optionsMenu);
    softKey->setClickedSlot(1, this, SLOT(Quit()));
    const QString options = tr("TXT_RID_SOFTKEY_OPTIONS", "Options");
    softKey->setText(0, options, 0);
    softKey->setTextForOptMenuHide(options);
    softKey->setText(1, tr("TXT_RID_SOFTKEY_EXIT", "Exit"), 0);

    logLine(QStringLiteral("CreateWindow: SIGNAL"));
    connect(procListBox, qOverload<int>(&ZListBox::selected), this, &ZKestrel::lbProcSel);
    connect(appListBox, qOverload<int>(&ZListBox::selected), this, &ZKestrel::lbAppSel);
    connect(tabWidget, &ZNavTabWidget::currentChanged, this, &ZKestrel::slotPageChanged);
    if (gApp) {
        connect(gApp, &ZApplication::signalRaise, this, &ZKestrel::slotRaise, Qt::UniqueConnection);
        connect(gApp, &ZApplication::askReturnToIdle, this, &ZKestrel::slotReturnToIdle,
                Qt::UniqueConnection);
    }

    // The first page became current before the menu was listening: give
    // it its entries now, so the menu matches the page from the start.
    fillOptionsMenu(this, tabWidget->currentPageIndex());

    showList();
    showInfo();

    qApp->installEventFilter(this);
    logLine(QStringLiteral("CreateWindow: end"));
}

void ZKestrel::showList()
{
    logLine(QStringLiteral("showList"));
    procListBox->clear();
    buildProcList();
    procListBox->setCurrentItem(0);
    procListBox->update();
    logLine(QStringLiteral("showList: end"));
}

void ZKestrel::slotPageChanged(QWidget* page)
{
    Q_UNUSED(page);
    const int index = tabWidget->currentPageIndex();

    monitorVisible = false;
    optionsMenu->clear();

    if (index == 0) {
        showList();  // the task list is fresh on every return to its tab
    } else if (index == 1) {
        if (appListBox->count() == 0)
            buildAppList();
    } else if (index == 2) {
        monitorVisible = true;
        setMemInfo();
        slotUpdate();
        tabWidget->setFocus();
    }

    fillOptionsMenu(this, index);
}

QString ZKestrel::captionText(int hour, int minute)
{
    return QStringLiteral("zKestrel [%1:%2]").arg(hour).arg(minute, 2, 10, QLatin1Char('0'));
}

void ZKestrel::updateCaption()
{
    const QTime now = QTime::currentTime();
    setMainWidgetTitle(captionText(now.hour(), now.minute()));
}

void ZKestrel::menu_appSetting()
{
    logLine(QStringLiteral("menu_appSetting: Start"));
    ZAppSetting dialog;
    dialog.exec();
    if (dialog.result == 1) {
        // The dialog has saved and reloaded the settings: apply the fonts and
        // colour to the task list and the side panel, and rescan. The task
        // that was highlighted stays so when it is still listed.
        const ZListRowItem* current = dynamic_cast<const ZListRowItem*>(procListBox->item(procListBox->currentItem()));
        const int pid = current ? current->getPid() : 0;
        procListBox->clear();
        applyTextSettings(this);
        buildProcList();
        int row = 0;
        for (int i = 0; pid > 0 && i < procListBox->count(); ++i) {
            const auto* item = dynamic_cast<const ZListRowItem*>(procListBox->item(i));
            if (item && item->getPid() == pid)
                row = i;
        }
        if (procListBox->count() > 0)
            procListBox->setCurrentItem(row);
        // The list takes the keys when it is on screen; on another page they
        // stay where they were, with that page's highlight.
        if (tabWidget->currentPage() == taskPage)
            procListBox->setFocus();
    }
    logLine(QStringLiteral("menu_appSetting: End"));
}

void ZKestrel::about()
{
    ZAboutDialog dialog;
    dialog.exec();
}

void ZKestrel::Quit()
{
    if (!isDaemon) {
        QApplication::quit();
        return;
    }

    // Resident: only the window goes, with whatever was open over it; the
    // next request brings it back.
    logLine(QStringLiteral("Quit:isDaemon"));
    zfocus::closeWindowsOver(this);
    optionsMenu->hide();
    hide();
    qApp->removeEventFilter(this);
    if (gApp) {
        disconnect(gApp, &ZApplication::signalRaise, this, &ZKestrel::slotRaise);
        disconnect(gApp, &ZApplication::askReturnToIdle, this, &ZKestrel::slotReturnToIdle);
    }
    delete updateTimer;
    updateTimer = nullptr;
    for (ZImage* graph : {cpuGraph, ramGraph, swapGraph}) {
        if (graph)
            graph->setPixmap(QPixmap());
    }
    zk::monitor::HistoryRingsView(cpuHistory, ramHistory, swapHistory, historyPos).reset();
    procListBox->clear();
}

void ZKestrel::slotRaise()
{
    logLine(QStringLiteral("slot_Raise()"));
    show();
    zfocus::bringToFront(this);
}

void ZKestrel::slotReturnToIdle(int reason)
{
    logLine(QStringLiteral("slot_ReturnToIdle(%1)").arg(reason));
    hide();
}

void ZKestrel::reactivate()
{
    if (!isHidden()) {
        // Already on screen: it comes to the front as it is, with whatever
        // is open over it.
        if (zwm::comesBackByShowing()) {
            // A compositor brings only a new window to the front: this one
            // is hidden and shown again at once. What was open over it would
            // stay behind it, so it closes first.
            zfocus::closeWindowsOver(this);
            optionsMenu->hide();
            hide();
            show();
        }
        zfocus::bringToFront(this);
        return;
    }
    // A pop-up starts afresh: nothing left open from the last time.
    zfocus::closeWindowsOver(this);
    optionsMenu->hide();
    qApp->installEventFilter(this);
    if (gApp) {
        connect(gApp, &ZApplication::signalRaise, this, &ZKestrel::slotRaise, Qt::UniqueConnection);
        connect(gApp, &ZApplication::askReturnToIdle, this, &ZKestrel::slotReturnToIdle,
                Qt::UniqueConnection);
    }
    show();
    tabWidget->setCurrentPage(0);
    showList();
    showInfo();
    procListBox->setFocus();
    zfocus::bringToFront(this);
}

void ZKestrel::closeEvent(QCloseEvent* event)
{
    // Closed by the window system (a title bar's close button, Alt+F4), or
    // by the application on its way out: in window mode the window closes
    // and, the last one gone, the program ends with 0 as Exit ends it. A
    // resident instance only hides its window, as Exit does there.
    if (!isDaemon) {
        ZKbMainWidget::closeEvent(event);
        return;
    }
    event->ignore();
    Quit();
}
