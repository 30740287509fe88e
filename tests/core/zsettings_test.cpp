// ZSettings: every configuration key from its own group, the defaults, the
// configuration file's path and the executable's folder.
#include "core/zsettings.h"
#include "platform/devicepath.h"
#include "platform/zconfig.h"
#include "tests/common/logcapture.h"
#include "tests/common/ztest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QStringList allGroups{"General", "Task", "Font", "Key", "App"};

// A member's value as text, by the key that sets it.
QString memberByKey(const ZSettings& s, const QString& key)
{
    auto b = [](bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); };
    if (key == "TimeInCaption")
        return b(s.timeInCaption);
    if (key == "SendReaisePhone")
        return b(s.sendRaisePhone);
    if (key == "SendGoToIDLE")
        return b(s.sendGoToIdle);
    if (key == "ShowAllTask")
        return b(!s.hideSystemTasks);
    if (key == "FiltrProcList")
        return s.processFilter;
    if (key == "ShowAppNoWindow")
        return b(s.showAppNoWindow);
    if (key == "PanelFontSize")
        return QString::number(s.panelFontSize);
    if (key == "ListFontSize")
        return QString::number(s.listFontSize);
    if (key == "PanelColor")
        return s.panelColor.name();
    if (key == "UserFont")
        return b(s.useTextColor);
    if (key == "ShowInfoByGreen")
        return b(s.showInfoByGreen);
    if (key == "ActionOnC")
        return QString::number(s.actionOnC);
    return QStringLiteral("<unknown key>");
}

void writeConfig(const QString& group, const QString& key, const QString& value)
{
    ZConfig cfg(configFilePath(), false);
    cfg.writeEntry(group, key, value);
    QVERIFY(cfg.flush());
}

class EnvGuard
{
public:
    explicit EnvGuard(const char* name)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
    }
    ~EnvGuard()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

}  // namespace

class ZSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(configFilePath());
    }

    void defaultsWithoutAFile()
    {
        QVERIFY(!QFile::exists(configFilePath()));
        ZSettings s;
        QCOMPARE(s.hideSystemTasks, true);
        QCOMPARE(s.sendRaisePhone, true);
        QCOMPARE(s.showInfoByGreen, true);
        QCOMPARE(s.sendGoToIdle, false);
        QCOMPARE(s.showAppNoWindow, false);
        QCOMPARE(s.timeInCaption, false);
        QCOMPARE(s.useTextColor, false);
        QCOMPARE(s.panelFontSize, 14);
        QCOMPARE(s.listFontSize, 16);
        QCOMPARE(s.actionOnC, 0);
        QCOMPARE(s.panelColor, QColor(0, 0, 0));
        QCOMPARE(s.processFilter,
                 QStringLiteral("!am!zKestrel!phone!messaging!brwdaemon!misc1!windowsserver!vr!addrbk!br!"));
        QCOMPARE(s.hardKeyCode, 4159);
        QCOMPARE(s.popUpGuard, false);
        QCOMPARE(s.commandChannel, nullptr);
        QVERIFY(s.iconCatalogue.isEmpty());
        QVERIFY(s.javaNames.isEmpty());
        QVERIFY(!QFile::exists(configFilePath()));
    }

    void everyKeyIsReadFromItsOwnGroupOnly_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("byDefault");
        QTest::newRow("TimeInCaption") << "General"
                                       << "TimeInCaption"
                                       << "true"
                                       << "true"
                                       << "false";
        QTest::newRow("SendReaisePhone") << "General"
                                         << "SendReaisePhone"
                                         << "false"
                                         << "false"
                                         << "true";
        QTest::newRow("SendGoToIDLE") << "General"
                                      << "SendGoToIDLE"
                                      << "yes"
                                      << "true"
                                      << "false";
        QTest::newRow("ShowAllTask") << "Task"
                                     << "ShowAllTask"
                                     << "true"
                                     << "true"
                                     << "false";
        QTest::newRow("FiltrProcList") << "Task"
                                       << "FiltrProcList"
                                       << "!a!b!"
                                       << "!a!b!"
                                       << "!am!zKestrel!phone!messaging!brwdaemon!misc1!windowsserver!vr!addrbk!br!";
        QTest::newRow("ShowAppNoWindow") << "Task"
                                         << "ShowAppNoWindow"
                                         << "1"
                                         << "true"
                                         << "false";
        QTest::newRow("PanelFontSize") << "Font"
                                       << "PanelFontSize"
                                       << "9"
                                       << "9"
                                       << "14";
        QTest::newRow("ListFontSize") << "Font"
                                      << "ListFontSize"
                                      << "22"
                                      << "22"
                                      << "16";
        QTest::newRow("PanelColor") << "Font"
                                    << "PanelColor"
                                    << "#12ab34"
                                    << "#12ab34"
                                    << "#000000";
        QTest::newRow("UserFont") << "Font"
                                  << "UserFont"
                                  << "TRUE"
                                  << "true"
                                  << "false";
        QTest::newRow("ShowInfoByGreen") << "Key"
                                         << "ShowInfoByGreen"
                                         << "false"
                                         << "false"
                                         << "true";
        QTest::newRow("ActionOnC") << "Key"
                                   << "ActionOnC"
                                   << "2"
                                   << "2"
                                   << "0";
        // Out of the dialog's range, stored as read.
        QTest::newRow("ActionOnC 7") << "Key"
                                     << "ActionOnC"
                                     << "7"
                                     << "7"
                                     << "0";
    }

    void everyKeyIsReadFromItsOwnGroupOnly()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        QFETCH(QString, byDefault);

        for (const QString& other : allGroups) {
            if (other != group)
                writeConfig(other, key, stored);
        }
        ZSettings s;
        QCOMPARE(memberByKey(s, key), byDefault);

        writeConfig(group, key, stored);
        s.loadSettings();
        QCOMPARE(memberByKey(s, key), expected);
    }

    void showAllTaskIsStoredInverted()
    {
        writeConfig("Task", "ShowAllTask", "true");
        ZSettings s;
        QCOMPARE(s.hideSystemTasks, false);
        writeConfig("Task", "ShowAllTask", "false");
        s.loadSettings();
        QCOMPARE(s.hideSystemTasks, true);
    }

    void loadSettingsReadsTheFileAfresh()
    {
        writeConfig("Font", "PanelFontSize", "10");
        ZSettings s;
        QCOMPARE(s.panelFontSize, 10);
        QVERIFY(QFile::remove(configFilePath()));
        s.loadSettings();
        QCOMPARE(s.panelFontSize, 14);
    }

    void unreadableValuesGiveDefaults()
    {
        writeConfig("Font", "ListFontSize", "big");
        writeConfig("Key", "ShowInfoByGreen", "maybe");
        writeConfig("Font", "PanelColor", "not a colour");
        LogCapture log;
        ZSettings* s = new ZSettings;
        const QStringList lines = log.finish();
        QCOMPARE(s->listFontSize, 16);
        QCOMPARE(s->showInfoByGreen, true);
        QCOMPARE(s->panelColor, QColor(0, 0, 0));
        QVERIFY(lines.contains("loadSettings: bad PanelColor \"not a colour\", black used"));
        delete s;
    }

    void configFilePathIsComposedAsWritten()
    {
        EnvGuard guard("EZX_APP_WRITE_PATH");
        qputenv("EZX_APP_WRITE_PATH", "/data/app");
        QCOMPARE(configFilePath(), QStringLiteral("/data/app/setup/zKestrel.cfg"));
        qputenv("EZX_APP_WRITE_PATH", "/data/app/");
        QCOMPARE(configFilePath(), QStringLiteral("/data/app//setup/zKestrel.cfg"));
        qunsetenv("EZX_APP_WRITE_PATH");
        QCOMPARE(configFilePath(), QStringLiteral("/setup/zKestrel.cfg"));
    }

    void configFileWithDoubledSlashAndNonAsciiFolderIsFound()
    {
        EnvGuard guard("EZX_APP_WRITE_PATH");
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + "/Запись/";
        QVERIFY(QDir().mkpath(QFile::decodeName(folder) + "setup"));
        {
            QFile f(QFile::decodeName(folder + "setup/zKestrel.cfg"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Font]\nListFontSize = 11\n");
        }
        qputenv("EZX_APP_WRITE_PATH", folder);
        ZSettings s;
        QCOMPARE(s.listFontSize, 11);
    }

    void appDirFromArgv0_data()
    {
        QTest::addColumn<QString>("argv0");
        QTest::addColumn<QString>("executableDir");
        QTest::addColumn<QString>("expected");
        QTest::newRow("absolute") << "/usr/local/zKestrel/zKestrel"
                                  << "/elsewhere"
                                  << "/usr/local/zKestrel/";
        QTest::newRow("relative") << "./zKestrel"
                                  << "/elsewhere"
                                  << "./";
        QTest::newRow("nested relative") << "bin/zKestrel"
                                         << "/elsewhere"
                                         << "bin/";
        QTest::newRow("root") << "/zKestrel"
                              << "/elsewhere"
                              << "/";
        QTest::newRow("bare name") << "zKestrel"
                                   << "/opt/zk"
                                   << "/opt/zk/";
        QTest::newRow("bare name, root folder") << "zKestrel"
                                                << "/"
                                                << "/";
        QTest::newRow("empty argv0") << ""
                                     << "/opt/zk"
                                     << "/opt/zk/";
        QTest::newRow("nothing known") << "zKestrel"
                                       << ""
                                       << "";
    }

    void appDirFromArgv0()
    {
        QFETCH(QString, argv0);
        QFETCH(QString, executableDir);
        QFETCH(QString, expected);
        QCOMPARE(::appDirFromArgv0(argv0, executableDir), expected);
    }

    void constructorFindsTheExecutableFolder()
    {
        const QString exe = QFileInfo(QCoreApplication::arguments().value(0)).fileName();
        const QString expectedDir = ::appDirFromArgv0(QCoreApplication::arguments().value(0),
                                                      QCoreApplication::applicationDirPath());
        QTest::ignoreMessage(QtDebugMsg, qPrintable("cur path: " + expectedDir));
        ZSettings s;
        QCOMPARE(s.getAppDir(), expectedDir);
        QVERIFY(s.appDir.endsWith('/'));
        QVERIFY(QFileInfo::exists(s.getAppDir() + exe));
    }

    void constructorFindsTheJavaFolderOnTheCard()
    {
        const QString system = devicePath("/mmc/mmca1/.system");
        QVERIFY(QDir().mkpath(system + "/card1_java_store"));
        ZSettings s;
        QCOMPARE(s.javaFolderInSD, QStringLiteral("card1_java_store"));
        QVERIFY(QDir(system).removeRecursively());
        ZSettings none;
        QVERIFY(none.javaFolderInSD.isNull());
    }
};

ZK_TEST(ZSettingsTest)
#include "zsettings_test.moc"
