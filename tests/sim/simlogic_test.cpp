// The simulated phone's own logic: demo options, bus names, registry lookup,
// launch commands and the sample storage's consistency.
#include "platform/zconfig.h"
#include "sim/appmanager.h"
#include "sim/demooptions.h"
#include "sim/simbus.h"
#include "sim/simproc.h"
#include "sim/simregistry.h"
#include "tests/common/ztest.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>

#include <unistd.h>

namespace {
const QString kDevice = QStringLiteral(ZK_SIM_DEVICE);

QString registryFile(const QString& phonePath)
{
    return kDevice + phonePath;
}
}

class SimDemoOptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void titleFromArgv0WhenNotGiven()
    {
        const DemoOptions o = parseDemoOptions({QStringLiteral("/usr/SYSqtapp/messaging/messaging")});
        QCOMPARE(o.title, QStringLiteral("messaging"));
        QVERIFY(!o.idleScreen);
    }
    void optionsAnywhereAndForeignArgumentsIgnored()
    {
        const DemoOptions o = parseDemoOptions(
            {QStringLiteral("/usr/SYSjava/kvm"), QStringLiteral("-launch"), QStringLiteral("37"),
             QStringLiteral("--app-title"), QStringLiteral("Snake"), QStringLiteral("--app-icon"),
             QStringLiteral("java_std.g")});
        QCOMPARE(o.title, QStringLiteral("Snake"));
        QCOMPARE(o.icon, QStringLiteral("java_std.g"));
    }
    void phoneTaskShowsTheIdleScreen()
    {
        QVERIFY(parseDemoOptions({QStringLiteral("/usr/SYSqtapp/phone/phone")}).idleScreen);
        QVERIFY(parseDemoOptions({QStringLiteral("x"), QStringLiteral("--idle")}).idleScreen);
    }
    void optionWithoutValueAndEmptyArgv0()
    {
        const DemoOptions o = parseDemoOptions({QString(), QStringLiteral("--app-title")});
        QCOMPARE(o.title, QStringLiteral("Application"));
    }
};

class SimBusTest : public QObject
{
    Q_OBJECT
private slots:
    void busNameDecodesToChannel()
    {
        QCOMPARE(channelOfBusName(QStringLiteral("org.qcop.c50452f7a4b65737472656c2f")),
                 QByteArray("PE/zKestrel/"));
    }
    void foreignAndBrokenNamesGiveNothing()
    {
        QVERIFY(channelOfBusName(QStringLiteral("org.freedesktop.DBus")).isEmpty());
        QVERIFY(channelOfBusName(QStringLiteral("org.qcop.c")).isEmpty());
        QVERIFY(channelOfBusName(QStringLiteral("org.qcop.c5045f")).isEmpty());   // odd length
        QVERIFY(channelOfBusName(QStringLiteral("org.qcop.c50XY")).isEmpty());    // not hex
        QVERIFY(channelOfBusName(QStringLiteral("org.qcop.c50452F")).isEmpty());  // upper case
    }
    void integersAreBigEndian()
    {
        QCOMPARE(intData(-5003), QByteArray::fromHex("ffffec75"));
        QCOMPARE(keyMessageData(4159, 1), QByteArray::fromHex("0000103f00000001"));
        bool ok = true;
        QCOMPARE(readIntData(QByteArray("\x01", 1), &ok), 0);
        QVERIFY(!ok);
        QCOMPARE(readIntData(intData(-5003), &ok), -5003);
        QVERIFY(ok);
    }
};

