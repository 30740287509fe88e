// The program's pictures and the framework's named icons: every picture the
// program loads is there at its size, the side panel's pictures follow the
// panel's placement rules, and a contact sheet is drawn for people to look at.
#include "ezx/ownpicture.h"
#include "ezx/res_icon_reader.h"
#include "ezx/zskin.h"
#include "tests/common/ztest.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

namespace {

const QString binDir = QStringLiteral(ZK_BIN_DIR);

const QStringList resourceNames = {
    QStringLiteral("phone_std.g"), QStringLiteral("messaging_std.g"), QStringLiteral("browser_std.g"),
    QStringLiteral("camera_std.g"), QStringLiteral("calendar_std.g"), QStringLiteral("contacts_std.g"),
    QStringLiteral("music_std.g"), QStringLiteral("video_std.g"), QStringLiteral("settings_std.g"),
    QStringLiteral("games_std.g"), QStringLiteral("clock_std.g"), QStringLiteral("calculator_std.g"),
    QStringLiteral("notes_std.g"), QStringLiteral("files_std.g"), QStringLiteral("java_std.g"),
    QStringLiteral("email_std.g"), QStringLiteral("radio_std.g"), QStringLiteral("gallery_std.g"),
    QStringLiteral("alarm_std.g"), QStringLiteral("generic_std.g")};

struct Named
{
    const char* path;  // below the executable's folder
    int width;
    int height;
};

const Named pictures[] = {
    {"img/sh.png", 16, 16},
    {"img/java.png", 16, 16},
    {"img/app.png", 16, 16},
    {"img/info.png", 24, 24},
    {"img/liblist.png", 24, 24},
    {"img/tab_task.png", 24, 24},
    {"img/tab_favorits.png", 24, 24},
    {"img/tab_graph.png", 24, 24},
    {"img/show.png", 16, 16},
    {"img/quit.png", 16, 16},
    {"img/priority.png", 16, 16},
    {"img/app_add.png", 16, 16},
    {"img/app_del.png", 16, 16},
    {"img/app_ren.png", 16, 16},
    {"img/flag.png", 16, 16},
    {"img/about.png", 16, 16},
    {"img/exit.png", 16, 16},
    {"img/desktop.png", 19, 19},
    {"img/run_app.png", 19, 19},
    {"img/zKestrel.png", 56, 56},
    {"zKestrel.png", 56, 56},
};

QImage picture(const QString& path)
{
    return QImage(binDir + QLatin1Char('/') + path);
}

// Opaque pixels of an image: a picture that is all transparent shows nothing.
int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return count;
}

// True when the cover has the gauge's shape (same transparency per pixel)
// at (x, y) of the icon but another colour: laid over the gauge it hides it
// exactly.
bool coverFitsGauge(const QImage& icon, const QImage& cover, int x0, int y0, QString* why)
{
    int differing = 0;
    for (int y = 0; y < cover.height(); ++y) {
        for (int x = 0; x < cover.width(); ++x) {
            const QRgb under = icon.pixel(x0 + x, y0 + y);
            const QRgb over = cover.pixel(x, y);
            if (qAlpha(under) != qAlpha(over)) {
                *why = QStringLiteral("shape differs at %1,%2").arg(x).arg(y);
                return false;
            }
            differing += (under != over) ? 1 : 0;
        }
    }
    if (differing < cover.width() * cover.height() / 4) {
        *why = QStringLiteral("the lit gauge looks like its cover");
        return false;
    }
    return true;
}

// Pixels that glow: a lit gauge cell, not the dark track or an unlit cell.
int litPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            count += qMax(qRed(c), qMax(qGreen(c), qBlue(c))) > 160 ? 1 : 0;
        }
    return count;
}

// The side panel as the program lays it out, with the covers sized for the
// given load and free percentages (covers cut from their top-left corner).
QImage sidePanel(int load, int freeRam, int freeSwap)
{
    const QImage cpu = picture(QStringLiteral("panel/cpu.png"));
    const QImage ram = picture(QStringLiteral("panel/ram.png"));
    const QImage swap = picture(QStringLiteral("panel/swap.png"));
    const QImage coverV = picture(QStringLiteral("panel/progressv.png"));
    const QImage coverH = picture(QStringLiteral("panel/progress.png"));
    QImage panel(50, 238, QImage::Format_ARGB32);
    panel.fill(zskin::background());
    QPainter p(&panel);
    p.drawImage(0, 0, cpu);
    const int coverHeight = qMax(0, 40 - static_cast<int>(load * 0.4));
    // An empty source rectangle would draw the whole cover: skip it instead.
    if (coverHeight > 0)
        p.drawImage(QPoint(cpu.width() - coverV.width(), 0), coverV, QRect(0, 0, coverV.width(), coverHeight));
    p.setPen(zskin::text());
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    p.drawText(QRect(0, cpu.height() + 1, 50, 30), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("%1%\n%2 MHz").arg(load).arg(532));
    const int rows[] = {80, 155};
    const int free[] = {freeRam, freeSwap};
    const QImage* icons[] = {&ram, &swap};
    for (int i = 0; i < 2; ++i) {
        const QImage& icon = *icons[i];
        p.drawImage(0, rows[i], icon);
        const int width = qMax(0, 48 - free[i] / 2);
        if (width > 0)
            p.drawImage(QPoint(0, rows[i] + icon.height() - coverH.height()), coverH,
                        QRect(0, 0, width, coverH.height()));
        p.drawText(QRect(0, rows[i] + icon.height() + 1, 50, 15), Qt::AlignHCenter | Qt::AlignTop,
                   QStringLiteral("%1.0M").arg(free[i] / 4));
    }
    return panel;
}

}  // namespace

