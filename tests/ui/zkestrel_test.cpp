#include "tests/common/ztest.h"

#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/zapplication.h"
#include "ezx/zimage.h"
#include "ezx/zlistbox.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zoptionsmenu.h"
#include "ezx/zscrollpanel.h"
#include "ezx/zsettingitem.h"
#include "ezx/zsoftkey.h"
#include "ui/zkestrel.h"

#include <QTimer>

namespace {
// A main window that counts what its application-wide event filter sees, so
// that a test can tell whether the filter is installed.
class FilterProbe : public ZKestrel
{
public:
    int filtered = 0;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        ++filtered;
        return ZKestrel::eventFilter(watched, event);
    }
};

// An event sent through the application, which every application-wide
// filter sees.
void pokeApplication()
{
    QObject target;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&target, &event);
}

struct Entry
{
    const char* text;
    const char* icon;
};
}

class ZKestrelTest : public QObject
{
    Q_OBJECT

    FilterProbe* m_window = nullptr;

    ZOptionsMenu* menu() const { return m_window->optionsMenu; }

    static QImage picture(const char* path)
    {
        return QImage(gSettings->getAppDir() + QLatin1String(path));
    }

    void checkMenu(const QList<Entry>& entries)
    {
        QCOMPARE(menu()->count(), static_cast<int>(entries.size()));
        for (int i = 0; i < entries.size(); ++i) {
            QCOMPARE(menu()->text(i), QStringLiteral("   ") + QLatin1String(entries.at(i).text));
            const QImage expected = picture(entries.at(i).icon);
            QVERIFY2(!expected.isNull(), entries.at(i).icon);
            QString why;
            QVERIFY2(ztest::samePicture(menu()->pixmap(i).toImage(), expected, &why),
                     qPrintable(QLatin1String(entries.at(i).icon) + QStringLiteral(": ") + why));
        }
    }

    static QList<Entry> tail()
    {
        return {{"Settings", "/img/flag.png"}, {"About zKestrel", "/img/about.png"}, {"Exit", "/img/exit.png"}};
    }

private slots:
    // The menu icons are checked against their files after a trip through
    // QPixmap, whose rounding of semi-transparent pixels is the machine's:
    // the other rounding must pass too, another picture must not.
    void menuIconComparisonHoldsWhateverTheRounding()
    {
        const QImage quit = picture("/img/quit.png").convertToFormat(QImage::Format_ARGB32);
        QImage rounded = quit;
        int semi = 0;
        for (int y = 0; y < rounded.height(); ++y) {
            for (int x = 0; x < rounded.width(); ++x) {
                const QRgb p = rounded.pixel(x, y);
                if (qAlpha(p) == 0 || qAlpha(p) == 255)
                    continue;
                ++semi;
                const int blue = qBlue(p) > 0 ? qBlue(p) - 1 : 1;
                rounded.setPixel(x, y, qRgba(qRed(p), qGreen(p), blue, qAlpha(p)));
            }
        }
        QVERIFY2(semi > 0, "the icon has no semi-transparent pixel to round");
        QVERIFY(rounded != quit);
        QVERIFY(ztest::samePicture(rounded, quit));
        QVERIFY(!ztest::samePicture(picture("/img/about.png"), quit));
    }

    void initTestCase()
    {
        // The tests' application is the phone's (tests/common/ztest.cpp).
        gApp = qobject_cast<ZApplication*>(qApp);
        QVERIFY(gApp);
        gSettings = new ZSettings();
    }

    void cleanupTestCase()
    {
        delete gSettings;  // takes a remaining window with it
        gSettings = nullptr;
        QVERIFY(!gMainWindow);
    }

    void init()
    {
        isDaemon = false;
        m_window = new FilterProbe();
        gMainWindow = m_window;
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        gMainWindow = nullptr;
        isDaemon = false;
    }