class SimRegistryTest : public QObject
{
    Q_OBJECT
private slots:
    void findsAnApplicationByItsId()
    {
        const auto app = findAppInRegistry(registryFile(QStringLiteral("/usr/data_resource/preloadapps/SysRegistry")),
                                           QUuid::fromString(QStringLiteral("{0A6C5E10-1F2B-4C3D-8E4F-000000000002}")));
        QVERIFY(app.has_value());
        QCOMPARE(app->name, QStringLiteral("Messages"));
        QCOMPARE(app->exec, QStringLiteral("/usr/SYSqtapp/messaging/messaging"));
        QCOMPARE(app->icon, QStringLiteral("messaging_std.g"));
    }
    void bigIconStandsInForAMissingIcon()
    {
        const auto app = findAppInRegistry(registryFile(QStringLiteral("/usr/data_resource/preloadapps/SysRegistry")),
                                           QUuid::fromString(QStringLiteral("{0a6c5e10-1f2b-4c3d-8e4f-000000000008}")));
        QVERIFY(app.has_value());
        QCOMPARE(app->icon, QStringLiteral("settings_std.g"));
    }
    void unknownIdAndMissingFileGiveNothing()
    {
        const QUuid id = QUuid::fromString(QStringLiteral("{0a6c5e10-1f2b-4c3d-8e4f-000000000002}"));
        QVERIFY(!findAppInRegistry(registryFile(QStringLiteral("/mmc/mmca1/.system/java/CardRegistry")), id));
        QVERIFY(!findAppInRegistry(QStringLiteral("/nonexistent/registry"), id));
        QVERIFY(!findAppInRegistry(registryFile(QStringLiteral("/usr/data_resource/preloadapps/SysRegistry")), QUuid()));
    }
    void searchesAllThreeRegistriesBelowTheDeviceRoot()
    {
        qputenv("EZX_DEVICE_ROOT", kDevice.toLocal8Bit());
        const auto video = findRegistryApp(QUuid::fromString(QStringLiteral("{c4f1e830-9a2d-4e57-8b16-000000000202}")));
        const auto notes = findRegistryApp(QUuid::fromString(QStringLiteral("{7d3b9a20-5e61-4f08-b2c4-000000000102}")));
        qunsetenv("EZX_DEVICE_ROOT");
        QVERIFY(video.has_value());
        QCOMPARE(video->name, QStringLiteral("Video Player"));
        QVERIFY(notes.has_value());
        QCOMPARE(execArguments(notes->exec),
                 QStringList({QStringLiteral("/lib/ld-linux.so.2"), QStringLiteral("/mmc/mmca1/app/Notes/notes")}));
    }
    void iconsResolveBelowTheDeviceRoot()
    {
        qputenv("EZX_DEVICE_ROOT", "/dev-root");
        RegistryApp app;
        app.icon = QStringLiteral("video.png");
        app.directory = QStringLiteral("/ezxlocal/x");
        QCOMPARE(iconForDisplay(app), QStringLiteral("/dev-root/ezxlocal/x/video.png"));
        app.icon = QStringLiteral("/mmc/mmca1/a.png");
        QCOMPARE(iconForDisplay(app), QStringLiteral("/dev-root/mmc/mmca1/a.png"));
        app.icon = QStringLiteral("radio_std.g");
        QCOMPARE(iconForDisplay(app), QStringLiteral("radio_std.g"));
        app.icon = QStringLiteral("relative.png");
        app.directory.clear();
        QVERIFY(iconForDisplay(app).isEmpty());
        qunsetenv("EZX_DEVICE_ROOT");
    }
    void launchRunsTheDemoUnderTheRegistryCommandLine()
    {
        RegistryApp app;
        app.name = QStringLiteral("Snake");
        app.exec = QStringLiteral("/usr/SYSjava/kvm -launch 37");
        app.icon = QStringLiteral("java_std.g");
        const QStringList cmd = AppManager::launchCommand(QStringLiteral("/bin/demo"), app);
        QCOMPARE(cmd.mid(2), QStringList({QStringLiteral("/usr/SYSjava/kvm"), QStringLiteral("/bin/demo"),
                                          QStringLiteral("-launch"), QStringLiteral("37"),
                                          QStringLiteral("--app-title"), QStringLiteral("Snake"),
                                          QStringLiteral("--app-icon"), QStringLiteral("java_std.g")}));
        app.exec.clear();
        QVERIFY(AppManager::launchCommand(QStringLiteral("/bin/demo"), app).isEmpty());
    }
};

