#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"
#include "tests/core/childprogram.h"

#include "catalogue/registry.h"
#include "platform/devicepath.h"
#include "platform/qcopchannel.h"

#include <QDeadlineTimer>
#include <QScopeGuard>

// The real zKestrel started as a child inside the test's private bus: which
// mode each command line gives, the single resident instance and how a
// second start hands over to it.
class StartupTest : public QObject
{
    Q_OBJECT

    static QString program() { return QStringLiteral(ZK_BIN_DIR "/zKestrel"); }

    static bool residentRegistered() { return QCopChannel::isRegistered("PE/zKestrel/"); }

    // Ends a child through its application object and expects exit code 0.
    static void quitChild(ChildProgram& child)
    {
        QCOMPARE(runQcop({applicationChannel(child.pid()), QStringLiteral("quickQuit()")}), 0);
        QVERIFY(child.waitForExit());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }

private slots:
    void init() { QTRY_VERIFY_WITH_TIMEOUT(!residentRegistered(), 10000); }

    void windowModeShowsWindowAndRegistersNoChannel_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no argument") << QStringList();
        QTest::newRow("capital D") << QStringList{QStringLiteral("-Daemon")};
        QTest::newRow("no hyphen") << QStringList{QStringLiteral("daemon")};
        QTest::newRow("second argument") << QStringList{QStringLiteral("x"), QStringLiteral("-daemon")};
        QTest::newRow("with more") << QStringList{QStringLiteral("-daemonx")};
    }
    void windowModeShowsWindowAndRegistersNoChannel()
    {
        QFETCH(QStringList, args);
        ChildProgram child(program());
        QVERIFY(child.start(args));
        QVERIFY(child.waitForLine(QStringLiteral("CreateWindow: end")) >= 0);
        QVERIFY(!residentRegistered());
        QVERIFY(!child.errors().contains(QLatin1String("isDaemon")));
        quitChild(child);
    }

    void daemonRegistersWithoutWindow()
    {
        ChildProgram child(program());
        QVERIFY(child.start({QStringLiteral("-daemon")}));
        QTRY_VERIFY_WITH_TIMEOUT(residentRegistered(), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(child.errors().contains(QLatin1String("isDaemon")), 5000);
        QCOMPARE(runQcop({QStringLiteral("--registered"), QStringLiteral("PE/zKestrel/")}), 0);
        // A key press that does not pop up, answered after the start: by
        // then a window would have logged its construction.
        QCOMPARE(runQcop({QStringLiteral("/hardkey/bc"), QStringLiteral("keyMsg(int,int)"),
                          QStringLiteral("1"), QStringLiteral("1")}),
                 0);
        QVERIFY(child.waitForLine(QStringLiteral("Key 1, type 1")) >= 0);
        QCOMPARE(child.findLine(QStringLiteral("CreateWindow")), -1);
        quitChild(child);
        QTRY_VERIFY_WITH_TIMEOUT(!residentRegistered(), 5000);
    }

    void secondStartHandsOverToResident_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("plain") << QStringList();
        QTest::newRow("-daemon") << QStringList{QStringLiteral("-daemon")};
    }
    void secondStartHandsOverToResident()
    {
        QFETCH(QStringList, args);
        ChildProgram resident(program());
        QVERIFY(resident.start({QStringLiteral("-daemon")}));
        QTRY_VERIFY_WITH_TIMEOUT(residentRegistered(), 15000);

        ChildProgram second(program());
        QVERIFY(second.start(args));
        QVERIFY(second.waitForExit());
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        // The second start built nothing of its own.
        QCOMPARE(second.findLine(QStringLiteral("CreateWindow")), -1);
        QVERIFY(!second.errors().contains(QLatin1String("isDaemon")));

        QVERIFY(resident.waitForLine(QStringLiteral("CreateWindow: end")) >= 0);
        quitChild(resident);
    }

    // Two residents started at the same moment both find no resident: the
    // one that does not own the channel once it opened it hands over as a
    // second start does, and only the other answers.
    void residentsStartedTogetherLeaveOne()
    {
        // A large registry keeps each start a while between its look for a
        // resident and its own channel, so that the two starts overlap.
        const QString registry = devicePath(QLatin1String(systemRegistryPath));
        QByteArray groups;
        for (int i = 0; i < 20000; ++i)
            groups += "[app" + QByteArray::number(i) + "]\nExec = /usr/SYSqtapp/app" + QByteArray::number(i)
                      + "/app\nName = App\nIcon = app.png\n";
        QVERIFY(testfiles::writeFile(registry, groups));
        const auto removeRegistry = qScopeGuard([&registry] { QFile::remove(registry); });

        ChildProgram first(program());
        ChildProgram second(program());
        QVERIFY(first.start({QStringLiteral("-daemon")}));
        QVERIFY(second.start({QStringLiteral("-daemon")}));
        ChildProgram* ended = nullptr;
        for (QDeadlineTimer deadline(60000); !ended && !deadline.hasExpired();) {
            if (first.waitForExit(100))
                ended = &first;
            else if (second.waitForExit(100))
                ended = &second;
        }
        QVERIFY2(ended, "both residents stayed");
        ChildProgram& resident = ended == &first ? second : first;
        QCOMPARE(ended->exitStatus(), QProcess::NormalExit);
        QCOMPARE(ended->exitCode(), 0);
        QCOMPARE(ended->findLine(QStringLiteral("CreateWindow")), -1);
        // The one that stayed got the hand-over's "show()".
        QVERIFY(resident.waitForLine(QStringLiteral("CreateWindow: end"), 0, 60000) >= 0);
        QVERIFY(residentRegistered());
        quitChild(resident);
    }

    // Without a window system (none at all, or a Wayland one out of reach
    // and no X display) a start that needs a window says why in one line and
    // ends with 4; one that finds a resident hands over to it over the bus.
    void withoutDisplayOnlyTheHandOverWorks_data()
    {
        QTest::addColumn<QString>("wayland");
        QTest::newRow("no display") << QString();
        QTest::newRow("Wayland out of reach") << QStringLiteral("zk-no-such-compositor");
    }
    void withoutDisplayOnlyTheHandOverWorks()
    {
        QFETCH(QString, wayland);
        auto startWithoutDisplay = [&wayland](ChildProgram& child, const QStringList& args) {
            for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
                child.environment().remove(QLatin1String(name));
            if (!wayland.isEmpty())
                child.environment().insert(QStringLiteral("WAYLAND_DISPLAY"), wayland);
            return child.start(args) && child.waitForExit();
        };
        for (const QStringList& args : {QStringList(), QStringList{QStringLiteral("-daemon")}}) {
            ChildProgram alone(program());
            QVERIFY(startWithoutDisplay(alone, args));
            QCOMPARE(alone.exitCode(), 4);
            QVERIFY2(alone.errors().trimmed().count(QLatin1Char('\n')) == 0 && alone.errors().startsWith(QLatin1String("zKestrel: no window can be shown (")), qPrintable(alone.errors()));
        }
        ChildProgram resident(program());
        QVERIFY(resident.start({QStringLiteral("-daemon")}));
        QTRY_VERIFY_WITH_TIMEOUT(residentRegistered(), 15000);
        ChildProgram second(program());
        QVERIFY(startWithoutDisplay(second, {}));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(resident.waitForLine(QStringLiteral("CreateWindow: end")) >= 0);
        quitChild(resident);
    }

    void daemonWithoutBusFailsWithMessage()
    {
        ChildProgram child(program());
        child.environment().insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                                   QStringLiteral("unix:path=/nonexistent/zk-bus"));
        QVERIFY(child.start({QStringLiteral("-daemon")}));
        QVERIFY(child.waitForExit());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY(child.exitCode() != 0);
        QVERIFY2(child.errors().contains(QLatin1String("PE/zKestrel/")), qPrintable(child.errors()));
        QVERIFY(child.errors().contains(QLatin1String("session bus")));
    }

    void windowModeRunsWithoutBus()
    {
        ChildProgram child(program());
        child.environment().insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                                   QStringLiteral("unix:path=/nonexistent/zk-bus"));
        QVERIFY(child.start({}));
        QVERIFY(child.waitForLine(QStringLiteral("CreateWindow: end")) >= 0);
        // Without a bus nobody can ask it to leave; it stops with the test.
    }
};

ZK_TEST(StartupTest)
#include "startup_test.moc"
