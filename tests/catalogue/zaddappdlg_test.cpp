// The add-application dialog: what it offers from the phone's registries,
// and what it writes into the favourites.
#include "catalogue/favourites.h"
#include "catalogue/registry.h"
#include "catalogue/zaddappdlg.h"
#include "ezx/zlistbox.h"
#include "ezx/zsettingitem.h"
#include "ezx/zsoftkey.h"
#include "tests/catalogue/favouritefiles.h"
#include "tests/common/logcapture.h"
#include "tests/common/ztest.h"
#include "tests/ui/popupdriver.h"

#include <QLabel>
#include <QTimer>

#include <functional>

using namespace favfiles;

namespace {

const QString appDir = QStringLiteral(ZK_BIN_DIR "/");

// What one row of the dialog shows and carries.
struct Row
{
    QString name;
    int number = -1;
    QPixmap picture;
};

QList<Row> rowsOf(const ZAddAppDlg& dlg)
{
    QList<Row> rows;
    for (int i = 0; i < dlg.regListBox->count(); ++i) {
        const auto* item = dynamic_cast<const ZSettingItem*>(dlg.regListBox->item(i));
        rows.append(item ? Row{item->subItem(1, 0), item->getReservedData(), item->pixmap(0)} : Row{});
    }
    return rows;
}

QStringList rowNames(const ZAddAppDlg& dlg)
{
    QStringList names;
    for (const Row& row : rowsOf(dlg))
        names << row.name;
    return names;
}

int rowNamed(const ZAddAppDlg& dlg, const QString& name)
{
    return static_cast<int>(rowNames(dlg).indexOf(name));
}

Row rowOf(const ZAddAppDlg& dlg, const QString& name)
{
    return rowsOf(dlg).value(rowNamed(dlg, name));
}

// The record behind the first row showing this name.
RegApp recordOf(const ZAddAppDlg& dlg, const QString& name)
{
    return dlg.regApps.value(rowOf(dlg, name).number);
}

// Runs the dialog; `during` acts from inside its loop as the user would.
int runWith(ZAddAppDlg& dlg, const std::function<void()>& during)
{
    QTimer::singleShot(0, &dlg, during);
    return dlg.exec();
}

const QByteArray clockGroup = "[clock]\nName = Clock\nAppID = {00000000-0000-0000-0000-00000000c10c}\n"
                              "Icon = clock_std.g\nDirectory = /usr/SYSqtapp/clock\n";

}  // namespace

class ZAddAppDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { clearAll(); }

    void offersEveryGroupWithAnIdAndAName()
    {
        putPhoneFile(cardRegistryPath,
                     "[card]\nName = Card game\nAppID = {10000000-0000-0000-0000-000000000001}\n"
                     "JavaId = 7\nIcon = /pics/game.png\n"
                         + clockGroup);
        putPhoneFile(systemRegistryPath,
                     "[noname]\nAppID = {20000000-0000-0000-0000-000000000002}\nIcon = a.g\n"
                     "[noid]\nName = No id\nIcon = b.g\n"
                         + clockGroup);
        putPhoneFile(installedRegistryPath,
                     "[inst]\nName = Installed\nAppID = {30000000-0000-0000-0000-000000000003}\n");
        LogCapture log;
        ZAddAppDlg dlg;
        const QStringList lines = log.finish();
        QCOMPARE(lines, QStringList({"ZAddAppDlg: Start", "ZAddAppDlg: Build app list", "ZAddAppDlg: End"}));

        // Java included, the clock once per registry, the incomplete groups left out.
        QStringList names = rowNames(dlg);
        names.sort();
        QCOMPARE(names, QStringList({"Card game", "Clock", "Clock", "Installed"}));
        QCOMPARE(dlg.regApps.size(), 4);
        QCOMPARE(recordOf(dlg, "Installed").run, QStringLiteral("{30000000-0000-0000-0000-000000000003}"));
        QCOMPARE(dlg.mainWidgetTitle(), QStringLiteral("Add"));
        QCOMPARE(dlg.softKey()->text(ZSoftKey::Left), QStringLiteral("Add"));
        QCOMPARE(dlg.softKey()->text(ZSoftKey::Right), QStringLiteral("Cancel"));
    }

    // Whatever the dialog stores must start through the application
    // manager: a registry "AppID" that would read as a command line (a
    // memory card can carry any registry) is never offered.
    void anAppIdThatIsACommandLineIsNotOffered()
    {
        putPhoneFile(cardRegistryPath,
                     "[evil]\nName = Free game\nAppID = touch /tmp/zk-owned; echo\nIcon = a.g\n" + clockGroup);
        LogCapture log;
        ZAddAppDlg dlg;
        const QStringList lines = log.finish();
        QCOMPARE(rowNames(dlg), QStringList({"Clock"}));
        QVERIFY(lines.contains("ZAddAppDlg: AppID is not an application id, skipped: evil"));
        for (const RegApp& app : dlg.regApps)
            QCOMPARE(launchKindOf(app.run), LaunchKind::ApplicationId);
    }

    void iconTextsAreCompletedWithTheApplicationFolder()
    {
        putPicture("/usr/SYSqtapp/rel/rel.png", 40, 40);
        putPicture("/pics/abs.png", 12, 12);
        putPhoneFile(systemRegistryPath,
                     "[rel]\nName = Relative\nAppID = {1}\nIcon = rel.png\nDirectory = /usr/SYSqtapp/rel\n"
                     "[big]\nName = Big only\nAppID = {2}\nBigIcon = rel.png\nDirectory = /usr/SYSqtapp/rel\n"
                     "[abs]\nName = Absolute\nAppID = {3}\nIcon = /pics/abs.png\nDirectory = /elsewhere\n"
                     "[res]\nName = Resource\nAppID = {4}\nIcon = calc.g.png\nDirectory = /usr/x\n"
                     "[none]\nName = No icon\nAppID = {5}\nDirectory = /usr/SYSqtapp/none\n");
        ZAddAppDlg dlg;
        QCOMPARE(recordOf(dlg, "Relative").icon, QStringLiteral("/usr/SYSqtapp/rel/rel.png"));
        QCOMPARE(recordOf(dlg, "Big only").icon, QStringLiteral("/usr/SYSqtapp/rel/rel.png"));
        QCOMPARE(recordOf(dlg, "Absolute").icon, QStringLiteral("/pics/abs.png"));
        QCOMPARE(recordOf(dlg, "Resource").icon, QStringLiteral("calc.g.png"));
        QCOMPARE(recordOf(dlg, "No icon").icon, QStringLiteral("/usr/SYSqtapp/none/"));

        // Pictures: shrunk when large, kept when small, the run picture when missing.
        QCOMPARE(rowOf(dlg, "Relative").picture.size(), QSize(19, 19));
        QCOMPARE(rowOf(dlg, "Absolute").picture.size(), QSize(12, 12));
        QCOMPARE(imageBytes(rowOf(dlg, "No icon").picture),
                 imageBytes(QPixmap(appDir + "/img/run_app.png")));
    }

    void addWritesTheChosenAppIntoTheLowestFreeSlot()
    {
        putPhoneFile(systemRegistryPath, clockGroup + "[notes]\nName = Notes\nAppID = {00000000-0000-0000-0000-0000000000n0}\nIcon = notes_std.g\n");
        putConfig("[App]\nname0 = A\nname1 = B\nname2 =\nrun2 = /old/run\nicon2 = /old.png\nname3 = D\n");
        ZAddAppDlg dlg;
        LogCapture log;
        const int r = runWith(dlg, [&] {
            dlg.regListBox->setCurrentItem(rowNamed(dlg, "Clock"));
            dlg.softKey()->click(ZSoftKey::Left);
        });
        QCOMPARE(log.finish(), QStringList({"ZAddAppDlg: OK: Add app", "ZAddAppDlg: OK:  End"}));
        QCOMPARE(r, 1);
        QCOMPARE(appEntry("name2"), QStringLiteral("Clock"));
        QCOMPARE(appEntry("run2"), QStringLiteral("{00000000-0000-0000-0000-00000000c10c}"));
        QCOMPARE(appEntry("icon2"), QStringLiteral("clock_std.g"));
        QCOMPARE(appEntry("name3"), QStringLiteral("D"));
        QCOMPARE(appEntry("name4"), QStringLiteral("<absent>"));
    }

    void everySlotTakenTellsTheUserAndWritesNothing()
    {
        putPhoneFile(systemRegistryPath, clockGroup);
        putConfig(allSlotsUsed());
        const QByteArray before = configText();
        ZAddAppDlg dlg;
        PopupDriver driver;
        QString notice;
        driver.then([&](ZPopup* popup) {
            for (QLabel* label : popup->findChildren<QLabel*>())
                notice += label->text() + QLatin1Char('|');
            ztest::saveShot(popup->window(), QStringLiteral("favourites_all_slots_used"));
            PopupDriver::confirm(popup);
        });
        LogCapture log;
        const int r = runWith(dlg, [&] { dlg.softKey()->click(ZSoftKey::Left); });
        // The notice's own line, and the dialog's last line as ever.
        QCOMPARE(log.finish(), QStringList({"ZAddAppDlg: OK: Add app", "ZAddAppDlg: OK: all favourite slots are used",
                                            "ZAddAppDlg: OK:  End"}));
        QCOMPARE(r, 0);
        QCOMPARE(driver.seen(), 1);
        QVERIFY2(notice.contains(QLatin1String("All 20 favourites are in use")), qPrintable(notice));
        QCOMPARE(configText(), before);
    }

    void addWithoutARowKeepsTheDialogOpenAndCancelWritesNothing()
    {
        putPhoneFile(systemRegistryPath, clockGroup);
        ZAddAppDlg dlg;
        bool stillOpen = false;
        const int r = runWith(dlg, [&] {
            dlg.regListBox->setCurrentItem(-1);
            dlg.softKey()->click(ZSoftKey::Left);
            stillOpen = dlg.isVisible();
            dlg.regListBox->setCurrentItem(0);
            dlg.softKey()->click(ZSoftKey::Right);
        });
        QVERIFY(stillOpen);
        QCOMPARE(r, 0);
        QVERIFY(!QFile::exists(configFilePath()));
    }

    void noRegistriesOfferNothingAndAddDoesNothing()
    {
        ZAddAppDlg dlg;
        QCOMPARE(dlg.regListBox->count(), 0);
        bool stillOpen = false;
        const int r = runWith(dlg, [&] {
            dlg.softKey()->click(ZSoftKey::Left);
            stillOpen = dlg.isVisible();
            dlg.softKey()->click(ZSoftKey::Right);
        });
        QVERIFY(stillOpen);
        QCOMPARE(r, 0);
        QVERIFY(!QFile::exists(configFilePath()));
    }

    void rowNumbersContinueAcrossDialogs()
    {
        putPhoneFile(systemRegistryPath, clockGroup + "[b]\nName = B\nAppID = {b}\n[c]\nName = C\nAppID = {c}\n");
        const int start = regAppCounter;
        QList<int> first;
        {
            ZAddAppDlg dlg;
            first = dlg.regApps.keys();
        }
        ZAddAppDlg second;
        QCOMPARE(first, QList<int>({start, start + 1, start + 2}));
        QCOMPARE(second.regApps.keys(), QList<int>({start + 3, start + 4, start + 5}));
        QCOMPARE(regAppCounter, start + 6);
        // Each row carries its number, which finds its own record.
        QList<int> numbers;
        for (const Row& row : rowsOf(second)) {
            numbers << row.number;
            QCOMPARE(second.regApps.value(row.number).name, row.name);
        }
        std::sort(numbers.begin(), numbers.end());
        QCOMPARE(numbers, second.regApps.keys());
    }

    void screenshotWithADozenApplications()
    {
        const char* names[] = {"Messaging", "Browser", "Camera", "Calendar", "Contacts", "Music",
                               "Video", "Radio", "Gallery", "Notes", "Alarm", "Calculator"};
        const char* icons[] = {"messaging_std.g", "browser_std.g", "camera_std.g", "calendar_std.g",
                               "contacts_std.g", "music_std.g", "video_std.g", "radio_std.g",
                               "gallery_std.g", "notes_std.g", "alarm_std.g", "calculator_std.g"};
        QByteArray text;
        for (int i = 0; i < 12; ++i)
            text += "[app" + QByteArray::number(i) + "]\nName = " + names[i] + "\nAppID = {" + QByteArray::number(i) + "}\nIcon = " + icons[i] + "\n";
        putPhoneFile(systemRegistryPath, text);
        ZAddAppDlg dlg;
        QCOMPARE(dlg.regListBox->count(), 12);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        ztest::saveShot(&dlg, QStringLiteral("favourites_add_dialog"));
    }
};

ZK_TEST(ZAddAppDlgTest)
#include "zaddappdlg_test.moc"
