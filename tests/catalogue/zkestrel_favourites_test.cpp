// The favourites tab of the main window: its rows, starting a favourite,
// Hide All, and the Add, Delete and Rename entries of its menu.
#include "catalogue/favourites.h"
#include "catalogue/registry.h"
#include "catalogue/zaddappdlg.h"
#include "core/globals.h"
#include "ezx/languageresources.h"
#include "ezx/listrowitem.h"
#include "ezx/zapplication.h"
#include "ezx/zlistbox.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zsinglecapturedlg.h"
#include "ezx/zsoftkey.h"
#include "platform/qcopchannel.h"
#include "tests/catalogue/favouritefiles.h"
#include "tests/common/logcapture.h"
#include "tests/common/ztest.h"
#include "tests/ui/popupdriver.h"
#include "ui/zkestrel.h"

#include <QDataStream>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>

using namespace favfiles;

namespace {

const QString clockId = QStringLiteral("{0c10c000-0000-4000-8000-00000000c10c}");
const QString notesId = QStringLiteral("{0e07e500-0000-4000-8000-0000000e07e5}");

QStringList rowTexts(const ZListBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        const auto* row = dynamic_cast<const ZListRowItem*>(list->item(i));
        texts << (list->item(i)->isSeparator() ? list->item(i)->separatorText()
                  : row                        ? row->subItem(1, 0)
                                               : QStringLiteral("<not a row>"));
    }
    return texts;
}

QUuid uuidIn(QByteArray data)
{
    QDataStream in(&data, QIODevice::ReadOnly);
    QUuid uuid;
    in >> uuid;
    return in.status() == QDataStream::Ok && in.atEnd() ? uuid : QUuid();
}

// Plays the user of the add dialog once it is up.
void whenAddDialogShows(const std::function<void(ZAddAppDlg*)>& act)
{
    auto* poll = new QTimer;
    poll->setInterval(1);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dlg = qobject_cast<ZAddAppDlg*>(w);
            if (dlg && dlg->isVisible() && dlg->inLoop) {
                poll->stop();
                poll->deleteLater();
                act(dlg);
                return;
            }
        }
    });
    poll->start();
}

}  // namespace

class ZKestrelFavouritesTest : public QObject
{
    Q_OBJECT

    ZKestrel* m_window = nullptr;

    ZListBox* list() const { return m_window->appListBox; }

    // The favourites tab, built as the user first opens it.
    void openFavourites()
    {
        m_window->tabWidget->setCurrentPage(1);
        QCOMPARE(m_window->tabWidget->currentPageIndex(), 1);
        QVERIFY(list()->count() >= 2);
    }

private slots:
    void initTestCase()
    {
        gApp = qobject_cast<ZApplication*>(qApp);
        if (!gApp)
            installLanguageResources(qApp);
        gSettings = new ZSettings();
    }

    void cleanupTestCase()
    {
        delete gSettings;
        gSettings = nullptr;
    }

    void init()
    {
        clearAll();
        putConfig("[App]\n"
                  "name0 = Clock\nrun0 = "
                  + clockId.toLatin1() + "\nicon0 = clock_std.g\n"
                                         "name1 =\nrun1 = /stale\n"
                                         "name5 = Notes\nrun5 = "
                  + notesId.toLatin1() + "\nicon5 = /pics/notes.png\n"
                                         "name7 = Nothing to run\nicon7 = /pics/missing.png\n");
        putPicture("/pics/notes.png", 48, 48, Qt::darkYellow);
        // Resident mode: leaving hides the window, which a test can see.
        isDaemon = true;
        gSettings->sendGoToIdle = false;
        gSettings->sendRaisePhone = true;
        m_window = new ZKestrel();
        gMainWindow = m_window;
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        gMainWindow = nullptr;
        isDaemon = false;
    }

