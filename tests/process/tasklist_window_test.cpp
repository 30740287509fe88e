#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/listrowitem.h"
#include "ezx/zlistbox.h"
#include "platform/devicepath.h"
#include "platform/qcopchannel.h"
#include "process/cmdline.h"
#include "process/procname.h"
#include "process/procwalk.h"
#include "tests/common/ztest.h"
#include "tests/process/appchildren.h"
#include "tests/process/childprocs.h"
#include "tests/process/taskwindow.h"
#include "ui/zkestrel.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QRegularExpression>

#include <memory>

#include <unistd.h>

using namespace zk::proc;

using namespace taskwindow;

namespace {
// A picture file of the given size below the device root; returns its
// phone path.
QString writePicture(const QString& phonePath, int size, QColor colour)
{
    const QString real = devicePath(phonePath);
    QDir().mkpath(QFileInfo(real).path());
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    image.save(real, "PNG");
    return phonePath;
}

// The catalogue keeps a Java name as its UTF-8 bytes, one per character.
QString catalogueForm(const QString& name)
{
    return QString::fromLatin1(name.toUtf8());
}
}

// The task list filled from /proc with real children: which tasks are
// listed, under which name and icon, in which order.
class TaskListWindowTest : public QObject
{
    Q_OBJECT

    ZKestrel* window = nullptr;

private slots:
    void initTestCase() { window = create(); }
    void cleanupTestCase() { destroy(window); }
    void init()
    {
        resetSettings();
        bringBack(window);
    }

    void defaultFilter()
    {
        AppChildGroup apps;
        const pid_t phone = apps.start({"/usr/SYSqtapp/phone/phone"});
        const pid_t book = apps.start({"/usr/SYSqtapp/phonebook/phonebook", "-x"});
        const pid_t copy = apps.start({"/mmc/mmca1/bin/zKestrel2"});
        QVERIFY(phone > 0 && book > 0 && copy > 0);

        window->buildProcList();
        ZListBox* list = window->procListBox;
        QCOMPARE(rowOfPid(list, phone), -1);
        QVERIFY(rowOfPid(list, book) >= 0);
        QCOMPARE(rowText(list, rowOfPid(list, book)), QStringLiteral("phonebook"));
        QVERIFY(rowOfPid(list, copy) >= 0);
        // The phone is found even though it is not listed.
        QCOMPARE(window->pidPhone, static_cast<int>(phone));
        // This program is listed exactly when its application channel is up.
        const int self = rowOfPid(list, static_cast<int>(getpid()));
        QCOMPARE(self >= 0, hasAppWindow(static_cast<int>(getpid())));
        if (self >= 0)
            QCOMPARE(rowText(list, self), QStringLiteral("test_process"));

        gSettings->hideSystemTasks = false;  // ShowAllTask
        window->buildProcList();
        QVERIFY(rowOfPid(list, phone) >= 0);
        QVERIFY(rowOfPid(list, book) >= 0);
        QCOMPARE(rowOfPid(list, copy), -1);
        // Rows come in the reverse of the walk: the later pid is higher up.
        QVERIFY(rowOfPid(list, book) < rowOfPid(list, phone));
    }

    // The window test answers from a copy of the bus's names: a window
    // that came or went just before a refresh, with no turn of the event
    // loop in between, must still count.
    void windowsChangedJustBeforeTheScanCount()
    {
        ChildGroup plain;
        const pid_t task = plain.start({"/usr/SYSqtapp/calendar/calendar"});
        QVERIFY(task > 0);
        ZListBox* list = window->procListBox;
        window->buildProcList();
        QCOMPARE(rowOfPid(list, task), -1);
        for (int round = 0; round < 5; ++round) {
            auto channel = std::make_unique<QCopChannel>("EZX/Application/" + QByteArray::number(task));
            window->buildProcList();
            QVERIFY(rowOfPid(list, task) >= 0);
            QCOMPARE(rowText(list, rowOfPid(list, task)), QStringLiteral("calendar"));
            channel.reset();
            window->buildProcList();
            QCOMPARE(rowOfPid(list, task), -1);
        }
    }

