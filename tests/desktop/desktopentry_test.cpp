// The desktop entry rules without a desktop: reading a file, which entries a
// launcher shows, and the command line an entry starts.
#include "desktop/desktopentry.h"
#include "desktop/execline.h"
#include "tests/common/ztest.h"

using namespace zk::desktop;

class DesktopEntryTest : public QObject
{
    Q_OBJECT
private slots:
    void readsTheDesktopEntryGroupInTheUsersLanguage()
    {
        const QByteArray text = "# a comment\n[Other]\nName=Not this\n"
                                "[Desktop Entry]\nType=Application\nName=Files\nName[de]=Dateien\n"
                                "Name[sr@latin]=Datoteke\nName[pt_BR]=Arquivos\nName = Twice\n"
                                "Exec=nautilus --new-window\\s%U\nIcon=system-file-manager\nTerminal=true\n"
                                "OnlyShowIn=GNOME;Unity;\nNotShowIn=KDE\\;4;\n"
                                "[Desktop Action new]\nName=Action\nExec=other\n";
        const auto plain = parseDesktopEntry(text, QStringLiteral("C"));
        QVERIFY(plain);
        QCOMPARE(plain->name, QStringLiteral("Files"));
        QCOMPARE(plain->exec, QStringLiteral("nautilus --new-window %U"));
        QVERIFY(plain->terminal);
        QCOMPARE(plain->onlyShowIn, QStringList({QStringLiteral("GNOME"), QStringLiteral("Unity")}));
        QCOMPARE(plain->notShowIn, QStringList{QStringLiteral("KDE;4")});
        QCOMPARE(parseDesktopEntry(text, QStringLiteral("de_AT.UTF-8"))->name, QStringLiteral("Dateien"));
        QCOMPARE(parseDesktopEntry(text, QStringLiteral("pt_BR.UTF-8"))->name, QStringLiteral("Arquivos"));
        QCOMPARE(parseDesktopEntry(text, QStringLiteral("sr_RS@latin"))->name, QStringLiteral("Datoteke"));
        QCOMPARE(localeCandidates(QStringLiteral("sr_RS.UTF-8@latin")),
                 QStringList({QStringLiteral("sr_RS@latin"), QStringLiteral("sr_RS"), QStringLiteral("sr@latin"),
                              QStringLiteral("sr")}));
        QVERIFY(!parseDesktopEntry("Name=No group\n", QString()));
        QVERIFY(!parseDesktopEntry(QByteArray("\xff\xfe\x00[", 4), QString()));
    }

    void showRules_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("desktops");
        QTest::addColumn<bool>("shown");
        QTest::newRow("plain") << QByteArray() << "" << true;
        QTest::newRow("not an application") << QByteArray("Type=Link\n") << "" << false;
        QTest::newRow("NoDisplay") << QByteArray("NoDisplay=true\n") << "" << false;
        QTest::newRow("Hidden") << QByteArray("Hidden=true\n") << "" << false;
        QTest::newRow("OnlyShowIn, on it") << QByteArray("OnlyShowIn=XFCE;LXDE;\n") << "ubuntu:LXDE" << true;
        QTest::newRow("OnlyShowIn, elsewhere") << QByteArray("OnlyShowIn=XFCE;\n") << "GNOME" << false;
        QTest::newRow("OnlyShowIn, no desktop") << QByteArray("OnlyShowIn=XFCE;\n") << "" << false;
        QTest::newRow("NotShowIn, on it") << QByteArray("NotShowIn=GNOME;\n") << "ubuntu:GNOME" << false;
        QTest::newRow("NotShowIn, elsewhere") << QByteArray("NotShowIn=GNOME;\n") << "KDE" << true;
    }
    void showRules()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QString, desktops);
        QFETCH(bool, shown);
        QByteArray text = "[Desktop Entry]\nName=A\nExec=a\n" + keys;
        if (!keys.startsWith("Type="))
            text += "Type=Application\n";
        QCOMPARE(isShownOn(*parseDesktopEntry(text, QString()), desktops.split(QLatin1Char(':'), Qt::SkipEmptyParts)),
                 shown);
    }

    void commandLines_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QStringList>("command");
        QTest::newRow("plain") << "xterm" << false << QStringList{"xterm"};
        QTest::newRow("file codes go") << "gimp-2.10 %U --x=%f" << false << QStringList{"gimp-2.10", "--x="};
        QTest::newRow("icon, name, file, percent")
            << "app %i --title=%c --from %k 100%%" << false
            << QStringList{"app", "--icon", "app-icon", "--title=My App", "--from", "/apps/my.desktop", "100%"};
        QTest::newRow("quoted")
            << "\"/opt/My App/run\" \"say \\\"hi\\\" \\$HOME \\\\ \\`x\\`\" plain\\q" << false
            << QStringList{"/opt/My App/run", "say \"hi\" $HOME \\ `x`", "plain\\q"};
        QTest::newRow("terminal") << "htop" << true << QStringList{"x-terminal-emulator", "-e", "htop"};
        QTest::newRow("unclosed quote") << "app \"open" << false << QStringList{};
        QTest::newRow("only codes") << "%F" << false << QStringList{};
    }
    void commandLines()
    {
        QFETCH(QString, exec);
        QFETCH(bool, terminal);
        QFETCH(QStringList, command);
        DesktopEntry e;
        e.exec = exec;
        e.terminal = terminal;
        e.name = QStringLiteral("My App");
        e.icon = QStringLiteral("app-icon");
        e.filePath = QStringLiteral("/apps/my.desktop");
        QCOMPARE(launchCommand(e), command);
        QCOMPARE(programFileName(e), command.value(terminal ? 2 : 0).section('/', -1));
    }
};

ZK_TEST(DesktopEntryTest)

#include "desktopentry_test.moc"
