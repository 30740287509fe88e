// Scroll panel and form container: contents grow to cover the children,
// scrolling, vertical stacking.
#include "ezx/zformcontainer.h"
#include "ezx/zlabel.h"
#include "ezx/zscrollpanel.h"
#include "tests/common/ztest.h"

#include <QScrollBar>

class ZScrollPanelTest : public QObject
{
    Q_OBJECT
private slots:
    void childrenSitWhereTheyAreAdded()
    {
        ZScrollPanel panel;
        panel.resize(240, 200);
        auto* w = new QWidget;
        w->resize(30, 30);
        panel.addChild(w, 12, 70);
        QCOMPARE(w->parentWidget(), panel.contents());
        QCOMPARE(w->pos(), QPoint(12, 70));
    }

    void contentsGrowAndScroll()
    {
        ZScrollPanel panel;
        panel.resize(240, 200);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        auto* low = new QWidget;
        low->resize(50, 40);
        panel.addChild(low, 0, 500);
        QVERIFY(panel.contents()->height() >= 540);
        QTRY_VERIFY(panel.verticalScrollBar()->isVisible());
        panel.scrollBy(0, 20);
        QCOMPARE(panel.contentsY(), 20);
        panel.scrollBy(0, -100);
        QCOMPARE(panel.contentsY(), 0);
        // A child that grows later grows the contents too.
        low->resize(50, 200);
        QVERIFY(panel.contents()->height() >= 700);
        // Nothing below the view: no bar.
        low->move(0, 10);
        low->resize(50, 20);
        QTRY_VERIFY(!panel.verticalScrollBar()->isVisible());
    }

    void sidewaysOnlyByScrollBy()
    {
        ZScrollPanel panel;
        panel.resize(100, 100);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        auto* wide = new QWidget;
        wide->resize(300, 20);
        panel.addChild(wide, 0, 0);
        QVERIFY(panel.contents()->width() >= 300);
        panel.scrollBy(30, 0);
        QCOMPARE(panel.contentsX(), 30);
    }

    void nullChildIsRefused()
    {
        ZScrollPanel panel;
        panel.addChild(nullptr, 0, 0);
        QVERIFY(panel.contents()->children().isEmpty());
    }
};
ZK_TEST(ZScrollPanelTest)

class ZFormContainerTest : public QObject
{
    Q_OBJECT
private slots:
    void stacksChildrenTopDown()
    {
        ZFormContainer form(nullptr);
        form.resize(240, 250);
        auto* a = new ZLabel(QStringLiteral("Name: init"));
        auto* b = new ZLabel(QStringLiteral("Cmd: /bin/sh\nsecond line"));
        a->setAutoResize(true);
        b->setAutoResize(true);
        b->setFixedWidth(235);
        form.addChild(a, true, nullptr);
        form.addChild(b, true, nullptr);
        QCOMPARE(a->parentWidget(), form.contents());
        QVERIFY(a->y() < b->y());
        QCOMPARE(b->y(), a->geometry().bottom() + 1 + ZFormContainer::spacing);
        QCOMPARE(b->width(), 235);
        QCOMPARE(b->height(), 2 * b->fontMetrics().height());
        // The stretched one takes the width of the view.
        QVERIFY(a->width() > 200);
    }

    void growingChildPushesTheNextDown()
    {
        ZFormContainer form(nullptr);
        form.resize(240, 250);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* a = new ZLabel(QStringLiteral("one"));
        auto* b = new ZLabel(QStringLiteral("below"));
        a->setAutoResize(true);
        form.addChild(a);
        form.addChild(b);
        const int before = b->y();
        a->setText(QStringLiteral("one\ntwo\nthree"));
        QVERIFY(b->y() > before);
        QCOMPARE(b->y(), a->geometry().bottom() + 1 + ZFormContainer::spacing);
    }

    void longFormScrolls()
    {
        ZFormContainer form(nullptr);
        form.resize(240, 100);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (int i = 0; i < 20; ++i)
            form.addChild(new ZLabel(QStringLiteral("line %1").arg(i)));
        QVERIFY(form.contents()->height() > 300);
        form.scrollBy(0, 20);
        QCOMPARE(form.contentsY(), 20);
    }
};
ZK_TEST(ZFormContainerTest)

#include "panel_test.moc"
