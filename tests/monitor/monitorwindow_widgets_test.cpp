#include "ezx/zimage.h"
#include "ezx/zlabel.h"
#include "ezx/zlistbox.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zscrollpanel.h"
#include "monitor/panelbars.h"
#include "tests/common/ztest.h"
#include "tests/monitor/monitorwindow.h"

#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

using namespace zk::monitor;

using namespace monitorwindow;

namespace {
QSize pictureSize(const QString& file)
{
    return QPixmap(gSettings->getAppDir() + file).size();
}

// Pixels of exactly this colour: the curve, never the half-bright grid.
int pixelsOf(const ZImage* graph, QRgb colour)
{
    const QImage image = graph->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour)
                ++n;
        }
    }
    return n;
}
}

// The side panel and the monitor tab as widgets: where they sit, when the
// graphs are drawn, the refresh timer, and what leaving in daemon mode
// clears.
class MonitorWindowWidgetsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ZKestrel> window;

    void makeWindow()
    {
        window = std::make_unique<ZKestrel>();
        gMainWindow = window.get();
    }

private slots:
    void initTestCase()
    {
        ensureSettings();
        QVERIFY(writeClock("312\n"));
    }

    void init()
    {
        gSettings->timeInCaption = false;
        makeWindow();
    }

    void cleanup()
    {
        gMainWindow = nullptr;
        window.reset();
        isDaemon = false;
    }

    // Every place follows from the pictures' real sizes.
    void sidePanelPlaces()
    {
        const QSize cpu = pictureSize(QStringLiteral("/panel/cpu.png"));
        const QSize ram = pictureSize(QStringLiteral("/panel/ram.png"));
        const QSize swap = pictureSize(QStringLiteral("/panel/swap.png"));
        const QSize vbar = pictureSize(QStringLiteral("/panel/progressv.png"));
        const QSize hbar = pictureSize(QStringLiteral("/panel/progress.png"));
        for (const QSize& s : {cpu, ram, swap, vbar, hbar})
            QVERIFY(!s.isEmpty());

        QCOMPARE(window->cpuLabel->pos(), QPoint(0, cpu.height() + 1));
        QCOMPARE(window->cpuBar->pos(), QPoint(cpu.width() - vbar.width(), 0));
        QCOMPARE(window->ramLabel->pos(), QPoint(0, 80 + ram.height() + 1));
        QCOMPARE(window->ramBar->pos(), QPoint(0, 80 + ram.height() - hbar.height()));
        QCOMPARE(window->swapLabel->pos(), QPoint(0, 155 + swap.height() + 1));
        QCOMPARE(window->swapBar->pos(), QPoint(0, 155 + swap.height() - hbar.height()));

        QCOMPARE(window->cpuLabel->width(), 50);
        QCOMPARE(window->cpuLabel->numLines(), 2);
        QCOMPARE(window->cpuLabel->leading(), 1);
        QCOMPARE(window->cpuLabel->padding(), QMargins());
        QVERIFY(window->cpuLabel->alignment() & Qt::AlignHCenter);
        QCOMPARE(window->ramLabel->width(), 50);
        QVERIFY(window->swapLabel->alignment() & Qt::AlignHCenter);
        // The panel font, not the list font.
        QCOMPARE(window->cpuLabel->font().pointSize(), gSettings->panelFontSize);
        QCOMPARE(window->cpuTitleLabel->font().pointSize(), gSettings->listFontSize);
    }

    // Missing pictures leave empty images, and the places start from empty
    // sizes instead of failing.
    void sidePanelWithoutPictures()
    {
        window.reset();
        QTemporaryDir empty;
        const QString appDir = gSettings->appDir;
        gSettings->appDir = empty.path() + QLatin1Char('/');
        makeWindow();
        gSettings->appDir = appDir;
        QCOMPARE(window->cpuLabel->pos(), QPoint(0, 1));
        QCOMPARE(window->cpuBar->pos(), QPoint(0, 0));
        QCOMPARE(window->ramBar->pos(), QPoint(0, 80));
        QCOMPARE(window->swapLabel->pos(), QPoint(0, 156));
        window->slotUpdate();
        QVERIFY(window->cpuBar->pixmap().isNull());
    }

    void monitorPagePlaces()
    {
        QCOMPARE(window->cpuTitleLabel->pos(), QPoint(12, 0));
        QCOMPARE(window->cpuGraph->pos(), QPoint(10, 20));
        QCOMPARE(window->ramTitleLabel->pos(), QPoint(12, 70));
        QCOMPARE(window->ramGraph->pos(), QPoint(10, 90));
        QCOMPARE(window->swapTitleLabel->pos(), QPoint(12, 140));
        QCOMPARE(window->swapGraph->pos(), QPoint(10, 160));
        QCOMPARE(window->cpuTitleLabel->preferredWidth(), 150);
        QCOMPARE(window->ramTitleLabel->preferredWidth(), 0);
    }

    // The user's text colour reaches the monitor tab's titles when built.
    void monitorTitlesTakeTheUserColour()
    {
        window.reset();
        gSettings->useTextColor = true;
        gSettings->panelColor = QColor(200, 10, 90);
        makeWindow();
        gSettings->useTextColor = false;
        QCOMPARE(window->cpuTitleLabel->fontColor(), QColor(200, 10, 90));
        QCOMPARE(window->swapTitleLabel->fontColor(), QColor(200, 10, 90));
    }

    // A bar sized to nothing is hidden; sized again it shows.
    void barsSizedToNothingAreHidden()
    {
        ZImage* bar = window->ramBar;
        setBarWidth(bar, -1);
        QCOMPARE(bar->width(), 0);
        QVERIFY(!bar->isVisibleTo(window->sidePanel));
        setBarWidth(bar, 28);
        QCOMPARE(bar->width(), 28);
        QVERIFY(bar->isVisibleTo(window->sidePanel));
        setBarHeight(window->cpuBar, 0);
        QVERIFY(!window->cpuBar->isVisibleTo(window->sidePanel));
    }

    // Graphs are drawn only while the monitor tab is current: CPU green
    // with its zeros kept, RAM red and SWAP blue with their gaps filled.
    void graphsOnlyOnTheMonitorTab()
    {
        window->slotUpdate();
        QVERIFY(window->cpuGraph->pixmap().isNull());
        QVERIFY(window->ramGraph->pixmap().isNull());

        // Half-full rings, so that every curve shows even on a machine
        // without swap (0 % lies on the bottom edge, outside the picture).
        for (int i = 0; i < 10; ++i)
            window->cpuHistory[i] = window->ramHistory[i] = window->swapHistory[i] = 50;
        window->tabWidget->setCurrentPage(2);
        QVERIFY(window->monitorVisible);
        for (ZImage* graph : {window->cpuGraph, window->ramGraph, window->swapGraph})
            QCOMPARE(graph->pixmap().size(), QSize(200, 50));
        QVERIFY(pixelsOf(window->cpuGraph, qRgb(0, 255, 0)) > 0);
        QCOMPARE(pixelsOf(window->cpuGraph, qRgb(255, 0, 0)), 0);
        QVERIFY(pixelsOf(window->ramGraph, qRgb(255, 0, 0)) > 0);
        QVERIFY(pixelsOf(window->swapGraph, qRgb(0, 0, 255)) > 0);

        // Zeros as missing samples: filled in RAM, kept in CPU.
        for (int i = 0; i < 10; ++i)
            window->cpuHistory[i] = window->ramHistory[i] = 0;
        window->ramHistory[window->historyPos] = 40;
        window->slotUpdate();
        for (int i = 0; i < 10; ++i)
            QVERIFY2(window->ramHistory[i] != 0, qPrintable(QString::number(i)));
        int cpuZeros = 0;
        for (int i = 0; i < 10; ++i)
            cpuZeros += window->cpuHistory[i] == 0 ? 1 : 0;
        QVERIFY(cpuZeros >= 9);

        const qint64 drawn = window->cpuGraph->pixmap().cacheKey();
        window->tabWidget->setCurrentPage(0);
        QVERIFY(!window->monitorVisible);
        window->slotUpdate();
        QCOMPARE(window->cpuGraph->pixmap().cacheKey(), drawn);
    }

    // The timer is made once, with the window as parent, and restarted by
    // every later showInfo(); the task list gets the focus.
    void refreshTimer()
    {
        QTimer* timer = window->updateTimer;
        QVERIFY(timer);
        QCOMPARE(timer->parent(), window.get());
        QCOMPARE(timer->interval(), 2000);
        QVERIFY(timer->isActive());
        QVERIFY(!timer->isSingleShot());
        timer->stop();
        window->showInfo();
        QCOMPARE(window->updateTimer, timer);
        QVERIFY(timer->isActive());
        QCOMPARE(window->focusWidget(), window->procListBox);
    }

    // Leaving in daemon mode stops sampling and forgets the history; the
    // next showInfo() starts a new timer from position 0.
    void daemonQuitClearsTheMonitor()
    {
        isDaemon = true;
        window->tabWidget->setCurrentPage(2);
        window->slotUpdate();
        QVERIFY(!window->cpuGraph->pixmap().isNull());
        QPointer<QTimer> timer = window->updateTimer;

        window->Quit();
        QVERIFY(timer.isNull());
        QVERIFY(!window->updateTimer);
        for (ZImage* graph : {window->cpuGraph, window->ramGraph, window->swapGraph})
            QVERIFY(graph->pixmap().isNull());
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(window->cpuHistory[i], 0);
            QCOMPARE(window->ramHistory[i], 0);
            QCOMPARE(window->swapHistory[i], 0);
        }
        QCOMPARE(window->historyPos, 0);

        window->showInfo();
        QVERIFY(window->updateTimer);
        QVERIFY(window->updateTimer->isActive());
        QCOMPARE(window->historyPos, 1);
    }

    // Pictures for people: the task tab's side panel and the monitor tab
    // after refreshes while a busy child keeps the processor loaded.
    void screenshotsUnderLoad()
    {
        QProcess busy;
        busy.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
        QVERIFY(busy.waitForStarted());
        window->show();
        window->tabWidget->setCurrentPage(2);
        for (int i = 0; i < 10; ++i) {
            QTest::qWait(300);
            window->slotUpdate();
        }
        QTest::qWait(300);
        window->tabWidget->setCurrentPage(0);
        window->slotUpdate();
        busy.kill();
        busy.waitForFinished();

        QVERIFY(QFile::exists(ztest::saveShot(window.get(), QStringLiteral("monitor_task_tab"))));
        QVERIFY(QFile::exists(ztest::saveShot(window->sidePanel, QStringLiteral("monitor_side_panel"))));
        window->tabWidget->setCurrentPage(2);
        QVERIFY(QFile::exists(ztest::saveShot(window.get(), QStringLiteral("monitor_tab"))));
        QVERIFY(pixelsOf(window->cpuGraph, qRgb(0, 255, 0)) > 0);
    }
};

ZK_TEST(MonitorWindowWidgetsTest)
#include "monitorwindow_widgets_test.moc"