    void tabListsTheFavouritesInSlotOrder()
    {
        QCOMPARE(list()->count(), 0);
        LogCapture log;
        openFavourites();
        QVERIFY(log.finish().contains(QStringLiteral("buildAppList: end")));
        QCOMPARE(rowTexts(list()), QStringList({"Hide All", "-", "Clock", "Notes", "Nothing to run"}));
        QCOMPARE(dynamic_cast<ZListRowItem*>(list()->item(3))->getSlot(), 5);
        QCOMPARE(dynamic_cast<ZListRowItem*>(list()->item(3))->pixmap(0).size(), QSize(19, 19));
        list()->setCurrentItem(2);
        ztest::saveShot(m_window, QStringLiteral("favourites_tab"));

        // Coming back to the tab does not read the file again.
        putConfig("[App]\nname3 = Later\n");
        m_window->tabWidget->setCurrentPage(0);
        m_window->tabWidget->setCurrentPage(1);
        QCOMPARE(list()->count(), 5);
    }

    void deleteEmptiesTheSlotOfTheCurrentRow()
    {
        openFavourites();
        list()->setCurrentItem(3);
        LogCapture log;
        m_window->menu_appDel();
        QVERIFY(log.finish().contains(QStringLiteral("Del index = 5")));
        QCOMPARE(appEntry("name5"), QString());
        QCOMPARE(appEntry("run5"), QString());
        QCOMPARE(appEntry("icon5"), QString());
        QCOMPARE(appEntry("name0"), QStringLiteral("Clock"));
        QCOMPARE(rowTexts(list()), QStringList({"Hide All", "-", "Clock", "Nothing to run"}));
    }

    void deleteAndRenameLeaveTheFixedRowsAlone()
    {
        openFavourites();
        const QByteArray before = configText();
        PopupDriver driver;
        LogCapture log;
        for (int row : {0, 1, -1}) {
            list()->setCurrentItem(row);
            m_window->menu_appDel();
            m_window->menu_appRen();
        }
        QVERIFY(log.finish().isEmpty());
        QCOMPARE(driver.seen(), 0);
        QCOMPARE(configText(), before);
        QCOMPARE(list()->count(), 5);
    }

    void renameWritesTheNameAsTyped()
    {
        openFavourites();
        list()->setCurrentItem(3);
        PopupDriver driver;
        QString title, shownName;
        driver.then([&](ZPopup* popup) {
            title = popup->title();
            auto* edit = qobject_cast<ZSingleCaptureDlg*>(popup)->getLineEdit();
            shownName = edit->text();
            edit->setText(QStringLiteral("My notes"));
            PopupDriver::confirm(popup);
        });
        LogCapture log;
        m_window->menu_appRen();
        QVERIFY(log.finish().contains(QStringLiteral("Ren index = 5")));
        QCOMPARE(driver.seen(), 1);
        QCOMPARE(title, QStringLiteral("Rename"));
        QCOMPARE(shownName, QStringLiteral("Notes"));
        QCOMPARE(appEntry("name5"), QStringLiteral("My notes"));
        QCOMPARE(appEntry("run5"), notesId);
        QCOMPARE(rowTexts(list()), QStringList({"Hide All", "-", "Clock", "My notes", "Nothing to run"}));
    }

    void renameToEmptyFreesTheSlotButKeepsItsValues()
    {
        openFavourites();
        list()->setCurrentItem(2);
        PopupDriver driver;
        driver.then([](ZPopup* popup) {
            qobject_cast<ZSingleCaptureDlg*>(popup)->getLineEdit()->clear();
            PopupDriver::confirm(popup);
        });
        m_window->menu_appRen();
        QCOMPARE(rowTexts(list()), QStringList({"Hide All", "-", "Notes", "Nothing to run"}));
        QCOMPARE(appEntry("name0"), QString());
        QCOMPARE(appEntry("run0"), clockId);
        QCOMPARE(appEntry("icon0"), QStringLiteral("clock_std.g"));
    }

    void renameCancelledWritesNothing()
    {
        openFavourites();
        list()->setCurrentItem(2);
        const QByteArray before = configText();
        PopupDriver driver;
        driver.then([](ZPopup* popup) {
            qobject_cast<ZSingleCaptureDlg*>(popup)->getLineEdit()->setText(QStringLiteral("Other"));
            PopupDriver::cancel(popup);
        });
        m_window->menu_appRen();
        QCOMPARE(driver.seen(), 1);
        QCOMPARE(configText(), before);
        QCOMPARE(rowTexts(list()).at(2), QStringLiteral("Clock"));
    }