class ResIconReaderTest : public QObject
{
    Q_OBJECT
private slots:
    void knownNamesGiveTheirIcons()
    {
        RES_ICON_Reader reader;
        for (const QString& name : resourceNames) {
            const QPixmap icon = reader.getIcon(name, false);
            QVERIFY2(!icon.isNull(), qPrintable(name));
            QCOMPARE(icon.size(), QSize(24, 24));
        }
        // Each name has its own picture.
        const QImage phone = reader.getIcon(QStringLiteral("phone_std.g")).toImage();
        const QImage music = reader.getIcon(QStringLiteral("music_std.g")).toImage();
        QVERIFY(phone != music);
    }

    void otherNamesGiveNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("unknown") << QStringLiteral("nosuch_std.g");
        QTest::newRow("empty") << QString();
        QTest::newRow("only the ending") << QStringLiteral(".g");
        QTest::newRow("no ending") << QStringLiteral("messaging_std");
        QTest::newRow("upper-case ending") << QStringLiteral("messaging_std.G");
        QTest::newRow("file path") << QStringLiteral("/usr/data_resource/icons/messaging.png");
        QTest::newRow("path with ending") << QStringLiteral("../icons/messaging_std.g");
        QTest::newRow("resource path") << QStringLiteral(":/ezx/icons/messaging_std.g");
    }

    void otherNamesGiveNothing()
    {
        QFETCH(QString, name);
        RES_ICON_Reader reader;
        QVERIFY(reader.getIcon(name, false).isNull());
        QVERIFY(reader.getIcon(name, true).isNull());
    }

    void cachedIconIsTheSamePicture()
    {
        RES_ICON_Reader reader;
        const QPixmap first = reader.getIcon(QStringLiteral("camera_std.g"), true);
        const QPixmap again = RES_ICON_Reader().getIcon(QStringLiteral("camera_std.g"), true);
        QVERIFY(!first.isNull());
        QCOMPARE(again.cacheKey(), first.cacheKey());
        QCOMPARE(reader.getIcon(QStringLiteral("camera_std.g"), false).toImage(), first.toImage());
    }
};

class PicturesTest : public QObject
{
    Q_OBJECT
private slots:
    void everyPictureIsThereAtItsSize()
    {
        for (const Named& named : pictures) {
            const QImage image = picture(QLatin1String(named.path));
            QVERIFY2(!image.isNull(), named.path);
            QCOMPARE(image.size(), QSize(named.width, named.height));
            QVERIFY2(opaquePixels(image) > image.width() * image.height() / 4, named.path);
            // The program reads its own pictures with the PNG reader alone.
            const QImage own = ownPicture(binDir + QLatin1Char('/') + QLatin1String(named.path)).toImage();
            QVERIFY2(ztest::samePicture(own, image), named.path);
        }
        QVERIFY(ownPicture(binDir + QStringLiteral("/img/no-such-picture.png")).isNull());
        QVERIFY(ownPicture(binDir).isNull());  // a folder
    }

    void cpuPictureAndItsCover()
    {
        const QImage cpu = picture(QStringLiteral("panel/cpu.png"));
        const QImage cover = picture(QStringLiteral("panel/progressv.png"));
        QVERIFY(!cpu.isNull() && !cover.isNull());
        QCOMPARE(cpu.width(), 50);
        // Two lines of text below the icon must end before the RAM row at 80.
        QVERIFY(cpu.height() <= 44);
        QCOMPARE(cover.height(), 40);
        QVERIFY(cover.width() >= 4 && cover.width() <= 12);
        QString why;
        QVERIFY2(coverFitsGauge(cpu, cover, cpu.width() - cover.width(), 0, &why), qPrintable(why));
    }

