#include "ui/zkestrel.h"

#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/zimage.h"
#include "ezx/zlabel.h"
#include "ezx/zlistbox.h"
#include "ezx/zscrollpanel.h"
#include "monitor/cpufrequency.h"
#include "monitor/cpuload.h"
#include "monitor/graphdrawing.h"
#include "monitor/historyrings.h"
#include "monitor/meminfo.h"
#include "monitor/monitortexts.h"
#include "monitor/panelbars.h"
#include "platform/logline.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QTimer>

#include <span>

// The monitor's part of the main window: sampling into the window's own
// sums and rings, the side panel of the task tab, the monitor tab and its
// graphs, and the refresh timer.

namespace {
constexpr int labelSkin = 87;
constexpr int panelWidth = 50;
constexpr int refreshMs = 2000;

QString appDir()
{
    return gSettings ? gSettings->getAppDir() : QString();
}

ZImage* panelPicture(ZScrollPanel* panel, const QString& file)
{
    auto* image = new ZImage(panel, nullptr, 0);
    // A missing file leaves an empty picture; the places computed from it
    // then start from an empty size.
    image->setPixmap(QPixmap(appDir() + file));
    return image;
}

// A side-panel text under an icon: the panel's width, centred, no margins.
ZLabel* panelLabel(ZScrollPanel* panel, const QFont& font)
{
    auto* label = new ZLabel(QString(), panel, nullptr, 0, labelSkin);
    label->setFont(font);
    label->setAlignment(ZLabel::PhoneAlignCenter);
    label->setFixedWidth(panelWidth);
    label->setPadding(0);
    return label;
}

// The RAM or SWAP row: icon at (0, y), its text just below, and the bar
// starting one pixel wide at the icon's bottom-left corner.
void buildMemoryRow(ZScrollPanel* panel, const QFont& font, const QString& iconFile, int y,
                    ZLabel*& label, ZImage*& bar)
{
    ZImage* icon = panelPicture(panel, iconFile);
    panel->addChild(icon, 0, y);
    label = panelLabel(panel, font);
    panel->addChild(label, 0, y + icon->height() + 1);
    bar = panelPicture(panel, QStringLiteral("/panel/progress.png"));
    bar->setFixedWidth(1);
    panel->addChild(bar, 0, y + icon->height() - bar->height());
}

ZLabel* monitorTitle(ZScrollPanel* page, const QString& text, const QFont& font)
{
    auto* label = new ZLabel(text, page, nullptr, 0, labelSkin);
    label->setFont(font);
    if (gSettings && gSettings->useTextColor)
        label->setFontColor(gSettings->panelColor);
    return label;
}

void setLabelText(ZLabel* label, const QString& text)
{
    if (!label)
        return;
    label->setText(text);
    label->update();
}
}

int ZKestrel::readCpuLoad()
{
    CpuSampler sampler(static_cast<quint64>(prevBusy), static_cast<quint64>(prevTotal));
    HistoryRingsView rings(cpuHistory, ramHistory, swapHistory, historyPos);
    const int load = ::readCpuLoad(procStatPath(), sampler, rings);
    if (load >= 0) {
        prevBusy = static_cast<qint64>(sampler.prevBusy());
        prevTotal = static_cast<qint64>(sampler.prevTotal());
    }
    return load;
}

int ZKestrel::readCpuFrequency()
{
    return ::readCpuFrequency();
}

void ZKestrel::setMemInfo()
{
    logLine(QStringLiteral("setMemInfo"));
    logLine(QStringLiteral("get data"));
    const MemInfo info = readMemInfo(procMemInfoPath());
    logLine(QStringLiteral("set data"));

    const int ramPercent = freePercent(info.freeRam, info.ramTotal);
    const int swapPercent = freePercent(info.freeSwap, info.swapTotal);
    HistoryRingsView(cpuHistory, ramHistory, swapHistory, historyPos)
        .storeMemory(ramPercent, swapPercent);

    if (ramBar)
        setBarWidth(ramBar, memBarWidth(ramPercent));
    if (swapBar)
        setBarWidth(swapBar, memBarWidth(swapPercent));
    setLabelText(ramLabel, megabyteText(info.freeRam));
    setLabelText(swapLabel, megabyteText(info.freeSwap));
    setLabelText(ramTitleLabel, ramTitleText(info.freeRam));
    setLabelText(swapTitleLabel, swapTitleText(info.freeSwap));
    logLine(QStringLiteral("setMemInfo end"));
}

