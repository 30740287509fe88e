// The phone's window: size, modality, title, content and soft-key bar.
#include "ezx/zkbmainwidget.h"
#include "ezx/zsoftkey.h"
#include "tests/common/ztest.h"

#include <QVBoxLayout>

class ZMainWidgetTest : public QObject
{
    Q_OBJECT
private slots:
    void isAScreenSizedWindow()
    {
        QWidget owner;
        ZKbMainWidget w(3, &owner, "ZMainWidget", 1);
        QVERIFY(w.isWindow());
        QCOMPARE(w.objectName(), QStringLiteral("ZMainWidget"));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.size(), QSize(240, 320));
        QCOMPARE(w.windowModality(), Qt::NonModal);
    }

    void flagsThreeMakeItModal()
    {
        ZKbMainWidget w(3, nullptr, "ZMainWidget", 3);
        QCOMPARE(w.windowModality(), Qt::ApplicationModal);
    }

    void titleContentAndSoftKeysStackUp()
    {
        ZKbMainWidget w(3);
        w.setMainWidgetTitle(QStringLiteral("Tasks Manager"));
        QCOMPARE(w.mainWidgetTitle(), QStringLiteral("Tasks Manager"));
        auto* body = new QWidget;
        w.setContentWidget(body);
        auto* keys = new ZSoftKey("CST_2", &w, &w);
        w.setSoftKey(keys);
        QCOMPARE(w.softKey(), keys);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(keys->geometry().bottom(), 319);
        QCOMPARE(keys->width(), 240);
        const QRect content = w.contentRect();
        QCOMPARE(content.bottom() + 1, keys->y());
        QVERIFY(content.top() >= 20);
        QCOMPARE(body->mapTo(&w, QPoint(0, 0)), content.topLeft());
        QCOMPARE(body->size(), content.size());

        // A second content widget replaces the first.
        auto* other = new QWidget;
        w.setCSTWidget(keys);
        w.setContentWidget(other);
        QVERIFY(body->isHidden());
        QCOMPARE(w.getContentWidget(), other);
    }

    void layoutTakesSeveralWidgets()
    {
        ZKbMainWidget w(3);
        auto* a = new QWidget;
        auto* b = new QWidget;
        w.getVBoxLayout()->addWidget(a);
        w.getVBoxLayout()->addWidget(b);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(a->y() < b->y());
        QCOMPARE(a->width(), 240);
    }
};
ZK_TEST(ZMainWidgetTest)

#include "mainwidget_test.moc"
