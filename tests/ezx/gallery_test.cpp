// Renders the toolkit's pieces together, as the program puts them, into
// screenshots for people to look at; checks what a picture can show.
#include "ezx/zimage.h"
#include "ezx/zkbmainwidget.h"
#include "ezx/zlabel.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zoptionsmenu.h"
#include "ezx/zscrollpanel.h"
#include "ezx/zseparator.h"
#include "ezx/zsoftkey.h"
#include "tests/common/ztest.h"

#include <QListWidget>

namespace {
QPixmap picture(const QString& rel)
{
    QPixmap p(QStringLiteral(ZK_SOURCE_DIR) + QLatin1Char('/') + rel);
    return p;
}

QIcon icon(const QString& rel)
{
    return QIcon(picture(rel));
}

class Gallery : public ZKbMainWidget
{
    Q_OBJECT
public:
    ZNavTabWidget* tabs;
    ZSoftKey* keys;
    ZOptionsMenu* menu;
    ZLabel* cpu;
    ZImage* bar;

    Gallery()
        : ZKbMainWidget(3, nullptr, "ZMainWidget", 1)
    {
        setMainWidgetTitle(QStringLiteral("Tasks Manager"));
        tabs = new ZNavTabWidget(this, nullptr, 53);
        setContentWidget(tabs);

        auto* taskPage = new QWidget;
        auto* list = new QListWidget(taskPage);
        list->addItems({QStringLiteral("Phone"), QStringLiteral("Messages"),
                        QStringLiteral("Browser"), QStringLiteral("zKestrel")});
        list->setGeometry(0, 0, 190, 230);
        auto* side = new ZScrollPanel(taskPage, nullptr, 0, 63);
        side->setGeometry(190, 0, 50, 230);
        auto* cpuIcon = new ZImage(side);
        cpuIcon->setPixmap(picture(QStringLiteral("panel/cpu.png")));
        side->addChild(cpuIcon, 0, 0);
        cpu = new ZLabel(QStringLiteral("37%\n266MHz"), side);
        cpu->setAlignment(ZLabel::PhoneAlignCenter);
        cpu->setFixedWidth(50);
        cpu->setNumLines(2);
        cpu->setLeading(1);
        cpu->setPadding(0);
        QFont small = cpu->font();
        small.setPointSize(10);
        cpu->setFont(small);
        side->addChild(cpu, 0, cpuIcon->height());
        bar = new ZImage(side);
        bar->setPixmap(picture(QStringLiteral("panel/progress.png")));
        bar->setFixedWidth(20);
        side->addChild(bar, 0, 110);
        tabs->stopNextWhenKeyRepeat(true);
        tabs->addTab(taskPage, icon(QStringLiteral("img/tab_task.png")), QString());

        auto* about = new ZScrollPanel(nullptr, nullptr, 0, 63);
        auto* logo = new ZImage(about);
        logo->setPixmap(picture(QStringLiteral("img/zKestrel.png")));
        about->addChild(logo, 10, 10);
        auto* name = new ZLabel(QStringLiteral("zKestrel"), about);
        QFont bold = name->font();
        bold.setWeight(QFont::Bold);
        name->setFont(bold);
        name->setFixedWidth(150);
        about->addChild(name, 76, 10);
        auto* version = new ZLabel(QStringLiteral("ver. 0.4.6"), about);
        about->addChild(version, 76, 35);
        about->addChild(new ZSeparator, 10, 100);
        auto* text = new ZLabel(
            QStringLiteral("A task manager for the phone: tasks, favourites and the monitor."),
            about);
        text->setAutoResize(true);
        text->setPreferredWidth(220);
        about->addChild(text, 10, 110);
        tabs->addTab(about, icon(QStringLiteral("img/tab_favorits.png")), QString());
        tabs->addTab(new QWidget, icon(QStringLiteral("img/tab_graph.png")), QString());

        keys = new ZSoftKey("CST_2", this, this);
        setSoftKey(keys);
        menu = new ZOptionsMenu(QRect(0, 0, 239, 319), keys, nullptr, 0, 55, true);
        menu->insertItem(QStringLiteral("   Show"), picture(QStringLiteral("img/show.png")), this,
                         SLOT(close()));
        menu->insertItem(QStringLiteral("   Quit"), picture(QStringLiteral("img/quit.png")), this,
                         SLOT(close()));
        menu->insertItem(QStringLiteral("   Priority"), picture(QStringLiteral("img/priority.png")),
                         this, SLOT(close()));
        menu->insertItem(QStringLiteral("   Information"), picture(QStringLiteral("img/info.png")),
                         this, SLOT(close()));
        menu->insertItem(QStringLiteral("   Exit"), picture(QStringLiteral("img/exit.png")), this,
                         SLOT(close()));
        keys->setOptMenu(ZSoftKey::Left, menu);
        keys->setText(ZSoftKey::Left, QStringLiteral("Options"));
        keys->setTextForOptMenuHide(QStringLiteral("Options"));
        keys->setText(ZSoftKey::Right, QStringLiteral("Exit"));
        keys->setClickedSlot(ZSoftKey::Right, this, SLOT(close()));
    }
};

}

class GalleryTest : public QObject
{
    Q_OBJECT
private slots:
    void mainWindowWithTabsAndMenu()
    {
        Gallery g;
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        const QImage plain = g.grab().toImage();
        ztest::saveShot(&g, QStringLiteral("ezx-gallery-tasks"));
        QCOMPARE(plain.size(), QSize(240, 320));

        g.keys->click(ZSoftKey::Left);
        QVERIFY(g.menu->isOpen());
        const QImage withMenu = g.grab().toImage();
        ztest::saveShot(&g, QStringLiteral("ezx-gallery-menu"));
        // The menu covers part of the content, not the soft-key bar.
        const QRect m = g.menu->geometry();
        QVERIFY(plain.copy(m) != withMenu.copy(m));
        QVERIFY(!m.intersects(QRect(g.keys->mapTo(&g, QPoint(0, 0)), g.keys->size())));

        g.keys->click(ZSoftKey::Left);
        g.tabs->setCurrentPage(1);
        ztest::saveShot(&g, QStringLiteral("ezx-gallery-about"));
        QVERIFY(g.grab().toImage() != plain);
    }

    void barIsClippedNotStretched()
    {
        Gallery g;
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        const QImage full = g.bar->pixmap().toImage();
        const QImage shown = g.bar->grab().toImage();
        QCOMPARE(shown.width(), 20);
        QCOMPARE(shown.pixelColor(10, shown.height() / 2),
                 full.pixelColor(10, full.height() / 2));
    }
};
ZK_TEST(GalleryTest)

#include "gallery_test.moc"
