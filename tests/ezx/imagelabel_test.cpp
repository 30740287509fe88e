// ZImage sizes (fixed, negative) and ZLabel sizing rules.
#include "ezx/zimage.h"
#include "ezx/zlabel.h"
#include "ezx/zseparator.h"
#include "tests/common/ztest.h"

#include <QPainter>

namespace {
QPixmap twoColours(int w, int h)
{
    // Left half red, right half blue, so clipping is visible.
    QPixmap p(w, h);
    p.fill(Qt::blue);
    QPainter painter(&p);
    painter.fillRect(0, 0, w / 2, h, Qt::red);
    return p;
}
}

class ZImageTest : public QObject
{
    Q_OBJECT
private slots:
    void takesThePicturesSize()
    {
        QWidget parent;
        auto* image = new ZImage(&parent);
        image->setPixmap(twoColours(30, 12));
        QCOMPARE(image->size(), QSize(30, 12));
        QCOMPARE(image->sizeHint(), QSize(30, 12));
        image->setPixmap(twoColours(8, 40));
        QCOMPARE(image->size(), QSize(8, 40));
    }

    void fixedWidthClipsFromTheLeft()
    {
        QWidget parent;
        auto* image = new ZImage(&parent);
        image->setPixmap(twoColours(40, 10));
        image->setFixedWidth(10);
        QCOMPARE(image->size(), QSize(10, 10));
        const QImage shot = image->grab().toImage();
        QCOMPARE(shot.size(), QSize(10, 10));
        QCOMPARE(shot.pixelColor(9, 5), QColor(Qt::red));
        // A new picture keeps the fixed width, takes its height.
        image->setPixmap(twoColours(40, 20));
        QCOMPARE(image->size(), QSize(10, 20));
        image->setFixedHeight(3);
        image->setFixedWidth(35);
        QCOMPARE(image->size(), QSize(35, 3));
        QCOMPARE(image->grab().toImage().pixelColor(34, 1), QColor(Qt::blue));
    }

    void negativeFixedSizeShowsNothing()
    {
        QWidget parent;
        auto* image = new ZImage(&parent);
        image->setPixmap(twoColours(40, 10));
        image->setFixedWidth(-7);
        QCOMPARE(image->width(), 0);
        QCOMPARE(image->sizeHint().width(), 0);
        image->setFixedHeight(-1);
        QCOMPARE(image->size(), QSize(0, 0));
        image->setFixedWidth(5);
        QCOMPARE(image->size(), QSize(5, 0));
    }

    void nullPictureIsEmpty()
    {
        ZImage image;
        image.setPixmap(QPixmap());
        QCOMPARE(image.size(), QSize(0, 0));
        image.show();
        image.grab();  // paints without a picture
    }
};
ZK_TEST(ZImageTest)

class ZLabelTest : public QObject
{
    Q_OBJECT
private slots:
    void autoResizeHeightGrowsWithLines()
    {
        QWidget parent;
        auto* label = new ZLabel(QStringLiteral("one"), &parent);
        label->setAutoResize(true);
        label->setPreferredWidth(235);
        const int oneLine = label->height();
        QCOMPARE(label->width(), 235);
        QVERIFY(oneLine >= label->fontMetrics().height());
        label->setText(QStringLiteral("one\ntwo\nthree"));
        QCOMPARE(label->height(), 3 * oneLine);
        // A long line wraps at the preferred width.
        label->setText(QString(QStringLiteral("word ")).repeated(60).trimmed());
        QVERIFY(label->height() >= 4 * oneLine);
        QCOMPARE(label->width(), 235);
    }

    void fixedWidthWrapsAndHeightFollowsWidthChanges()
    {
        QWidget parent;
        auto* label = new ZLabel(QString(QStringLiteral("abc ")).repeated(30), &parent);
        label->setAutoResize(true);
        label->setFixedWidth(235);
        const int wide = label->height();
        label->setFixedWidth(80);
        QVERIFY(label->height() > wide);
    }

