// The favourites' storage in the configuration file: slots, free slots,
// writing, deleting, renaming, and what a "run" value launches.
#include "catalogue/favourites.h"
#include "core/zsettings.h"
#include "platform/devicepath.h"
#include "tests/catalogue/favouritefiles.h"
#include "tests/common/logcapture.h"
#include "tests/common/ztest.h"

#include <QFile>

using namespace favfiles;

namespace {

QList<int> slotsOf(const QList<Favourite>& list)
{
    QList<int> out;
    for (const Favourite& f : list)
        out.append(f.slot);
    return out;
}

}  // namespace

class FavouritesStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(configFilePath()); }

    void usedSlotsAreReadInSlotOrderWithoutCompaction()
    {
        putConfig("[General]\nname3 = not a favourite\n"
                  "[App]\n"
                  "name5 = Five\nrun5 = {00000000-0000-0000-0000-000000000005}\nicon5 = five.g\n"
                  "name1 =\nrun1 = /stale/run\nicon1 = /stale.png\n"
                  "name0 = Zero\nrun0 = /bin/zero\n"
                  "name19 = Last\n"
                  "name20 = Beyond the slots\n");
        const QList<Favourite> list = readFavourites();
        QCOMPARE(slotsOf(list), QList<int>({0, 5, 19}));
        QCOMPARE(list[0].name, QStringLiteral("Zero"));
        QCOMPARE(list[0].run, QStringLiteral("/bin/zero"));
        QVERIFY(list[0].icon.isEmpty());
        QCOMPARE(list[1].name, QStringLiteral("Five"));
        QCOMPARE(list[1].run, QStringLiteral("{00000000-0000-0000-0000-000000000005}"));
        QCOMPARE(list[1].icon, QStringLiteral("five.g"));
        QVERIFY(list[2].run.isEmpty());
    }

    void missingFileHasNoFavouritesAndEveryFreeSlot()
    {
        QVERIFY(readFavourites().isEmpty());
        QCOMPARE(lowestFreeSlot(), 0);
        QVERIFY(favouriteRun(3).isEmpty());
        QVERIFY(!QFile::exists(configFilePath()));
    }

    void lowestFreeSlotSkipsUsedOnesAndIgnoresStaleValues()
    {
        putConfig("[App]\nname0 = A\nname1 = B\nname2 =\nrun2 = old\nicon2 = old.png\nname3 = D\n");
        QCOMPARE(lowestFreeSlot(), 2);
        putConfig(allSlotsUsed());
        QCOMPARE(lowestFreeSlot(), -1);
    }

    void addingFillsTheLowestFreeSlotInKeyOrder()
    {
        putConfig("[App]\nname0 = A\nname1 = B\nrun2 = stale run\nicon2 = stale.png\nname3 = D\n");
        QCOMPARE(addFavourite("Clock", "{11111111-2222-3333-4444-555555555555}", "clock.g"), 2);
        QCOMPARE(appEntry("name2"), QStringLiteral("Clock"));
        QCOMPARE(appEntry("run2"), QStringLiteral("{11111111-2222-3333-4444-555555555555}"));
        QCOMPARE(appEntry("icon2"), QStringLiteral("clock.g"));
        QCOMPARE(appEntry("name3"), QStringLiteral("D"));

        // A fresh slot gets its keys written name, run, icon.
        QCOMPARE(addFavourite("Notes", "/bin/notes", "/img/notes.png"), 4);
        QFile f(configFilePath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        const qsizetype name = text.indexOf("name4"), run = text.indexOf("run4"), icon = text.indexOf("icon4");
        QVERIFY(name >= 0 && run > name && icon > run);
    }

    void addingWithEverySlotUsedWritesNothing()
    {
        putConfig(allSlotsUsed());
        QFile before(configFilePath());
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray text = before.readAll();
        before.close();

        LogCapture log;
        QCOMPARE(addFavourite("More", "{1}", "x.png"), -1);
        QVERIFY(!log.finish().isEmpty());
        QFile after(configFilePath());
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), text);
    }

    void deleteEmptiesAllThreeKeysOfThatSlotOnly()
    {
        putConfig("[App]\nname0 = Zero\nrun0 = /bin/zero\nicon0 = z.png\n"
                  "name5 = Five\nrun5 = /bin/five\nicon5 = f.png\n");
        QVERIFY(deleteFavourite(5));
        QCOMPARE(appEntry("name5"), QString());
        QCOMPARE(appEntry("run5"), QString());
        QCOMPARE(appEntry("icon5"), QString());
        QCOMPARE(slotsOf(readFavourites()), QList<int>({0}));
        QCOMPARE(appEntry("run0"), QStringLiteral("/bin/zero"));
    }

    void renameChangesTheNameOnlyAsTyped()
    {
        putConfig("[App]\nname0 = A\nname1 = B\nname2 = Old\nrun2 = /bin/two\nicon2 = two.png\n");
        QVERIFY(renameFavourite(2, "New name"));
        QCOMPARE(appEntry("name2"), QStringLiteral("New name"));
        QCOMPARE(appEntry("run2"), QStringLiteral("/bin/two"));
        // Blanks are part of a name: one of blanks only keeps its slot.
        QVERIFY(renameFavourite(2, "  Spaced  "));
        QCOMPARE(readFavourites().value(2).name, QStringLiteral("  Spaced  "));
        QVERIFY(renameFavourite(2, "   "));
        QCOMPARE(readFavourites().value(2).name, QStringLiteral("   "));
        QCOMPARE(addFavourite("Next", "{00000000-0000-0000-0000-000000000001}", ""), 3);
        QCOMPARE(appEntry("run2"), QStringLiteral("/bin/two"));

        // An empty name frees the slot; run and icon stay until it is reused.
        QVERIFY(renameFavourite(2, QString()));
        QCOMPARE(slotsOf(readFavourites()), QList<int>({0, 1, 3}));
        QCOMPARE(appEntry("run2"), QStringLiteral("/bin/two"));
        QCOMPARE(appEntry("icon2"), QStringLiteral("two.png"));
        QCOMPARE(lowestFreeSlot(), 2);
    }

    void slotsOutOfRangeAreRefusedWithALogLine()
    {
        putConfig("[App]\nname0 = Zero\n");
        LogCapture log;
        QVERIFY(!writeFavourite(20, "X", "Y", "Z"));
        QVERIFY(!writeFavourite(-1, "X", "Y", "Z"));
        QVERIFY(!deleteFavourite(20));
        QVERIFY(!renameFavourite(-3, "X"));
        QVERIFY(favouriteRun(99).isEmpty());
        QCOMPARE(log.finish().size(), 5);
        QCOMPARE(appEntry("name20"), QStringLiteral("<absent>"));
        QCOMPARE(appEntry("name-1"), QStringLiteral("<absent>"));
        QCOMPARE(slotsOf(readFavourites()), QList<int>({0}));
    }

    void aValueWithALineBreakCannotCreateAnotherSlot()
    {
        QVERIFY(writeFavourite(0, "Evil\nname1 = Injected", "/bin/x\n[Other]", "i.png"));
        QCOMPARE(slotsOf(readFavourites()), QList<int>({0}));
        QCOMPARE(appEntry("name0"), QStringLiteral("Evil\nname1 = Injected"));
        QCOMPARE(favouriteRun(0), QStringLiteral("/bin/x\n[Other]"));
    }

    void launchKindFollowsTheRunValue()
    {
        QCOMPARE(launchKindOf(QString()), LaunchKind::Nothing);
        QCOMPARE(launchKindOf("{5f8c3b1e-0000-4000-8000-000000000001}"), LaunchKind::ApplicationId);
        QCOMPARE(launchKindOf("not-a-uuid}"), LaunchKind::ApplicationId);
        QCOMPARE(launchKindOf("/usr/bin/start.sh --now"), LaunchKind::Shell);
        QCOMPARE(launchKindOf("{open brace only"), LaunchKind::Shell);
    }
};

ZK_TEST(FavouritesStoreTest)
#include "favourites_test.moc"
