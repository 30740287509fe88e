#include "tests/common/ztest.h"

#include "ezx/zlabel.h"
#include "ezx/zslidermodule.h"
#include "tests/ui/popupdriver.h"
#include "ui/znumselect.h"

#include <QSlider>
#include <QTimer>

class ZNumSelectTest : public QObject
{
    Q_OBJECT
private slots:
    void buildsLabelSliderAndKeys()
    {
        ZNumSelect pick(nullptr, QStringLiteral("Priority:"));
        QCOMPARE(pick.value(), 0);
        QCOMPARE(pick.label()->text(), QStringLiteral("Priority: 0"));
        QSlider* slider = pick.slider()->getSlider();
        QCOMPARE(slider->minimum(), -10);
        QCOMPARE(slider->maximum(), 10);
        QCOMPARE(slider->singleStep(), 1);
        QCOMPARE(pick.title(), QStringLiteral(" "));
        QCOMPARE(pick.softkeyTextLeft(), QStringLiteral("OK"));
        QCOMPARE(pick.softkeyTextRight(), QStringLiteral("Cancel"));
    }

    void unmovedRunReturnsTheValueGiven()
    {
        ZNumSelect pick(nullptr, QStringLiteral("Priority:"));
        pick.setValue(-3);
        PopupDriver user;
        user.then([](ZPopup* p) { PopupDriver::confirm(p); });
        QCOMPARE(pick.exec(), 1);
        QCOMPARE(pick.value(), -3);
    }

    void slidingToTheBottom()
    {
        ZNumSelect pick(nullptr, QStringLiteral("Priority:"));
        pick.setValue(4);
        PopupDriver user;
        user.then([&](ZPopup* p) {
            ztest::saveShot(p, QStringLiteral("numselect"));
            // The user holds Left down until the slider stops.
            for (int i = 0; i < 20; ++i)
                QTest::keyClick(pick.slider()->getSlider(), Qt::Key_Left);
            PopupDriver::confirm(p);
        });
        QCOMPARE(pick.exec(), 1);
        QCOMPARE(pick.value(), -10);
        QCOMPARE(pick.label()->text(), QStringLiteral("Priority: -10"));
    }

    void setValueMovesTheSlider()
    {
        ZNumSelect pick(nullptr, QStringLiteral("Nice"));
        pick.setValue(7);
        QCOMPARE(pick.slider()->getSlider()->value(), 7);
        QCOMPARE(pick.label()->text(), QStringLiteral("Nice 7"));
        QCOMPARE(pick.value(), 7);
    }

    void valueOutsideTheSliderKeptAsGiven()
    {
        ZNumSelect pick(nullptr, QStringLiteral("Nice"));
        pick.setValue(15);
        QCOMPARE(pick.value(), 15);
        QCOMPARE(pick.label()->text(), QStringLiteral("Nice 15"));
        QCOMPARE(pick.slider()->getSlider()->value(), 10);
        pick.setValue(-19);
        QCOMPARE(pick.value(), -19);
        QCOMPARE(pick.slider()->getSlider()->value(), -10);
    }

    void cancelledRunReturnsZero()
    {
        ZNumSelect pick(nullptr, QStringLiteral("Nice"));
        pick.setValue(2);
        PopupDriver user;
        user.then([](ZPopup* p) { PopupDriver::cancel(p); });
        QCOMPARE(pick.exec(), 0);
        QCOMPARE(pick.value(), 2);
    }
};

ZK_TEST(ZNumSelectTest)
#include "znumselect_test.moc"
