// Pictures of the list box and of every popup over a phone-sized window, for
// people to look at (build/screenshots), with a few checks of what is drawn.
#include "ezx/zcolorpickerdlg.h"
#include "ezx/zlistbox.h"
#include "ezx/zlistboxitem.h"
#include "ezx/znumpickerdlg.h"
#include "ezx/zpopup.h"
#include "ezx/zsettingitem.h"
#include "ezx/zsinglecapturedlg.h"
#include "ezx/zsingleselectdlg.h"
#include "ezx/zskin.h"
#include "ezx/zslidermodule.h"
#include "tests/common/ztest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace {
QPixmap icon(const QColor& color, const QString& letter)
{
    QPixmap pix(19, 19);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(color);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 18, 18), 4, 4);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.drawText(pix.rect(), Qt::AlignCenter, letter);
    return pix;
}

ZSettingItem* appRow(ZListBox& list, const QString& name, const QColor& color)
{
    auto* row = new ZSettingItem(&list, QStringLiteral("%I%M"));
    row->setPixmap(0, icon(color, name.left(1)));
    row->appendSubItem(1, name, true);
    return row;
}

ZSettingItem* settingRow(ZListBox& list, const QString& title, const QString& value)
{
    auto* row = new ZSettingItem(&list, QStringLiteral("%M"));
    row->appendSubItem(0, QStringLiteral(" "), true);
    row->appendSubItem(0, QStringLiteral(" "), false);
    row->setSubItem(0, 0, title, true, 1);
    row->setSubItem(0, 1, value, false, 1);
    return row;
}

// A stand-in for the phone window that popups open over.
class Host : public QWidget
{
public:
    Host()
    {
        setGeometry(0, 0, zskin::screenWidth, zskin::screenHeight);
        auto* box = new QVBoxLayout(this);
        box->setContentsMargins(0, 0, 0, 0);
        list = new ZListBox(QStringLiteral("%I%M"), this);
        box->addWidget(list);
        const QStringList names = {"Camera", "Messages", "Browser", "Calendar", "Music",
                                   "Settings", "Files", "Games", "Clock", "Radio"};
        int hue = 0;
        for (const QString& n : names) {
            list->insertItem(appRow(*list, n, QColor::fromHsv(hue, 150, 190)));
            hue = (hue + 37) % 360;
        }
    }
    ZListBox* list = nullptr;
};

// The host with the popup drawn where it stands, as the user sees it.
QImage composite(Host& host, ZPopup& popup)
{
    QImage shot = host.grab().toImage();
    QPainter p(&shot);
    const QPoint at = popup.mapToGlobal(QPoint(0, 0)) - host.mapToGlobal(QPoint(0, 0));
    p.drawPixmap(at, popup.grab());
    p.end();
    return shot;
}

QString save(const QImage& image, const QString& name)
{
    const QString path = ztest::shotsDir() + QLatin1Char('/') + name + QStringLiteral(".png");
    image.save(path);
    return path;
}

bool hasColour(const QImage& image, const QRect& area, const QColor& colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                return true;
        }
    }
    return false;
}
}