    void leadingAndPaddingAddUp()
    {
        QWidget parent;
        auto* label = new ZLabel(QStringLiteral("a\nb"), &parent);
        const int line = label->fontMetrics().height();
        QCOMPARE(label->height(), 2 * line);
        label->setLeading(14);
        QCOMPARE(label->height(), 2 * line + 14);
        label->setPadding(1, 2, 3, 4);
        QCOMPARE(label->height(), 2 * line + 14 + 6);
        QCOMPARE(label->padding(), QMargins(1, 2, 3, 4));
        label->setPadding(-5);
        QCOMPARE(label->padding(), QMargins());
    }

    void numLinesFixesTheHeight()
    {
        QWidget parent;
        auto* label = new ZLabel(QString(), &parent);
        label->setFixedWidth(50);
        label->setNumLines(2);
        label->setLeading(1);
        const int line = label->fontMetrics().height();
        QCOMPARE(label->height(), 2 * line + 1);
        label->setText(QStringLiteral("1\n2\n3\n4"));
        QCOMPARE(label->height(), 2 * line + 1);
        QCOMPARE(label->width(), 50);
    }

    void slightlyWideWordIsSqueezedNotBroken()
    {
        // The side panel's clock figure in its 50-pixel column.
        QWidget parent;
        auto* label = new ZLabel(QStringLiteral("2394MHz\n17%"), &parent);
        QFont f = label->font();
        f.setPixelSize(14);
        label->setFont(f);
        label->setAutoResize(true);
        label->setFixedWidth(50);
        QVERIFY(label->fontMetrics().horizontalAdvance(QStringLiteral("2394MHz")) > 50);
        QCOMPARE(label->height(), 2 * label->fontMetrics().height());
        // A word far too wide is still broken onto further lines.
        label->setText(QString(40, QLatin1Char('x')));
        QVERIFY(label->height() > 2 * label->fontMetrics().height());
    }

    void ownWidthKeepsTheTextOnOneLine()
    {
        QWidget parent;
        for (const QString& text : {QStringLiteral("ver. 0.4.6"), QStringLiteral("Platform: EZX-ZN5"),
                                    QStringLiteral("iii lll WWW 1.2.3")}) {
            auto* label = new ZLabel(text, &parent);
            QCOMPARE(label->height(), label->fontMetrics().height());
        }
    }

    void biggerFontMakesItTaller()
    {
        QWidget parent;
        auto* label = new ZLabel(QStringLiteral("CPU:"), &parent);
        const int before = label->height();
        QFont f = label->font();
        f.setPixelSize(30);
        label->setFont(f);
        QVERIFY(label->height() > before);
    }

    void alignmentFlagFourCentres()
    {
        QWidget parent;
        auto* label = new ZLabel(QStringLiteral("x"), &parent);
        label->setAlignment(ZLabel::PhoneAlignCenter);
        QVERIFY(label->alignment() & Qt::AlignHCenter);
        label->setAlignment(Qt::AlignRight);
        QVERIFY(label->alignment() & Qt::AlignRight);
        QVERIFY(label->alignment() & Qt::AlignTop);
    }

    void centredTextIsDrawnInTheMiddle()
    {
        QWidget parent;
        auto* label = new ZLabel(QStringLiteral("I"), &parent);
        label->setFixedWidth(100);
        label->setFontColor(Qt::black);
        label->setAlignment(ZLabel::PhoneAlignCenter);
        const QImage img = label->grab().toImage();
        int left = -1;
        int right = -1;
        for (int x = 0; x < img.width(); ++x)
            for (int y = 0; y < img.height(); ++y)
                if (qGray(img.pixel(x, y)) < 100) {
                    if (left < 0)
                        left = x;
                    right = x;
                }
        QVERIFY(left > 40);
        QVERIFY(right < 60);
        QCOMPARE(label->fontColor(), QColor(Qt::black));
    }
};
ZK_TEST(ZLabelTest)

class ZSeparatorTest : public QObject
{
    Q_OBJECT
private slots:
    void thinRuleOfDefaultWidth()
    {
        ZSeparator s;
        QCOMPARE(s.width(), 220);
        QVERIFY(s.height() <= 6);
        const QImage img = s.grab().toImage();
        int drawnRows = 0;
        for (int y = 0; y < img.height(); ++y)
            if (img.pixelColor(110, y) != img.pixelColor(110, 0) || y == 0)
                ++drawnRows;
        QVERIFY(drawnRows <= 2);
    }
};
ZK_TEST(ZSeparatorTest)

#include "imagelabel_test.moc"
