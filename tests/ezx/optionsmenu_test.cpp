// Options menu: order, clear and rebuild, activation by API, keys and mouse.
#include "ezx/zkbmainwidget.h"
#include "ezx/zoptionsmenu.h"
#include "ezx/zsoftkey.h"
#include "tests/common/ztest.h"

namespace {
class Receiver : public QObject
{
    Q_OBJECT
public:
    QStringList calls;
public slots:
    void show() { calls << QStringLiteral("show"); }
    void kill() { calls << QStringLiteral("kill"); }
    void info() { calls << QStringLiteral("info"); }
};

QPixmap icon(Qt::GlobalColor c)
{
    QPixmap p(19, 19);
    p.fill(c);
    return p;
}

struct MenuWindow
{
    ZKbMainWidget window{3, nullptr, "ZMainWidget", 1};
    ZSoftKey* keys = new ZSoftKey("CST_2", &window, &window);
    ZOptionsMenu* menu = new ZOptionsMenu(QRect(0, 0, 239, 319), keys, nullptr, 0, 55, true);
    Receiver r;

    MenuWindow()
    {
        window.setSoftKey(keys);
        keys->setOptMenu(ZSoftKey::Left, menu);
        menu->insertItem(QStringLiteral("   Show"), icon(Qt::red), &r, SLOT(show()));
        menu->insertItem(QStringLiteral("   Kill"), icon(Qt::green), &r, "kill()");
        menu->insertItem(QStringLiteral("   Information"), icon(Qt::blue), &r, SLOT(info()));
    }
    void show()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};
}

class ZOptionsMenuTest : public QObject
{
    Q_OBJECT
private slots:
    void keepsInsertionOrder()
    {
        MenuWindow m;
        QCOMPARE(m.menu->count(), 3);
        QCOMPARE(m.menu->text(0), QStringLiteral("   Show"));
        QCOMPARE(m.menu->text(2), QStringLiteral("   Information"));
        QCOMPARE(m.menu->pixmap(1).toImage().pixelColor(5, 5), QColor(Qt::green));
        QCOMPARE(m.menu->text(3), QString());
        QVERIFY(m.menu->pixmap(-1).isNull());
    }

    void clearAndRebuild()
    {
        MenuWindow m;
        m.menu->clear();
        QCOMPARE(m.menu->count(), 0);
        const int id = m.menu->insertItem(QStringLiteral("   Kill"), QPixmap(), &m.r, "kill()");
        QCOMPARE(id, 0);
        QCOMPARE(m.menu->count(), 1);
        m.menu->activate(0);
        QCOMPARE(m.r.calls, QStringList(QStringLiteral("kill")));
    }

    void activateCallsSlotAndCloses()
    {
        MenuWindow m;
        m.show();
        m.menu->popup();
        QVERIFY(m.menu->isOpen());
        m.menu->activate(2);
        QVERIFY(!m.menu->isOpen());
        QCOMPARE(m.r.calls, QStringList(QStringLiteral("info")));
        m.menu->activate(9);  // out of range: only closes
        QCOMPARE(m.r.calls.size(), 1);
    }

    void disabledEntryDoesNothing()
    {
        MenuWindow m;
        m.menu->insertItem(QStringLiteral("   Off"), QPixmap(), &m.r, "show()", false);
        m.menu->activate(3);
        QVERIFY(m.r.calls.isEmpty());
    }

    void keysMoveAndWrap()
    {
        MenuWindow m;
        m.show();
        m.menu->popup();
        QCOMPARE(m.menu->currentIndex(), 0);
        QTest::keyClick(m.menu, Qt::Key_Down);
        QTest::keyClick(m.menu, Qt::Key_Down);
        QCOMPARE(m.menu->currentIndex(), 2);
        QTest::keyClick(m.menu, Qt::Key_Down);
        QCOMPARE(m.menu->currentIndex(), 0);
        QTest::keyClick(m.menu, Qt::Key_Up);
        QCOMPARE(m.menu->currentIndex(), 2);
        QTest::keyClick(m.menu, Qt::Key_Up);
        QTest::keyClick(m.menu, Qt::Key_Enter);
        QCOMPARE(m.r.calls, QStringList(QStringLiteral("kill")));
        QVERIFY(!m.menu->isOpen());
    }

    void sitsAboveTheSoftKeys()
    {
        MenuWindow m;
        m.show();
        m.menu->popup();
        QCOMPARE(m.menu->parentWidget(), &m.window);
        const QRect g = m.menu->geometry();
        QCOMPARE(g.bottom() + 1, m.keys->geometry().top());
        QVERIFY(g.left() >= 0 && g.right() < m.window.width());
    }

    void clickOnEntryAndOutside()
    {
        MenuWindow m;
        m.show();
        m.menu->popup();
        // Second row.
        QTest::mouseClick(m.menu, Qt::LeftButton, {}, QPoint(40, 1 + 24 + 10));
        QCOMPARE(m.r.calls, QStringList(QStringLiteral("kill")));
        m.menu->popup();
        QTest::mousePress(&m.window, Qt::LeftButton, {}, QPoint(5, 40));
        QVERIFY(!m.menu->isOpen());
        QCOMPARE(m.r.calls.size(), 1);
    }

    void tooManyEntriesStillFit()
    {
        MenuWindow m;
        for (int i = 0; i < 20; ++i)
            m.menu->insertItem(QStringLiteral("   Entry %1").arg(i), QPixmap(), &m.r, "show()");
        m.show();
        m.menu->popup();
        QVERIFY(m.menu->geometry().top() >= 24);
        for (int i = 0; i < 22; ++i)
            QTest::keyClick(m.menu, Qt::Key_Down);
        QCOMPARE(m.menu->currentIndex(), 22);
        QTest::keyClick(m.menu, Qt::Key_Return);
        QCOMPARE(m.r.calls, QStringList(QStringLiteral("show")));
    }
};
ZK_TEST(ZOptionsMenuTest)

#include "optionsmenu_test.moc"