// The sample storage is what the program and the stories read: it has to
// hold together.
class SimDeviceStorageTest : public QObject
{
    Q_OBJECT
private slots:
    void registriesHoldUniqueIdsAndTheirFiles()
    {
        QSet<QUuid> ids;
        int native = 0;
        int java = 0;
        for (const QString& path : registryPaths()) {
            ZConfig reg(kDevice + path, false);
            QStringList groups;
            QVERIFY(reg.getGroupsKeyList(groups));
            QVERIFY2(!groups.isEmpty(), qPrintable(path));
            for (const QString& g : groups) {
                const QUuid id = QUuid::fromString(reg.readEntry(g, QStringLiteral("AppID")));
                QVERIFY2(!id.isNull() && !ids.contains(id), qPrintable(g));
                ids.insert(id);
                QVERIFY(!reg.readEntry(g, QStringLiteral("Name")).isEmpty());
                QVERIFY(!reg.readEntry(g, QStringLiteral("Exec")).isEmpty());
                reg.readEntry(g, QStringLiteral("JavaId")).isEmpty() ? ++native : ++java;
                QString icon = reg.readEntry(g, QStringLiteral("Icon"));
                if (icon.isEmpty())
                    icon = reg.readEntry(g, QStringLiteral("BigIcon"));
                if (icon.endsWith(QLatin1String(".g"))) {
                    QVERIFY2(QFile::exists(QStringLiteral(ZK_SOURCE_DIR "/ezx/icons/")
                                           + icon.chopped(2) + QStringLiteral(".png")),
                             qPrintable(icon));
                } else {
                    if (!icon.startsWith(QLatin1Char('/')))
                        icon = reg.readEntry(g, QStringLiteral("Directory")) + QLatin1Char('/') + icon;
                    QVERIFY2(QFile::exists(kDevice + icon), qPrintable(icon));
                }
            }
        }
        QVERIFY(native >= 12);
        QVERIFY(java >= 2);
    }
    void javaIndexesAndCpuClockAreThere()
    {
        QFile card(kDevice + QStringLiteral("/mmc/mmca1/.system/java_0001/JAMInfo/index"));
        QVERIFY(card.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(card.readAll());
        QVERIFY(text.contains(QStringLiteral("37||Snake Xtreme|")));
        QVERIFY(text.contains(QStringLiteral("41||\u0428\u0430\u0445\u043c\u0430\u0442\u044b|")));
        QVERIFY(QFile::exists(kDevice + QStringLiteral("/ezxlocal/download/mystuff/.system/java/JAMInfo/index")));
        QFile op(kDevice + QStringLiteral("/sys/mpm/op"));
        QVERIFY(op.open(QIODevice::ReadOnly));
        QCOMPARE(op.readAll().trimmed(), QByteArray("312"));
    }
};

class SimProcTest : public QObject
{
    Q_OBJECT
private slots:
    void ownCommandLineIsFound()
    {
        const QByteArray mine = processCommandLine(::getpid());
        QVERIFY(mine.contains("test_sim"));
        QVERIFY(!mine.endsWith(' '));
        QVERIFY(pidsWithCommandLine(mine).contains(::getpid()));
        QVERIFY(processRuns(::getpid()));
        QVERIFY(!processRuns(0));
        QVERIFY(processCommandLine(-1).isEmpty());
    }
};

ZK_TEST(SimDemoOptionsTest)
ZK_TEST(SimBusTest)
ZK_TEST(SimRegistryTest)
ZK_TEST(SimDeviceStorageTest)
ZK_TEST(SimProcTest)

#include "simlogic_test.moc"