    void tasksWithoutWindow()
    {
        ChildGroup plain;
        const pid_t game = plain.start({"/mmc/mmca1/games/am", "-level", "3"});
        const pid_t daemon = plain.start({"/usr/bin/syncd"});
        QVERIFY(game > 0 && daemon > 0);
        ZListBox* list = window->procListBox;

        window->buildProcList();
        QCOMPARE(rowOfPid(list, game), -1);

        gSettings->showAppNoWindow = true;
        window->buildProcList();
        // Listed although "am" is in the filter list: the filter is for
        // tasks with a window.
        const int row = rowOfPid(list, game);
        QVERIFY(row >= 0);
        QCOMPARE(rowText(list, row), QStringLiteral("am"));
        QVERIFY(samePicture(rowIcon(list, row), builtIn(QStringLiteral("sh.png"))));
        QCOMPARE(rowOfPid(list, daemon), -1);
    }

    void firstPhoneWins()
    {
        AppChildGroup apps;
        const pid_t first = apps.start({"/usr/SYSqtapp/phone/phone"});
        const pid_t second = apps.start({"/usr/SYSqtapp/phone/phone", "-2"});
        QVERIFY(first > 0 && second > 0);
        LogCapture log;
        window->buildProcList();
        const QStringList lines = log.finish();
        QCOMPARE(window->pidPhone, static_cast<int>(std::min(first, second)));
        QCOMPARE(lines.filter(QStringLiteral("pidPhone=")),
                 QStringList{QStringLiteral("pidPhone=%1").arg(std::min(first, second))});
        QCOMPARE(lines.first(), QStringLiteral("Get runing proc"));
        QCOMPARE(lines.last(), QStringLiteral("Get runing proc: End"));
    }

    void onePidOneRow()
    {
        ZListBox* list = window->procListBox;
        list->clear();
        window->addProcItem(4321, QStringLiteral("calc"), false);
        window->addProcItem(4321, QStringLiteral("other"), false);
        window->addProcItem(4322, QStringLiteral("notes"), false);
        QCOMPARE(list->count(), 2);
        QCOMPARE(rowText(list, 0), QStringLiteral("notes"));
        QCOMPARE(rowText(list, 1), QStringLiteral("calc"));
    }

