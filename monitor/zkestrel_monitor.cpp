#include "ui/zkestrel.h"

#include "core/globals.h"
#include "core/programpicture.h"
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

#include <algorithm>
#include <span>

using namespace zk::monitor;

// The monitor's part of the main window: sampling into the window's own
// sums and rings, the side panel of the task tab, the monitor tab and its
// graphs, and the refresh timer.

namespace {
constexpr int labelSkin = 87;
constexpr int panelWidth = 50;
constexpr int refreshMs = 2000;

// Side panel rows: where the RAM and SWAP icons sit. A row's figure may
// fill the room down to where the next row starts; the SWAP row, the last,
// gets as much room as the RAM row.
constexpr int ramRowY = 80;
constexpr int swapRowY = 155;
constexpr int rowPitch = swapRowY - ramRowY;

// Monitor page: each title sits above its graph, in the room between the
// graph above (or the top) and its own graph, as wide as the page allows
// beside the thin scroll bar.
constexpr int titleX = 12;
constexpr int graphX = 10;
constexpr int titleToGraph = 20;
constexpr int pageWidth = 240;
constexpr int scrollBarWidth = 4;

ZImage* panelPicture(ZScrollPanel* panel, const QString& file)
{
    auto* image = new ZImage(panel, nullptr, 0);
    // A missing file leaves an empty picture; the places computed from it
    // then start from an empty size.
    image->setPixmap(programPicture(file));
    return image;
}

// A side-panel figure under an icon: the panel's width, centred, no
// margins, as high as the room down to the next row (bottom). It shrinks
// to fit that box rather than break or run into the next icon: the box,
// not the panel font size, is the limit.
ZLabel* panelLabel(ZScrollPanel* panel, const QFont& font, int top, int bottom)
{
    auto* label = new ZLabel(QString(), panel, nullptr, 0, labelSkin);
    label->setFont(font);
    label->setAlignment(ZLabel::PhoneAlignCenter);
    label->setFixedWidth(panelWidth);
    label->setFixedHeight(std::max(1, bottom - top));
    label->setPadding(0);
    label->setShrinkToFit(true);
    return label;
}

// The RAM or SWAP row: icon at (0, y), its text just below, and the bar
// starting one pixel wide at the icon's bottom-left corner.
void buildMemoryRow(ZScrollPanel* panel, const QFont& font, const QString& iconFile, int y,
                    ZLabel*& label, ZImage*& bar)
{
    ZImage* icon = panelPicture(panel, iconFile);
    panel->addChild(icon, 0, y);
    const int labelY = y + icon->height() + 1;
    label = panelLabel(panel, font, labelY, y + rowPitch);
    panel->addChild(label, 0, labelY);
    bar = panelPicture(panel, QStringLiteral("/panel/progress.png"));
    bar->setFixedWidth(1);
    panel->addChild(bar, 0, y + icon->height() - bar->height());
}

// A title on one line above its graph, whatever the list font size: it
// shrinks to fit its box rather than wrap under the graph.
ZLabel* monitorTitle(ZScrollPanel* page, const QString& text, const QFont& font)
{
    auto* label = new ZLabel(text, page, nullptr, 0, labelSkin);
    label->setFont(font);
    if (gSettings && gSettings->useTextColor)
        label->setFontColor(gSettings->panelColor);
    label->setFixedSize(pageWidth - titleX - scrollBarWidth, titleToGraph);
    label->setShrinkToFit(true);
    return label;
}

// A text that did not change is neither laid out nor painted again.
void setLabelText(ZLabel* label, const QString& text)
{
    if (!label || label->text() == text)
        return;
    label->setText(text);
    label->update();
}
}

int ZKestrel::readCpuLoad()
{
    CpuSampler sampler(static_cast<quint64>(prevBusy), static_cast<quint64>(prevTotal));
    HistoryRingsView rings(cpuHistory, ramHistory, swapHistory, historyPos);
    const int load = zk::monitor::readCpuLoad(procStatPath(), sampler, rings);
    if (load >= 0) {
        prevBusy = static_cast<qint64>(sampler.prevBusy());
        prevTotal = static_cast<qint64>(sampler.prevTotal());
    }
    return load;
}

int ZKestrel::readCpuFrequency()
{
    return cpuClock.read();
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
    const std::span<int, HistoryRings::size> samples(ring, HistoryRings::size);
    const QImage picture = zk::monitor::drawGraph(samples, historyPos, color, fillGaps);
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
    const int cpuLabelY = cpuIcon->height() + 1;
    cpuLabel = panelLabel(sidePanel, font, cpuLabelY, ramRowY);
    cpuLabel->setNumLines(2);
    cpuLabel->setLeading(1);
    sidePanel->addChild(cpuLabel, 0, cpuLabelY);
    cpuBar = panelPicture(sidePanel, QStringLiteral("/panel/progressv.png"));
    sidePanel->addChild(cpuBar, cpuIcon->width() - cpuBar->width(), 0);

    buildMemoryRow(sidePanel, font, QStringLiteral("/panel/ram.png"), ramRowY, ramLabel, ramBar);
    buildMemoryRow(sidePanel, font, QStringLiteral("/panel/swap.png"), swapRowY, swapLabel, swapBar);
}

void ZKestrel::buildMonitorPage(const QFont& font)
{
    monitorPage = new ZScrollPanel(nullptr, nullptr, 0, 63);

    cpuTitleLabel = monitorTitle(monitorPage, QStringLiteral("CPU:"), font);
    cpuTitleLabel->setPreferredWidth(150);
    cpuGraph = new ZImage(monitorPage, nullptr, 0);
    monitorPage->addChild(cpuTitleLabel, titleX, 0);
    monitorPage->addChild(cpuGraph, graphX, titleToGraph);

    ramTitleLabel = monitorTitle(monitorPage, QStringLiteral("RAM"), font);
    ramGraph = new ZImage(monitorPage, nullptr, 0);
    monitorPage->addChild(ramTitleLabel, titleX, 70);
    monitorPage->addChild(ramGraph, graphX, 70 + titleToGraph);

    swapTitleLabel = monitorTitle(monitorPage, QStringLiteral("SWAP"), font);
    swapGraph = new ZImage(monitorPage, nullptr, 0);
    monitorPage->addChild(swapTitleLabel, titleX, 140);
    monitorPage->addChild(swapGraph, graphX, 140 + titleToGraph);
}
