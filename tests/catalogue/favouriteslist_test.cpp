// The favourites list box as built from the configuration file, the icons
// of its rows, and what starting a favourite does.
#include "catalogue/favourites.h"
#include "catalogue/favouriteslist.h"
#include "ezx/listrowitem.h"
#include "ezx/zlistbox.h"
#include "platform/qcopchannel.h"
#include "tests/catalogue/favouritefiles.h"
#include "tests/common/logcapture.h"
#include "tests/common/ztest.h"

#include <QDataStream>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>

using namespace favfiles;

namespace {

const QString appDir = QStringLiteral(ZK_BIN_DIR "/");

ZListRowItem* rowAt(ZListBox& list, int index)
{
    return dynamic_cast<ZListRowItem*>(list.item(index));
}

QPixmap iconOfFavourite(const QByteArray& iconValue)
{
    putConfig("[App]\nname0 = Only\nrun0 = /bin/only\nicon0 = " + iconValue + "\n");
    ZListBox list(QStringLiteral("%I%M"), nullptr);
    fillFavouritesList(&list, appDir, QStringLiteral("Hide All"));
    if (list.count() != 3 || !rowAt(list, 2))
        return QPixmap();
    return rowAt(list, 2)->pixmap(0);
}

QPixmap fallbackIcon()
{
    return QPixmap(appDir + QStringLiteral("/img/run_app.png"));
}

}  // namespace

class FavouritesListTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { clearAll(); }

    void fixedRowsThenOneRowPerUsedSlot()
    {
        putConfig("[App]\nname5 = Five\nrun5 = /bin/five\n"
                  "name0 = Zero\nrun0 = /bin/zero\n"
                  "name2 =\nrun2 = /bin/stale\n");
        ZListBox list(QStringLiteral("%I%M"), nullptr);
        LogCapture log;
        fillFavouritesList(&list, appDir, QStringLiteral("Hide All"));
        QCOMPARE(log.finish(), QStringList({"buildAppList", "buildAppList: Read app list of config...",
                                            "buildAppList: end"}));

        QCOMPARE(list.count(), 4);
        QCOMPARE(rowAt(list, 0)->subItem(1, 0), QStringLiteral("Hide All"));
        QCOMPARE(imageBytes(rowAt(list, 0)->pixmap(0)), imageBytes(QPixmap(appDir + "/img/desktop.png")));
        QVERIFY(list.item(1)->isSeparator());
        QVERIFY(!list.item(1)->isSelectable());
        QCOMPARE(rowAt(list, 2)->subItem(1, 0), QStringLiteral("Zero"));
        QCOMPARE(rowAt(list, 3)->subItem(1, 0), QStringLiteral("Five"));

        QCOMPARE(favouriteSlotAt(&list, 2), 0);
        QCOMPARE(favouriteSlotAt(&list, 3), 5);
        for (int row : {-1, 0, 1, 4, 100})
            QCOMPARE(favouriteSlotAt(&list, row), -1);

        // The row's slot, not its index, names the favourite in the file.
        QVERIFY(deleteFavourite(favouriteSlotAt(&list, 3)));
        QCOMPARE(appEntry("name5"), QString());
        QCOMPARE(appEntry("name0"), QStringLiteral("Zero"));
        QCOMPARE(appEntry("run2"), QStringLiteral("/bin/stale"));
    }

    void missingFileShowsOnlyTheTwoFixedRows()
    {
        ZListBox list(QStringLiteral("%I%M"), nullptr);
        fillFavouritesList(&list, appDir, QStringLiteral("Hide All"));
        QCOMPARE(list.count(), 2);
        QVERIFY(list.item(1)->isSeparator());
    }

    void largeIconsShrinkTo19AndSmallOnesStay()
    {
        putPicture("/pics/big.png", 48, 48);
        putPicture("/pics/small.png", 16, 16);
        putPicture("/pics/wide.png", 30, 10);
        putPicture("/pics/exact.png", 19, 19);
        QCOMPARE(iconOfFavourite("/pics/big.png").size(), QSize(19, 19));
        QCOMPARE(iconOfFavourite("/pics/small.png").size(), QSize(16, 16));
        QCOMPARE(iconOfFavourite("/pics/wide.png").size(), QSize(19, 19));
        QCOMPARE(iconOfFavourite("/pics/exact.png").size(), QSize(19, 19));
        // A picture is a phone path: it is found below the device root.
        QVERIFY(imageBytes(iconOfFavourite("/pics/small.png")) != imageBytes(fallbackIcon()));
    }

    void iconsThatCannotBeLoadedShowTheRunPicture()
    {
        QVERIFY(!fallbackIcon().isNull());
        const QByteArray fallback = imageBytes(fallbackIcon());
        putFile(devicePath("/pics/broken.png"), "not a picture");
        for (const QByteArray& value : {QByteArray("/pics/missing.png"), QByteArray("/pics/broken.png"),
                                        QByteArray(""), QByteArray("no_such_icon.g")})
            QCOMPARE(imageBytes(iconOfFavourite(value)), fallback);
    }

    void resourceIconsEndInDotG()
    {
        const QPixmap icon = iconOfFavourite("messaging_std.g");
        QVERIFY(!icon.isNull());
        QVERIFY(icon.width() <= 19 && icon.height() <= 19);
        QVERIFY(imageBytes(icon) != imageBytes(fallbackIcon()));
        // ".G" is not a resource name: read as a (missing) file.
        QCOMPARE(imageBytes(iconOfFavourite("messaging_std.G")), imageBytes(fallbackIcon()));
    }

    void applicationIdGoesToTheLauncher()
    {
        const QString id = QStringLiteral("{6a1f0c2e-93b4-4d1a-8c77-0e5b2f9d3a11}");
        QCopChannel launcher("/AM/Launcher");
        QSignalSpy spy(&launcher, &QCopChannel::received);
        LogCapture log;
        QVERIFY(launchFavourite(id));
        QCOMPARE(log.finish(), QStringList{"Run app from AppId: " + id});
        QTRY_COMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("launchApp4NoLockCheck"));
        QByteArray data = spy.at(0).at(1).toByteArray();
        QDataStream in(&data, QIODevice::ReadOnly);
        QUuid received;
        in >> received;
        QCOMPARE(in.status(), QDataStream::Ok);
        QVERIFY(in.atEnd());
        QCOMPARE(received, QUuid::fromString(id));
    }

    void shellCommandRunsWithoutBeingWaitedFor()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("started");
        const QString run = "sh -c 'sleep 2; touch " + file + "'";
        QCopChannel launcher("/AM/Launcher");
        QSignalSpy spy(&launcher, &QCopChannel::received);
        LogCapture log;
        QVERIFY(launchFavourite(run));
        // Back before the command has done its work.
        const bool doneBeforeReturn = QFile::exists(file);
        QCOMPARE(log.finish(), QStringList{"Run app from path: " + run});
        QVERIFY(!doneBeforeReturn);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 20000);
        QCOMPARE(spy.size(), 0);
    }

    void emptyRunStartsNothing()
    {
        QCopChannel launcher("/AM/Launcher");
        QSignalSpy spy(&launcher, &QCopChannel::received);
        LogCapture log;
        QVERIFY(!launchFavourite(QString()));
        QVERIFY(log.finish().isEmpty());
        QTest::qWait(100);
        QCOMPARE(spy.size(), 0);
    }
};

ZK_TEST(FavouritesListTest)
#include "favouriteslist_test.moc"