    void registryNamesAndIcons()
    {
        const QString big = writePicture(QStringLiteral("/usr/data_resource/icons/big.png"), 48, Qt::red);
        const QString small = writePicture(QStringLiteral("/usr/data_resource/icons/small.png"), 16, Qt::blue);
        IconCatalogue& icons = gSettings->iconCatalogue;
        icons.insert(QStringLiteral("/usr/SYSqtapp/calc/calc"), {big, QStringLiteral("Calculator")});
        icons.insert(QStringLiteral("/usr/SYSqtapp/calc/calc2"), {small, QStringLiteral("Second")});
        icons.insert(QStringLiteral("/usr/SYSqtapp/notes/notes"), {small, QString()});
        icons.insert(QStringLiteral("/usr/bin/tv"), {big, QStringLiteral("Not tv")});
        icons.insert(QStringLiteral("tv"), {small, QStringLiteral("Television")});
        icons.insert(QStringLiteral("/usr/SYSqtapp/sms/sms"), {QStringLiteral("messaging_std.g"), QStringLiteral("Messages")});
        icons.insert(QStringLiteral("/usr/SYSqtapp/lost/lost"), {QStringLiteral("/nowhere/lost.png"), QString()});

        AppChildGroup apps;
        const pid_t calc = apps.start({"/usr/SYSqtapp/calc/calc"});
        QVERIFY(calc > 0);
        window->buildProcList();
        ZListBox* list = window->procListBox;
        const int calcRow = rowOfPid(list, calc);
        QVERIFY(calcRow >= 0);
        // The first entry in key order that contains the name.
        QCOMPARE(rowText(list, calcRow), QStringLiteral("Calculator"));
        QCOMPARE(rowIcon(list, calcRow).size(), QSize(19, 19));
        QCOMPARE(rowIcon(list, calcRow).toImage().pixelColor(9, 9), QColor(Qt::red));

        list->clear();
        window->addProcItem(501, QStringLiteral("notes"), false);
        window->addProcItem(502, QStringLiteral("tv"), false);
        window->addProcItem(503, QStringLiteral("sms"), false);
        window->addProcItem(504, QStringLiteral("lost"), false);
        window->addProcItem(505, QStringLiteral("v"), false);
        // An entry without a name changes only the icon; 16x16 stays 16x16.
        QCOMPARE(rowText(list, rowOfPid(list, 501)), QStringLiteral("notes"));
        QCOMPARE(rowIcon(list, rowOfPid(list, 501)).size(), QSize(16, 16));
        // Two characters: only an Exec text equal to the name.
        QCOMPARE(rowText(list, rowOfPid(list, 502)), QStringLiteral("Television"));
        const QPixmap resource = rowIcon(list, rowOfPid(list, 503));
        QCOMPARE(rowText(list, rowOfPid(list, 503)), QStringLiteral("Messages"));
        QVERIFY(!resource.isNull());
        QVERIFY(resource.width() <= 19 && resource.height() <= 19);
        QVERIFY(!samePicture(resource, builtIn(QStringLiteral("app.png"))));
        // An icon that does not load, or no entry at all: the program's own.
        QVERIFY(samePicture(rowIcon(list, rowOfPid(list, 504)), builtIn(QStringLiteral("app.png"))));
        QCOMPARE(rowText(list, rowOfPid(list, 505)), QStringLiteral("v"));
        QVERIFY(samePicture(rowIcon(list, rowOfPid(list, 505)), builtIn(QStringLiteral("app.png"))));
    }

    void javaRows()
    {
        ZListBox* list = window->procListBox;
        AppChildGroup apps;
        const pid_t midlet = apps.start({"/usr/SYSjava/kvm", "-launch", "37"});
        QVERIFY(midlet > 0);

        // No folder has the MIDlet's icon and the catalogue has no name.
        LogCapture log;
        window->buildProcList();
        const QStringList lines = log.finish();
        const int row37 = rowOfPid(list, midlet);
        QVERIFY(row37 >= 0);
        QCOMPARE(rowText(list, row37), QStringLiteral("Java ID:'00037'"));
        QVERIFY(samePicture(rowIcon(list, row37), builtIn(QStringLiteral("java.png"))));
        QVERIFY(lines.contains(QStringLiteral("LoadIMG: ") + devicePath(QStringLiteral("/ezxlocal/download/mystuff/.system/java/SystemApps/MIDlet00037/Files/MIDlet-1.png"))));

        // With a name and an icon in the download folder.
        gSettings->javaNames.insert(QStringLiteral("37"), catalogueForm(QString::fromUtf8("Шахматы")));
        writePicture(QStringLiteral("/ezxlocal/download/mystuff/.system/java/DownloadApps/MIDlet00037/Files/MIDlet-1.png"),
                     48, Qt::green);
        window->buildProcList();
        const int named = rowOfPid(list, midlet);
        QCOMPARE(rowText(list, named), QString::fromUtf8("Шахматы"));
        QCOMPARE(rowIcon(list, named).size(), QSize(19, 19));
        QCOMPARE(rowIcon(list, named).toImage().pixelColor(9, 9), QColor(Qt::green));

        // The memory card's folder comes first.
        gSettings->javaFolderInSD = QStringLiteral("java");
        writePicture(QStringLiteral("/mmc/mmca1/.system/java/DownloadApps/MIDlet00037/Files/MIDlet-1.png"),
                     16, Qt::yellow);
        window->buildProcList();
        QCOMPARE(rowIcon(list, rowOfPid(list, midlet)).toImage().pixelColor(8, 8), QColor(Qt::yellow));

        // Five digits or more are used as they are, named by their value.
        gSettings->javaNames.insert(QStringLiteral("123456"), QStringLiteral("Long"));
        list->clear();
        window->addProcItem(601, QStringLiteral("/usr/SYSjava/kvm -launch 123456 -x"), false);
        window->addProcItem(602, QStringLiteral("/usr/SYSjava/kvm -run"), false);
        QCOMPARE(rowText(list, rowOfPid(list, 601)), QStringLiteral("Long"));
        // Without "-launch": the Java icon and no text line at all.
        const int bare = rowOfPid(list, 602);
        QCOMPARE(row(list, bare)->subItemCount(1), 0);
        QVERIFY(samePicture(rowIcon(list, bare), builtIn(QStringLiteral("java.png"))));
    }

