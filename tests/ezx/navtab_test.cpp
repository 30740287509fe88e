// Tab widget: switching by API, keys and clicks; currentChanged once per
// real change; auto-repeat stopping at the ends.
#include "ezx/zlistbox.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zscrollpanel.h"
#include "ezx/zsettingitem.h"
#include "tests/common/ztest.h"

#include <QKeyEvent>
#include <QListWidget>

namespace {
struct Tabs
{
    ZNavTabWidget tabs{nullptr};
    QWidget* pages[3];

    Tabs()
    {
        for (int i = 0; i < 3; ++i) {
            pages[i] = new QWidget;
            tabs.addTab(pages[i], QIcon(), QString());
        }
        tabs.resize(240, 200);
    }
};

void pressRepeated(QWidget* w, Qt::Key key)
{
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(w, &e);
}
}

class ZNavTabWidgetTest : public QObject
{
    Q_OBJECT
private slots:
    void firstPageIsCurrent()
    {
        Tabs t;
        QCOMPARE(t.tabs.count(), 3);
        QCOMPARE(t.tabs.currentPageIndex(), 0);
        QCOMPARE(t.tabs.currentPage(), t.pages[0]);
        QCOMPARE(t.tabs.page(2), t.pages[2]);
        QCOMPARE(t.tabs.page(3), nullptr);
    }

    void setCurrentPageSignalsOnlyRealChanges()
    {
        Tabs t;
        QSignalSpy spy(&t.tabs, &ZNavTabWidget::currentChanged);
        t.tabs.setCurrentPage(2);
        t.tabs.setCurrentPage(2);
        t.tabs.setCurrentPage(5);
        t.tabs.setCurrentPage(-1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<QWidget*>(), t.pages[2]);
        QCOMPARE(t.tabs.currentPageIndex(), 2);
        t.tabs.setCurrentPage(0);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(t.tabs.currentPage(), t.pages[0]);
    }

    void leftAndRightKeysWrapRound()
    {
        Tabs t;
        QSignalSpy spy(&t.tabs, &ZNavTabWidget::currentChanged);
        QTest::keyClick(&t.tabs, Qt::Key_Right);
        QCOMPARE(t.tabs.currentPageIndex(), 1);
        QTest::keyClick(&t.tabs, Qt::Key_Left);
        QTest::keyClick(&t.tabs, Qt::Key_Left);
        QCOMPARE(t.tabs.currentPageIndex(), 2);
        QCOMPARE(spy.count(), 3);
    }

    void keysUnusedByAListReachTheTabs()
    {
        Tabs t;
        auto* list = new QListWidget(t.pages[0]);
        list->addItems({QStringLiteral("a"), QStringLiteral("b")});
        list->setCurrentRow(0);
        t.tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.tabs));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(t.tabs.currentPageIndex(), 0);
        QTest::keyClick(list, Qt::Key_Right);
        QCOMPARE(t.tabs.currentPageIndex(), 1);
    }

    // The phone's own list on a page inside a scroll panel, as in the task
    // manager's first tab: Left and Right still change the page.
    void sideKeysPassThroughAListInAScrollPanel()
    {
        Tabs t;
        auto* panel = new ZScrollPanel(t.pages[0]);
        panel->resize(240, 150);
        auto* list = new ZListBox(QStringLiteral("%M"), nullptr, 0, 0);
        for (const char* text : {"a", "b"}) {
            auto* row = new ZSettingItem(list, QStringLiteral("%M"));
            row->appendSubItem(0, QLatin1String(text), true);
            list->insertItem(row, -1, true);
        }
        panel->addChild(list, 0, 0);
        t.tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.tabs));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentItem(), 1);
        QTest::keyClick(list, Qt::Key_Right);
        QCOMPARE(t.tabs.currentPageIndex(), 1);
        t.tabs.setCurrentPage(0);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Left);
        QCOMPARE(t.tabs.currentPageIndex(), 2);
        QCOMPARE(list->currentItem(), 1);
    }

    void heldKeyStopsAtTheEndsWhenAsked()
    {
        Tabs t;
        t.tabs.stopNextWhenKeyRepeat(true);
        for (int i = 0; i < 5; ++i)
            pressRepeated(&t.tabs, Qt::Key_Right);
        QCOMPARE(t.tabs.currentPageIndex(), 2);
        // A fresh press still goes round.
        QTest::keyClick(&t.tabs, Qt::Key_Right);
        QCOMPARE(t.tabs.currentPageIndex(), 0);
        pressRepeated(&t.tabs, Qt::Key_Left);
        QCOMPARE(t.tabs.currentPageIndex(), 0);
    }

    void heldKeyWrapsWithoutStopping()
    {
        Tabs t;
        for (int i = 0; i < 4; ++i)
            pressRepeated(&t.tabs, Qt::Key_Right);
        QCOMPARE(t.tabs.currentPageIndex(), 1);
    }

    void clickOnATab()
    {
        Tabs t;
        t.tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.tabs));
        QSignalSpy spy(&t.tabs, &ZNavTabWidget::currentChanged);
        QTest::mouseClick(t.tabs.childAt(200, 10), Qt::LeftButton, {}, QPoint(200, 10));
        QCOMPARE(t.tabs.currentPageIndex(), 2);
        QCOMPARE(spy.count(), 1);
    }
};
ZK_TEST(ZNavTabWidgetTest)

#include "navtab_test.moc"
