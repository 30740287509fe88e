#pragma once

#include "ezx/zkbmainwidget.h"
#include "monitor/cpufrequency.h"

#include <QtGlobal>

class QCloseEvent;
class QColor;
class QEvent;
class QFont;
class QTimer;
class ZImage;
class ZLabel;
class ZListBox;
class ZNavTabWidget;
class ZOptionsMenu;
class ZScrollPanel;
class ZSoftKey;

// The program's one main window: three tabs (running tasks, favourites,
// system monitor), the soft-key bar and the options menu rebuilt for the
// current tab. Its members are public on purpose: the task list, the monitor
// and the favourites each implement part of this class in their own folder
// and read the widgets directly.
//
//   ui/zkestrel.cpp                   construction, tabs, menus, life cycle
//   process/zkestrel_tasks.cpp        task list and its actions, key filter
//   monitor/zkestrel_monitor.cpp      sampling, side panel, monitor page
//   catalogue/zkestrel_favourites.cpp favourites list
class ZKestrel : public ZKbMainWidget
{
    Q_OBJECT
public:
    // The arguments are not used: the window is always a top-level window
    // named "ZMainWidget". Building it shows it.
    explicit ZKestrel(QWidget* parent = nullptr, const char* name = nullptr, int flags = 0);
    ~ZKestrel() override;

    ZListBox* procListBox = nullptr;  // task list, tab 1
    ZListBox* appListBox = nullptr;   // favourites, tab 2
    int pidPhone = 0;                 // pid of the phone task, 0 if none
    ZNavTabWidget* tabWidget = nullptr;
    ZSoftKey* softKey = nullptr;
    ZOptionsMenu* optionsMenu = nullptr;  // rebuilt on each page change
    ZLabel* cpuLabel = nullptr;           // side panel texts
    ZLabel* ramLabel = nullptr;
    ZLabel* cpuTitleLabel = nullptr;  // monitor tab texts
    ZLabel* ramTitleLabel = nullptr;
    ZLabel* swapTitleLabel = nullptr;
    ZScrollPanel* sidePanel = nullptr;  // 50-pixel strip right of the task list
    ZScrollPanel* taskPage = nullptr;   // tab 1: list at (0,0), panel at (190,0)
    ZImage* ramBar = nullptr;           // side panel bars
    ZImage* cpuBar = nullptr;
    ZLabel* swapLabel = nullptr;
    ZImage* swapBar = nullptr;
    // CPU jiffy sums of the previous sample; 64 bits so that a long uptime
    // cannot wrap them.
    qint64 prevBusy = 0;
    qint64 prevTotal = 0;
    QTimer* updateTimer = nullptr;  // refresh timer, null while none
    int cpuHistory[10] = {};
    int swapHistory[10] = {};
    int ramHistory[10] = {};
    int historyPos = 0;          // ring position
    ZImage* cpuGraph = nullptr;  // monitor tab graphs
    ZImage* ramGraph = nullptr;
    ZImage* swapGraph = nullptr;
    ZScrollPanel* monitorPage = nullptr;   // tab 3
    bool monitorVisible = false;           // the monitor tab is current
    zk::monitor::CpuClockReader cpuClock;  // remembers which clock file answers

    // Shows a hidden window again on its first tab with fresh contents, or
    // brings a visible one to the front.
    void reactivate();
    void CreateWindow();
    void showList();
    void updateCaption();
    // The clock title, "zKestrel [9:05]".
    static QString captionText(int hour, int minute);

    // Task list (process/zkestrel_tasks.cpp).
    void buildProcList();
    void addProcItem(int pid, const QString& text, bool noWindow);
    void sendToApp(int pid, const QString& message);
    void quitApp(int pid);
    bool procExists(int pid);
    void showApp(int pid);
    void hideAllApps();

    // Monitor (monitor/zkestrel_monitor.cpp).
    int readCpuLoad();
    int readCpuFrequency();
    void setMemInfo();
    void showInfo();
    void drawGraph(ZImage* graph, int* ring, const QColor& color, bool fillGaps);
    void buildSidePanel(const QFont& font);
    void buildMonitorPage(const QFont& font);

    // Favourites (catalogue/zkestrel_favourites.cpp).
    void buildAppList();

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void closeEvent(QCloseEvent* event) override;

public slots:
    void about();
    void lbProcSel(int index);
    void lbAppSel(int index);
    void slotRaise();
    void slotReturnToIdle(int reason);
    void menu_procShow();
    void menu_procQuit();
    void menu_procKill();
    void menu_procInfo();
    void menu_procPrioritet();
    void menu_appSetting();
    void menu_appDel();
    void menu_appAdd();
    void menu_appRen();
    void slotPageChanged(QWidget* page);
    void Quit();
    void slotUpdate();
};