class PopupGalleryTest : public QObject
{
    Q_OBJECT
private slots:
    void listWithIconsAndTwoLineRows()
    {
        QWidget page;
        page.setGeometry(0, 0, zskin::screenWidth, zskin::screenHeight);
        auto* box = new QVBoxLayout(&page);
        box->setContentsMargins(0, 0, 0, 0);
        box->setSpacing(0);
        auto* apps = new ZListBox(QStringLiteral("%I%M"), &page);
        apps->insertItem(appRow(*apps, QStringLiteral("Hide All"), QColor(0x44, 0x88, 0x44)));
        auto* sep = new ZSettingItem(apps, QStringLiteral("%I%M"));
        sep->setSeparator(QStringLiteral("-"));
        sep->setSelectable(false);
        apps->insertItem(sep);
        apps->insertItem(appRow(*apps, QStringLiteral("Camera"), QColor(0xd0, 0x60, 0x30)));
        apps->insertItem(appRow(*apps, QStringLiteral("A very long application name that does not fit"),
                                QColor(0x30, 0x60, 0xd0)));
        auto* group = new ZSettingItem(apps, QStringLiteral("%M"));
        group->setSeparator(QStringLiteral("Settings"));
        apps->insertItem(group);
        apps->insertItem(settingRow(*apps, QStringLiteral("Show All Tasks"), QStringLiteral("Off")));
        apps->insertItem(settingRow(*apps, QStringLiteral("Font Size list"), QStringLiteral("16")));
        auto* task = new ZSettingItem(apps, QStringLiteral("%16I%214M%20M"));
        task->setPixmap(0, icon(QColor(0x80, 0x40, 0xa0), QStringLiteral("k")));
        task->appendSubItem(1, QStringLiteral("kvm (fixed fields)"), true);
        apps->insertItem(task);
        apps->setCurrentItem(2);
        box->addWidget(apps);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));

        const QImage shot = page.grab().toImage();
        QVERIFY(!save(shot, QStringLiteral("list-rows")).isEmpty());
        const QRect current = apps->itemRect(2);
        QCOMPARE(shot.pixelColor(current.right() - 3, current.center().y()).rgb(),
                 zskin::highlight().rgb());
        // The rule between rows 2 and 3.
        QCOMPARE(shot.pixelColor(current.right() - 3, current.bottom()).rgb(), zskin::rule().rgb());
        QVERIFY(apps->itemRect(5).height() > apps->itemRect(2).height());
    }

    void everyPopupOverTheWindow()
    {
        Host host;
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));

        ZPopup plain(0, &host);
        plain.setTitle(QStringLiteral("Priority:"));
        plain.insertChild(new QLabel(QStringLiteral("Priority: 0")));
        plain.insertChild(new ZSliderModule(-10, 10, 1, 0, 0, nullptr, nullptr, 50));
        plain.setSoftkeyTextLeft(QStringLiteral("Ok"));
        plain.setSoftkeyTextRight(QStringLiteral("Cancel"));

        ZSingleCaptureDlg capture(QStringLiteral("Rename"), QString(), 0, &host);
        capture.getLineEdit()->setText(QStringLiteral("Camera"));

        ZSingleSelectDlg select(QStringLiteral("Action on C key:"), QString(), &host);
        select.addItemsList({QStringLiteral("No"), QStringLiteral("Kill"), QStringLiteral("Quit")});
        select.getListBox()->checkItem(1, true);

        ZNumPickerDlg number(2, &host);
        number.setTitle(QStringLiteral("Font Size list"));
        number.getNumModule()->setMaxValue(30);
        number.getNumModule()->setMinValue(6);
        number.getNumModule()->setValue(16);

        ZColorPickerDlg colour(QColor(0x33, 0x66, 0x99), nullptr, 0, &host);

        const QList<QPair<ZPopup*, QString>> popups = {
            {&plain, QStringLiteral("popup-slider")},
            {&capture, QStringLiteral("popup-capture")},
            {&select, QStringLiteral("popup-single-select")},
            {&number, QStringLiteral("popup-number")},
            {&colour, QStringLiteral("popup-colour")},
        };
        for (const auto& [popup, name] : popups) {
            popup->show();
            QVERIFY(QTest::qWaitForWindowExposed(popup));
            const QImage shot = composite(host, *popup);
            save(shot, name);
            popup->hide();
            // The framed box sits on the bottom of the window, soft keys last.
            const QRect box(popup->mapToGlobal(QPoint(0, 0)) - host.mapToGlobal(QPoint(0, 0)),
                            popup->size());
            QCOMPARE(box.bottom(), zskin::screenHeight - 1);
            QVERIFY2(box.top() > zskin::titleBarHeight, qPrintable(name));
            QCOMPARE(shot.pixelColor(box.left(), box.center().y()).rgb(), zskin::popupFrame().rgb());
            const int keysY = box.bottom() - zskin::softKeyBarHeight / 2;
            QVERIFY2(hasColour(shot, QRect(box.left() + 2, keysY, 60, 1), zskin::softKeyText()),
                     qPrintable(name + QStringLiteral(": no left soft-key text")));
        }
    }
};
ZK_TEST(PopupGalleryTest)

#include "popupgallery_test.moc"