    // Each task becomes its row as the walk accepts it: the rows' lines
    // stand between the scanner's first and last line, in walk order, with
    // the phone's line where the walk met the phone.
    void rowLinesComeDuringTheWalk()
    {
        AppChildGroup apps;
        const pid_t phone = apps.start({"/usr/SYSqtapp/phone/phone"});
        const pid_t first = apps.start({"/usr/SYSjava/kvm", "-launch", "37"});
        const pid_t second = apps.start({"/usr/SYSjava/kvm", "-launch", "41"});
        QVERIFY(phone > 0 && first > 0 && second > 0);
        const QList<int> walk = candidatePids();
        // In walk order: the map's keys are the places in the walk.
        const QMap<qsizetype, QString> expected{{walk.indexOf(phone), QStringLiteral("pidPhone=%1").arg(phone)},
                                                {walk.indexOf(first), QStringLiteral("LoadIMG: MIDlet00037")},
                                                {walk.indexOf(second), QStringLiteral("LoadIMG: MIDlet00041")}};
        LogCapture log;
        window->buildProcList();
        QStringList lines = log.finish();
        // A MIDlet's line names its folder (whichever of its places has the icon).
        lines.replaceInStrings(QRegularExpression(QStringLiteral("^(LoadIMG: ).*/(MIDlet\\d+)/.*")),
                               QStringLiteral("\\1\\2"));
        QCOMPARE(lines, QStringList{QStringLiteral("Get runing proc")} + expected.values()
                            + QStringList{QStringLiteral("Get runing proc: End")});
    }

    // With nothing to list, the window's log holds its own lines and the
    // scanner's, and nothing of the toolkit's.
    void emptyListLogsOnlyTheWindowsLines()
    {
        // The test program is the only task with a window here: hide it.
        gSettings->processFilter = QLatin1Char('!') + getProcName(readCmdline(static_cast<int>(getpid())).trimmed())
                                   + QLatin1Char('!');
        LogCapture log;
        window->showList();
        const QStringList lines = log.finish();
        QCOMPARE(window->procListBox->count(), 0);
        QCOMPARE(lines, (QStringList{QStringLiteral("showList"), QStringLiteral("Get runing proc"),
                                     QStringLiteral("Get runing proc: End"), QStringLiteral("showList: end")}));
    }

    void taskTabPicture()
    {
        gSettings->iconCatalogue.insert(QStringLiteral("/usr/SYSqtapp/sms/sms"),
                                        {QStringLiteral("messaging_std.g"), QStringLiteral("Messages")});
        AppChildGroup apps;
        QVERIFY(apps.start({"/usr/SYSqtapp/sms/sms"}) > 0);
        QVERIFY(apps.start({"/usr/SYSjava/kvm", "-launch", "12"}) > 0);
        QVERIFY(apps.start({"/mmc/mmca1/apps/reader/reader"}) > 0);
        ChildGroup plain;
        QVERIFY(plain.start({"/mmc/mmca1/bin/player", "song.mp3"}) > 0);
        gSettings->showAppNoWindow = true;
        window->showList();
        QVERIFY(window->procListBox->count() >= 4);
        const QString path = ztest::saveShot(window, QStringLiteral("tasklist_rows"));
        QVERIFY(QFileInfo::exists(path));
    }
};
ZK_TEST(TaskListWindowTest)
#include "tasklist_window_test.moc"
