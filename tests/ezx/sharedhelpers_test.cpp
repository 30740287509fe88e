#include "tests/common/ztest.h"

#include "ezx/listrowitem.h"
#include "ezx/scaleicon.h"
#include "ezx/zlistbox.h"

#include <QColor>
#include <QImage>
#include <QPixmap>

// scaleIconTo and the list row shared by the task and favourites lists.
class SharedHelpersTest : public QObject
{
    Q_OBJECT
private slots:
    void largeIconShrinksToSquare()
    {
        QPixmap pix(48, 48);
        pix.fill(Qt::red);
        scaleIconTo(pix, 19);
        QCOMPARE(pix.size(), QSize(19, 19));
        // Smoothly scaled, not replaced: the colour survives.
        QCOMPARE(pix.toImage().pixelColor(9, 9), QColor(Qt::red));
    }

    void smallIconUnchanged()
    {
        QImage img(16, 16, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        img.setPixelColor(3, 5, Qt::blue);
        QPixmap pix = QPixmap::fromImage(img);
        const qint64 before = pix.cacheKey();
        scaleIconTo(pix, 19);
        QCOMPARE(pix.size(), QSize(16, 16));
        QCOMPARE(pix.cacheKey(), before);
    }

    void exactSizeUnchanged()
    {
        QPixmap pix(19, 19);
        pix.fill(Qt::green);
        const qint64 before = pix.cacheKey();
        scaleIconTo(pix, 19);
        QCOMPARE(pix.cacheKey(), before);
    }

    void wideIconLosesItsAspect()
    {
        QPixmap pix(30, 10);
        pix.fill(Qt::blue);
        scaleIconTo(pix, 19);
        QCOMPARE(pix.size(), QSize(19, 19));
    }

    void tallIconScaledToo()
    {
        QPixmap pix(5, 20);
        pix.fill(Qt::blue);
        scaleIconTo(pix, 19);
        QCOMPARE(pix.size(), QSize(19, 19));
    }

    void nonsenseSizeLeavesIconAlone()
    {
        QPixmap pix(40, 40);
        pix.fill(Qt::blue);
        scaleIconTo(pix, 0);
        QCOMPARE(pix.size(), QSize(40, 40));
        scaleIconTo(pix, -5);
        QCOMPARE(pix.size(), QSize(40, 40));
    }

    void rowStartsWithoutPidOrSlot()
    {
        ZListBox list(nullptr);
        auto* row = new ZListRowItem(&list, QStringLiteral("%I%M"));
        QCOMPARE(row->getPid(), 0);
        QCOMPARE(row->getSlot(), 0);
        row->setPid(4321);
        row->setSlot(19);
        list.insertItem(row, -1, true);
        auto* back = dynamic_cast<ZListRowItem*>(list.item(0));
        QVERIFY(back);
        QCOMPARE(back->getPid(), 4321);
        QCOMPARE(back->getSlot(), 19);
    }
};

ZK_TEST(SharedHelpersTest)
#include "sharedhelpers_test.moc"