    void applicationIdGoesToTheLauncherThenTheWindowLeaves()
    {
        openFavourites();
        QCopChannel launcher("/AM/Launcher");
        QSignalSpy spy(&launcher, &QCopChannel::received);
        LogCapture log;
        emit list()->selected(3);
        const QStringList lines = log.finish();
        QVERIFY(lines.contains("Run app from AppId: " + notesId));
        QVERIFY(lines.contains(QStringLiteral("Quit:isDaemon")));
        QVERIFY(m_window->isHidden());
        QTRY_COMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("launchApp4NoLockCheck"));
        QCOMPARE(uuidIn(spy.at(0).at(1).toByteArray()), QUuid::fromString(notesId));
    }

    void shellFavouriteIsNotWaitedFor()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("started");
        const QString run = "sh -c 'sleep 2; touch " + file + "'";
        QVERIFY(writeFavourite(0, "Script", run, QString()));
        openFavourites();
        m_window->lbAppSel(2);
        const bool doneBeforeReturn = QFile::exists(file);
        QVERIFY(!doneBeforeReturn);
        QVERIFY(m_window->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 20000);
    }

    void nothingToRunKeepsTheWindow()
    {
        openFavourites();
        QCopChannel launcher("/AM/Launcher");
        QSignalSpy spy(&launcher, &QCopChannel::received);
        LogCapture log;
        for (int row : {4, 1, -1, 99})
            m_window->lbAppSel(row);
        QVERIFY(log.finish().isEmpty());
        QVERIFY(m_window->isVisible());
        QTest::qWait(50);
        QCOMPARE(spy.size(), 0);
    }

    void hideAllHidesEveryApplicationThenLeaves()
    {
        gSettings->sendGoToIdle = true;
        openFavourites();
        QCopChannel system("EZX/System");
        QCopChannel phone("EZX/Application/" + QByteArray::number(m_window->pidPhone));
        QSignalSpy toSystem(&system, &QCopChannel::received);
        QSignalSpy toPhone(&phone, &QCopChannel::received);
        LogCapture log;
        m_window->lbAppSel(0);
        const QStringList lines = log.finish();
        const qsizetype hidden = lines.indexOf(QStringLiteral("Miniumized all app"));
        QVERIFY2(hidden >= 0, qPrintable(lines.join('|')));
        QVERIFY(lines.indexOf(QStringLiteral("Quit:isDaemon")) > hidden);
        QVERIFY(m_window->isHidden());
        QTRY_COMPARE(toSystem.size(), 1);
        QCOMPARE(toSystem.at(0).at(0).toByteArray(), QByteArray("ReturnToIdle(int)"));
        QTRY_COMPARE(toPhone.size(), 1);
        QCOMPARE(toPhone.at(0).at(0).toByteArray(), QByteArray("raise()"));
    }

    void addRebuildsTheListOnlyWhenSomethingWasAdded()
    {
        putPhoneFile(systemRegistryPath, "[cam]\nName = Camera\nAppID = {ca}\nIcon = camera_std.g\n");
        openFavourites();
        const ZListItem* firstFavourite = list()->item(2);

        whenAddDialogShows([](ZAddAppDlg* dlg) { dlg->softKey()->click(ZSoftKey::Right); });
        m_window->menu_appAdd();
        QCOMPARE(list()->item(2), firstFavourite);  // not rebuilt
        QCOMPARE(list()->count(), 5);

        whenAddDialogShows([](ZAddAppDlg* dlg) { dlg->softKey()->click(ZSoftKey::Left); });
        m_window->menu_appAdd();
        QCOMPARE(appEntry("name1"), QStringLiteral("Camera"));
        QCOMPARE(appEntry("run1"), QStringLiteral("{ca}"));
        QCOMPARE(rowTexts(list()), QStringList({"Hide All", "-", "Clock", "Camera", "Notes", "Nothing to run"}));
    }

    void launchingInWindowModeEndsTheProgram()
    {
        isDaemon = false;
        openFavourites();
        QTimer::singleShot(0, m_window, [this] { m_window->lbAppSel(2); });
        QTimer bound;
        bound.setSingleShot(true);
        connect(&bound, &QTimer::timeout, [] { QCoreApplication::exit(7); });
        bound.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

ZK_TEST(ZKestrelFavouritesTest)
#include "zkestrel_favourites_test.moc"