    void builtAndShownOnTaskTab()
    {
        ztest::saveShot(m_window, QStringLiteral("zkestrel_tasks"));
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_window->size(), QSize(240, 320));
        QCOMPARE(m_window->objectName(), QStringLiteral("ZMainWidget"));
        QCOMPARE(QString::fromLatin1(m_window->metaObject()->className()), QStringLiteral("ZKestrel"));
        QCOMPARE(m_window->mainWidgetTitle(), QStringLiteral("Tasks Manager"));
        QCOMPARE(m_window->tabWidget->currentPageIndex(), 0);
        QCOMPARE(m_window->softKey->text(0), QStringLiteral("Options"));
        QCOMPARE(m_window->softKey->text(1), QStringLiteral("Exit"));
        QCOMPARE(gApp->mainWidget(), m_window);
        // The list and the side panel share the page without a gap.
        QCOMPARE(m_window->procListBox->geometry().left(), 0);
        QCOMPARE(m_window->procListBox->width(), 190);
        QCOMPARE(m_window->sidePanel->geometry().left(), 190);
        QCOMPARE(m_window->sidePanel->width(), 50);
        QCOMPARE(m_window->procListBox->height(), m_window->taskPage->viewport()->height());
        QVERIFY(m_window->monitorPage);
        QCOMPARE(m_window->tabWidget->count(), 3);
    }

    void taskTabMenu()
    {
        menu()->popup();
        QVERIFY(menu()->isOpen());
        ztest::saveShot(m_window, QStringLiteral("zkestrel_tasks_menu"));
        menu()->hide();
        checkMenu(QList<Entry>{{"Show", "/img/show.png"},
                               {"Quit", "/img/quit.png"},
                               {"Kill", "/img/quit.png"},
                               {"Priority", "/img/priority.png"},
                               {"Information", "/img/info.png"}}
                  + tail());
    }

    void favouritesTabMenu()
    {
        m_window->tabWidget->setCurrentPage(1);
        ztest::saveShot(m_window, QStringLiteral("zkestrel_favourites"));
        QVERIFY(!m_window->monitorVisible);
        checkMenu(QList<Entry>{{"Add", "/img/app_add.png"},
                               {"Delete", "/img/app_del.png"},
                               {"Rename", "/img/app_ren.png"}}
                  + tail());
    }

    void monitorTabMenu()
    {
        m_window->tabWidget->setCurrentPage(2);
        ztest::saveShot(m_window, QStringLiteral("zkestrel_monitor"));
        QVERIFY(m_window->monitorVisible);
        checkMenu(tail());

        // Back on the task tab the menu is the task menu again.
        m_window->tabWidget->setCurrentPage(0);
        QVERIFY(!m_window->monitorVisible);
        QCOMPARE(menu()->count(), 8);
    }

    void exitEntryAndSoftKeyLeave()
    {
        isDaemon = true;  // so that leaving is visible as a hidden window
        menu()->activate(menu()->count() - 1);
        QVERIFY(m_window->isHidden());

        m_window->reactivate();
        QVERIFY(m_window->isVisible());
        m_window->softKey->click(1);
        QVERIFY(m_window->isHidden());
    }

    void captionClock()
    {
        QCOMPARE(ZKestrel::captionText(0, 7), QStringLiteral("zKestrel [0:07]"));
        QCOMPARE(ZKestrel::captionText(23, 59), QStringLiteral("zKestrel [23:59]"));
        QCOMPARE(ZKestrel::captionText(9, 5), QStringLiteral("zKestrel [9:05]"));
        QCOMPARE(ZKestrel::captionText(14, 30), QStringLiteral("zKestrel [14:30]"));
        QCOMPARE(ZKestrel::captionText(12, 0), QStringLiteral("zKestrel [12:00]"));
        QCOMPARE(ZKestrel::captionText(10, 10), QStringLiteral("zKestrel [10:10]"));
        m_window->updateCaption();
        QVERIFY(m_window->mainWidgetTitle().startsWith(QLatin1String("zKestrel [")));
    }

    void residentQuitResetsWindow()
    {
        isDaemon = true;
        m_window->tabWidget->setCurrentPage(2);
        for (int i = 0; i < 10; ++i) {
            m_window->cpuHistory[i] = 10 + i;
            m_window->swapHistory[i] = 20 + i;
            m_window->ramHistory[i] = 30 + i;
        }
        m_window->historyPos = 6;
        if (!m_window->updateTimer) {
            m_window->updateTimer = new QTimer(m_window);
            m_window->updateTimer->start(2000);
        }
        QPixmap drawn(20, 20);
        drawn.fill(Qt::red);
        for (ZImage* graph : {m_window->cpuGraph, m_window->ramGraph, m_window->swapGraph}) {
            if (graph)
                graph->setPixmap(drawn);
        }
        auto* row = new ZSettingItem(m_window->procListBox, QStringLiteral("%M"));
        row->appendSubItem(0, QStringLiteral("row"));
        m_window->procListBox->insertItem(row);

        m_window->Quit();

        QVERIFY(m_window->isHidden());
        QVERIFY(!m_window->updateTimer);
        QCOMPARE(m_window->procListBox->count(), 0);
        QCOMPARE(m_window->historyPos, 0);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(m_window->cpuHistory[i], 0);
            QCOMPARE(m_window->swapHistory[i], 0);
            QCOMPARE(m_window->ramHistory[i], 0);
        }
        for (ZImage* graph : {m_window->cpuGraph, m_window->ramGraph, m_window->swapGraph}) {
            if (graph)
                QVERIFY(graph->pixmap().isNull());
        }
        // Detached: no filter, no raise.
        const int seen = m_window->filtered;
        pokeApplication();
        QCOMPARE(m_window->filtered, seen);
        emit gApp->signalRaise();
        QVERIFY(m_window->isHidden());
        QVERIFY(gMainWindow == m_window);
    }

    void reactivateAfterQuitReturnsToTaskTab()
    {
        isDaemon = true;
        m_window->tabWidget->setCurrentPage(2);
        m_window->Quit();
        m_window->reactivate();

        QVERIFY(m_window->isVisible());
        QCOMPARE(m_window->tabWidget->currentPageIndex(), 0);
        QVERIFY(!m_window->monitorVisible);
        QCOMPARE(menu()->count(), 8);
        const int seen = m_window->filtered;
        pokeApplication();
        QVERIFY(m_window->filtered > seen);
    }

    void reactivateWhileShownKeepsTab()
    {
        m_window->tabWidget->setCurrentPage(1);
        m_window->reactivate();
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_window->tabWidget->currentPageIndex(), 1);
        QCOMPARE(menu()->count(), 6);
    }

    void returnToIdleAndRaise()
    {
        m_window->slotReturnToIdle(1);
        QVERIFY(m_window->isHidden());
        // Still attached: the filter stays.
        const int seen = m_window->filtered;
        pokeApplication();
        QVERIFY(m_window->filtered > seen);
        m_window->slotRaise();
        QVERIFY(m_window->isVisible());

        emit gApp->askReturnToIdle(2);
        QVERIFY(m_window->isHidden());
        emit gApp->signalRaise();
        QVERIFY(m_window->isVisible());
    }

    void windowModeQuitEndsEventLoop()
    {
        QTimer::singleShot(0, m_window, &ZKestrel::Quit);
        QTimer bound;  // ends the loop with another code if Quit() did not
        bound.setSingleShot(true);
        connect(&bound, &QTimer::timeout, [] { QCoreApplication::exit(7); });
        bound.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0);
        // The window object stays for the start-up code to delete.
        QVERIFY(gMainWindow == m_window);
    }

    void settingsDeleteWindowFirst()
    {
        // The settings object owns the main window's end.
        delete gSettings;
        gSettings = nullptr;
        QVERIFY(!gMainWindow);
        m_window = nullptr;
        gSettings = new ZSettings();
    }
};

ZK_TEST(ZKestrelTest)
#include "zkestrel_test.moc"