    void memoryPicturesAndTheirCover_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("nextRow");
        QTest::newRow("ram") << QStringLiteral("panel/ram.png") << 80 << 155;
        QTest::newRow("swap") << QStringLiteral("panel/swap.png") << 155 << 238;
    }

    void memoryPicturesAndTheirCover()
    {
        QFETCH(QString, path);
        QFETCH(int, top);
        QFETCH(int, nextRow);
        const QImage icon = picture(path);
        const QImage cover = picture(QStringLiteral("panel/progress.png"));
        QVERIFY(!icon.isNull() && !cover.isNull());
        QCOMPARE(icon.width(), 50);
        QVERIFY(icon.height() <= 56);
        // The icon, one line of text (about 15 pixels) and the next row.
        QVERIFY(top + icon.height() + 1 + 15 <= nextRow);
        QCOMPARE(cover.width(), 48);
        QVERIFY(cover.height() >= 3 && cover.height() <= 10);
        QString why;
        QVERIFY2(coverFitsGauge(icon, cover, 0, icon.height() - cover.height(), &why), qPrintable(why));
    }

    void coversRevealTheGaugeWithTheFigures()
    {
        // Idle processor: the cover hides the whole gauge; full load: none
        // of it. Nothing free: the cover hides the whole memory gauge.
        const QImage cpu = picture(QStringLiteral("panel/cpu.png"));
        const QImage ram = picture(QStringLiteral("panel/ram.png"));
        const QImage idle = sidePanel(0, 0, 100);
        const QImage busy = sidePanel(100, 100, 0);
        const QRect gauge(cpu.width() - 8, 0, 8, 40);
        const QRect memory(0, 80 + ram.height() - 6, 48, 6);
        QCOMPARE(litPixels(idle.copy(gauge)), 0);
        QVERIFY(litPixels(busy.copy(gauge)) > 8 * 40 / 3);
        QCOMPARE(litPixels(idle.copy(memory)), 0);
        QVERIFY(litPixels(busy.copy(memory)) > 48 * 6 / 3);
        // Half the load lights the lower half only.
        const QImage half = sidePanel(50, 50, 50);
        QCOMPARE(litPixels(half.copy(gauge.x(), 0, 8, 20)), 0);
        QVERIFY(litPixels(half.copy(gauge.x(), 20, 8, 20)) > 8 * 20 / 3);
        // Half free lights the right half of the memory gauge only.
        QCOMPARE(litPixels(half.copy(0, memory.y(), 23, 6)), 0);
        QVERIFY(litPixels(half.copy(25, memory.y(), 23, 6)) > 23 * 6 / 3);
    }

    void contactSheet()
    {
        // Every picture enlarged four times and at 1:1, on the content
        // background and on the title bar's blue, and the side panel at
        // three states, for people to look at.
        QList<QPair<QString, QImage>> all;
        for (const Named& named : pictures)
            all.append({QLatin1String(named.path), picture(QLatin1String(named.path))});
        for (const QString& panel : {QStringLiteral("cpu"), QStringLiteral("progressv"), QStringLiteral("ram"),
                                     QStringLiteral("swap"), QStringLiteral("progress")})
            all.append({panel, picture(QStringLiteral("panel/") + panel + QStringLiteral(".png"))});
        RES_ICON_Reader reader;
        for (const QString& name : resourceNames)
            all.append({name, reader.getIcon(name).toImage()});

        const int cell = 240;
        const int cellHeight = 300;  // the 56-pixel icon: 224 enlarged, 56 at 1:1
        const int columns = 6;
        const int rows = (static_cast<int>(all.size()) + columns - 1) / columns;
        QImage sheet(columns * cell, rows * cellHeight + 260, QImage::Format_ARGB32);
        sheet.fill(zskin::background());
        QPainter p(&sheet);
        QFont font = p.font();
        font.setPixelSize(12);
        p.setFont(font);
        for (int i = 0; i < all.size(); ++i) {
            const QImage& image = all.at(i).second;
            QVERIFY2(!image.isNull(), qPrintable(all.at(i).first));
            const int x = (i % columns) * cell + 8;
            const int y = (i / columns) * cellHeight + 8;
            p.drawImage(x, y, image.scaled(image.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation));
            const int below = y + image.height() * 4 + 6;
            p.drawImage(x, below, image);
            p.fillRect(x + image.width() + 6, below - 2, image.width() + 4, image.height() + 4, zskin::titleBottom());
            p.drawImage(x + image.width() + 8, below, image);
            p.setPen(zskin::text());
            p.drawText(x + 2 * image.width() + 20, below + 12, all.at(i).first);
        }
        const int panelsTop = rows * cellHeight + 10;
        const int states[][3] = {{0, 0, 100}, {37, 50, 75}, {100, 100, 0}};
        for (int i = 0; i < 3; ++i) {
            const QImage panel = sidePanel(states[i][0], states[i][1], states[i][2]);
            p.drawImage(8 + i * 70, panelsTop, panel);
        }
        p.end();
        const QString path = ztest::shotsDir() + QStringLiteral("/pictures.png");
        QVERIFY(sheet.save(path));
        QCOMPARE(QImage(path).size(), sheet.size());
    }
};

ZK_TEST(ResIconReaderTest)
ZK_TEST(PicturesTest)
#include "icons_pictures_test.moc"