void ZKestrel::slotUpdate()
{
    if (gSettings && gSettings->timeInCaption)
        updateCaption();

    const int load = readCpuLoad();
    const int mhz = readCpuFrequency();
    setLabelText(cpuLabel, cpuPanelText(mhz, load));
    if (cpuBar)
        setBarHeight(cpuBar, cpuBarHeight(load));
    // The clock is read again for the monitor tab's title.
    const int titleMhz = readCpuFrequency();
    setLabelText(cpuTitleLabel, cpuTitleText(titleMhz, load));

    if (!monitorVisible) {
        // No memory file is read off the monitor tab; the graphs must not
        // show a hole for these refreshes.
        HistoryRingsView(cpuHistory, ramHistory, swapHistory, historyPos).carryMemoryForward();
        return;
    }
    setMemInfo();
    drawGraph(cpuGraph, cpuHistory, Qt::green, false);
    drawGraph(ramGraph, ramHistory, Qt::red, true);
    drawGraph(swapGraph, swapHistory, Qt::blue, true);
}

void ZKestrel::showInfo()
{
    logLine(QStringLiteral("showInfo"));
    setMemInfo();
    for (QWidget* w : {static_cast<QWidget*>(ramLabel), static_cast<QWidget*>(ramBar),
                       static_cast<QWidget*>(swapLabel), static_cast<QWidget*>(swapBar)}) {
        if (w)
            w->update();
    }
    slotUpdate();
    if (procListBox)
        procListBox->setFocus();
    if (!updateTimer) {
        updateTimer = new QTimer(this);
        connect(updateTimer, &QTimer::timeout, this, &ZKestrel::slotUpdate);
    }
    updateTimer->start(refreshMs);
    logLine(QStringLiteral("showInfo: end"));
}

void ZKestrel::drawGraph(ZImage* graph, int* ring, const QColor& color, bool fillGaps)
{
    if (!graph || !ring) {
        logLine(QStringLiteral("drawGraph: no graph or ring to draw"));
        return;
    }
    const QImage picture = ::drawGraph(std::span<int, HistoryRings::size>(ring, HistoryRings::size),
                                       historyPos, color, fillGaps);
    graph->setPixmap(QPixmap::fromImage(picture));
    graph->update();
}

void ZKestrel::buildSidePanel(const QFont& font)
{
    if (!sidePanel) {
        logLine(QStringLiteral("buildSidePanel: no side panel"));
        return;
    }
    ZImage* cpuIcon = panelPicture(sidePanel, QStringLiteral("/panel/cpu.png"));
    sidePanel->addChild(cpuIcon, 0, 0);
    cpuLabel = panelLabel(sidePanel, font);
    cpuLabel->setNumLines(2);
    cpuLabel->setLeading(1);
    sidePanel->addChild(cpuLabel, 0, cpuIcon->height() + 1);
    cpuBar = panelPicture(sidePanel, QStringLiteral("/panel/progressv.png"));
    sidePanel->addChild(cpuBar, cpuIcon->width() - cpuBar->width(), 0);

    buildMemoryRow(sidePanel, font, QStringLiteral("/panel/ram.png"), 80, ramLabel, ramBar);
    buildMemoryRow(sidePanel, font, QStringLiteral("/panel/swap.png"), 155, swapLabel, swapBar);
}

void ZKestrel::buildMonitorPage(const QFont& font)
{
    monitorPage = new ZScrollPanel(nullptr, nullptr, 0, 63);

    cpuTitleLabel = monitorTitle(monitorPage, QStringLiteral("CPU:"), font);
    cpuTitleLabel->setPreferredWidth(150);
    cpuGraph = new ZImage(monitorPage, nullptr, 0);
    monitorPage->addChild(cpuTitleLabel, 12, 0);
    monitorPage->addChild(cpuGraph, 10, 20);

    ramTitleLabel = monitorTitle(monitorPage, QStringLiteral("RAM"), font);
    ramGraph = new ZImage(monitorPage, nullptr, 0);
    monitorPage->addChild(ramTitleLabel, 12, 70);
    monitorPage->addChild(ramGraph, 10, 90);

    swapTitleLabel = monitorTitle(monitorPage, QStringLiteral("SWAP"), font);
    swapGraph = new ZImage(monitorPage, nullptr, 0);
    monitorPage->addChild(swapTitleLabel, 12, 140);
    monitorPage->addChild(swapGraph, 10, 160);
}
