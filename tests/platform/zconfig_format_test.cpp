// ZConfig: what is read from a file and what a rewrite leaves in it.
#include "platform/zconfig.h"
#include "tests/common/logcapture.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"

#include <QFile>
#include <QTemporaryDir>

#include <climits>

#include <sys/stat.h>

using namespace testfiles;

namespace {

ino_t inodeOf(const QString& path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

class ZConfigFormatTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString file(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void everyTypeReadsBackAfterFlush()
    {
        const QString path = file("types.cfg");
        {
            ZConfig cfg(path, false);
            cfg.writeEntry("Text", "Plain", QStringLiteral("hello world"));
            cfg.writeEntry("Text", "Cyrillic", QString::fromUtf8("Диспетчер задач"));
            cfg.writeEntry("Text", "Literal", "from a C string");
            cfg.writeEntry("Text", "Empty", QString());
            cfg.writeEntry("Text", "Equals", QStringLiteral("a=b;c#d [x]"));
            cfg.writeEntry("Text", "Spaced", QStringLiteral("  Spaced \t"));
            cfg.writeEntry("Text", "Blanks", QStringLiteral("   "));
            cfg.writeEntry("Text", "Escapes", QStringLiteral("\\s\\t \\"));
            cfg.writeEntry("Bool", "Yes", true);
            cfg.writeEntry("Bool", "No", false);
            cfg.writeEntry("Num", "Negative", -42);
            cfg.writeEntry("Num", "Max", INT_MAX);
            cfg.writeEntry("Num", "Min", INT_MIN);
            QVERIFY(cfg.flush());
        }
        ZConfig cfg(path, false);
        QCOMPARE(cfg.readEntry("Text", "Plain"), QStringLiteral("hello world"));
        QCOMPARE(cfg.readEntry("Text", "Cyrillic"), QString::fromUtf8("Диспетчер задач"));
        QCOMPARE(cfg.readEntry("Text", "Literal"), QStringLiteral("from a C string"));
        QCOMPARE(cfg.readEntry("Text", "Empty", "default"), QString());
        QCOMPARE(cfg.readEntry("Text", "Equals"), QStringLiteral("a=b;c#d [x]"));
        // Blanks and tabs around a text are part of it.
        QCOMPARE(cfg.readEntry("Text", "Spaced"), QStringLiteral("  Spaced \t"));
        QCOMPARE(cfg.readEntry("Text", "Blanks", "default"), QStringLiteral("   "));
        QCOMPARE(cfg.readEntry("Text", "Escapes"), QStringLiteral("\\s\\t \\"));
        QCOMPARE(cfg.readBoolEntry("Bool", "Yes", false), true);
        QCOMPARE(cfg.readBoolEntry("Bool", "No", true), false);
        QCOMPARE(cfg.readNumEntry("Num", "Negative", 0), -42);
        QCOMPARE(cfg.readNumEntry("Num", "Max", 0), INT_MAX);
        QCOMPARE(cfg.readNumEntry("Num", "Min", 0), INT_MIN);
        // Absent group or key, and case differences, give the default.
        QCOMPARE(cfg.readEntry("Text", "Missing", "dflt"), QStringLiteral("dflt"));
        QCOMPARE(cfg.readEntry("text", "Plain", "dflt"), QStringLiteral("dflt"));
        QCOMPARE(cfg.readEntry("Text", "plain", "dflt"), QStringLiteral("dflt"));
        QCOMPARE(cfg.readNumEntry("Nope", "Max", 7), 7);
        QCOMPARE(cfg.readBoolEntry("Nope", "Yes", false), false);
        QCOMPARE(fileBytes(path).count("\n[Num]\n"), 1);
    }

    void missingFileReadsAsEmptyAndIsNotCreatedByReading()
    {
        const QString path = file("absent/none.cfg");
        ZConfig cfg(path, false);
        QCOMPARE(cfg.readEntry("G", "K", "d"), QStringLiteral("d"));
        QStringList groups{"stale"};
        QVERIFY(!cfg.getGroupsKeyList(groups));
        QVERIFY(groups.isEmpty());
        QVERIFY(cfg.flush());
        QVERIFY(!QFile::exists(path));
    }

    void rewriteKeepsCommentsOtherGroupsAndOrder()
    {
        const QString path = file("keep.cfg");
        QVERIFY(writeFile(path,
                          "# zKestrel settings\n"
                          "\n"
                          "[General]\n"
                          "TimeInCaption = false\n"
                          "; explained below\n"
                          "SendReaisePhone=true\n"
                          "\n"
                          "[App]\n"
                          "Name0 = Browser\n"
                          "junk line without equals\n"
                          "Exec0 = /usr/bin/browser\n"
                          "\n"
                          "# trailing comment\n"));
        ZConfig cfg(path, false);
        cfg.writeEntry("General", "TimeInCaption", true);
        cfg.writeEntry("App", "Name1", QStringLiteral("Camera"));
        cfg.writeEntry("Font", "PanelFontSize", 12);
        QVERIFY(cfg.flush());
        QCOMPARE(fileBytes(path),
                 QByteArray("# zKestrel settings\n"
                            "\n"
                            "[General]\n"
                            "TimeInCaption = true\n"
                            "; explained below\n"
                            "SendReaisePhone=true\n"
                            "\n"
                            "[App]\n"
                            "Name0 = Browser\n"
                            "junk line without equals\n"
                            "Exec0 = /usr/bin/browser\n"
                            "Name1 = Camera\n"
                            "\n"
                            "# trailing comment\n"
                            "\n"
                            "[Font]\n"
                            "PanelFontSize = 12\n"));
    }

    void newGroupInEmptyFileAndNewKeyInEmptyGroup()
    {
        const QString path = file("fresh.cfg");
        QVERIFY(writeFile(path, "[Empty]\n[Other]\nA = 1\n"));
        ZConfig cfg(path, false);
        cfg.writeEntry("Empty", "B", 2);
        QVERIFY(cfg.flush());
        QCOMPARE(fileBytes(path), QByteArray("[Empty]\nB = 2\n[Other]\nA = 1\n"));

        const QString created = file("created.cfg");
        ZConfig fresh(created, false);
        fresh.writeEntry("G", "K", QStringLiteral("v"));
        QVERIFY(fresh.flush());
        QCOMPARE(fileBytes(created), QByteArray("[G]\nK = v\n"));
    }

    void registryFilesReadAsTheyAre()
    {
        const QString path = file("SysRegistry");
        QVERIFY(writeFile(path,
                          "\xEF\xBB\xBF; phone registry\r\n"
                          "[{0a1b2c3d-0000-1111-2222-333344445555}]\r\n"
                          "Name=Media Player\r\n"
                          "Exec=/usr/SYSqtapp/mp/mp?mode=full\r\n"
                          "Icon=C:\\icons\\mp.g\r\n"
                          "# not a key=value\r\n"
                          "BigIcon =  mp_big.png  \r\n"
                          "[second]\r\n"
                          "JavaId=12\r\n"));
        ZConfig cfg(path, false);
        QStringList groups;
        QVERIFY(cfg.getGroupsKeyList(groups));
        QCOMPARE(groups, QStringList({"{0a1b2c3d-0000-1111-2222-333344445555}", "second"}));
        const QString g = groups.first();
        QCOMPARE(cfg.readEntry(g, "Name"), QStringLiteral("Media Player"));
        QCOMPARE(cfg.readEntry(g, "Exec"), QStringLiteral("/usr/SYSqtapp/mp/mp?mode=full"));
        QCOMPARE(cfg.readEntry(g, "Icon"), QStringLiteral("C:\\icons\\mp.g"));
        QCOMPARE(cfg.readEntry(g, "BigIcon"), QStringLiteral("mp_big.png"));
        QCOMPARE(cfg.readEntry(g, "# not a key"), QString());
        QCOMPARE(cfg.readEntry("second", "JavaId"), QStringLiteral("12"));

        // A rewrite keeps the byte order mark and the CRLF line ends.
        cfg.writeEntry("second", "Name", QStringLiteral("Game"));
        QVERIFY(cfg.flush());
        const QByteArray after = fileBytes(path);
        QVERIFY(after.startsWith("\xEF\xBB\xBF; phone registry\r\n"));
        QVERIFY(after.endsWith("JavaId=12\r\nName = Game\r\n"));
    }

    void lineBreaksInValuesCannotMakeKeysOrGroups()
    {
        const QString path = file("inject.cfg");
        const QString evil = QStringLiteral("x\n[Evil]\nKey = 1\r\nOther=2\\n\\\\ \\q");
        {
            ZConfig cfg(path, false);
            cfg.writeEntry("App", "Name0", evil);
            cfg.writeEntry("App", "Exec0", QStringLiteral("\r\n"));
            QVERIFY(cfg.flush());
        }
        const QByteArray raw = fileBytes(path);
        QCOMPARE(raw.count('\n'), 3);
        QVERIFY(!raw.contains('\r'));

        ZConfig cfg(path, false);
        QCOMPARE(cfg.readEntry("App", "Name0"), evil);
        QCOMPARE(cfg.readEntry("App", "Exec0"), QStringLiteral("\r\n"));
        QStringList groups;
        cfg.getGroupsKeyList(groups);
        QCOMPARE(groups, QStringList{"App"});
        QCOMPARE(cfg.readEntry("Evil", "Key", "none"), QStringLiteral("none"));
        QCOMPARE(cfg.readEntry("App", "Other", "none"), QStringLiteral("none"));
    }

    void foreignBackslashesOtherThanEscapesStay()
    {
        const QString path = file("backslash.cfg");
        QVERIFY(writeFile(path, "[G]\nA = \\n\\r\\\\\nB = x\\t\\x\\s\\\nC = end\\\\n\nD = \t\xc2\xa0 old \xc2\xa0\t\r\n"));
        ZConfig cfg(path, false);
        QCOMPARE(cfg.readEntry("G", "A"), QStringLiteral("\n\r\\"));
        // \s and \t count only at a value's ends, where the writer puts them.
        QCOMPARE(cfg.readEntry("G", "B"), QStringLiteral("x\\t\\x\\s\\"));
        // Files written before: the blanks and tabs around a value go, other
        // characters at its ends stay.
        QCOMPARE(cfg.readEntry("G", "D"), QString::fromUtf8("\xc2\xa0 old \xc2\xa0"));
        QCOMPARE(cfg.readEntry("G", "C"), QStringLiteral("end\\n"));
    }

    void unreadableKeysAndGroupsAreRefused_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::newRow("= in key") << "G"
                                  << "a=b";
        QTest::newRow("[ starts key") << "G"
                                      << "[x";
        QTest::newRow("LF in key") << "G"
                                   << "a\nb";
        QTest::newRow("CR in key") << "G"
                                   << "a\rb";
        QTest::newRow("# starts key") << "G"
                                      << "#c";
        QTest::newRow("; starts key") << "G"
                                      << ";c";
        QTest::newRow("blank around key") << "G"
                                          << " k";
        QTest::newRow("empty key") << "G"
                                   << "";
        QTest::newRow("] in group") << "a]b"
                                    << "k";
        QTest::newRow("LF in group") << "a\n[b"
                                     << "k";
        QTest::newRow("CR in group") << "a\rb"
                                     << "k";
        QTest::newRow("empty group") << ""
                                     << "k";
    }

    void unreadableKeysAndGroupsAreRefused()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        const QString path = file("refused.cfg");
        QFile::remove(path);
        LogCapture log;
        QString readBack;
        bool flushed = false;
        {
            ZConfig cfg(path, false);
            cfg.writeEntry(group, key, QStringLiteral("v"));
            readBack = cfg.readEntry(group, key, "none");
            flushed = cfg.flush();
        }
        const QStringList lines = log.finish();
        QCOMPARE(readBack, QStringLiteral("none"));
        QVERIFY(flushed);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first().startsWith("ZConfig: refused"));
    }

    void repeatedGroupsCountAsOne()
    {
        const QString path = file("dup.cfg");
        QVERIFY(writeFile(path, "[A]\nk = first\n[B]\nb = 1\n[A]\nk = second\nj = 3\n"));
        ZConfig cfg(path, false);
        QStringList groups;
        cfg.getGroupsKeyList(groups);
        QCOMPARE(groups, QStringList({"A", "B"}));
        QCOMPARE(cfg.readEntry("A", "k"), QStringLiteral("first"));
        QCOMPARE(cfg.readEntry("A", "j"), QStringLiteral("3"));
        cfg.writeEntry("A", "k", QStringLiteral("changed"));
        cfg.writeEntry("A", "n", QStringLiteral("new"));
        QVERIFY(cfg.flush());
        QCOMPARE(fileBytes(path),
                 QByteArray("[A]\nk = changed\n[B]\nb = 1\n[A]\nk = second\nj = 3\nn = new\n"));
        ZConfig again(path, false);
        QCOMPARE(again.readEntry("A", "k"), QStringLiteral("changed"));
    }

    void entriesBeforeAnyGroupBelongToNone()
    {
        const QString path = file("nogroup.cfg");
        QVERIFY(writeFile(path, "loose = 1\n[G]\nk = 2\n"));
        ZConfig cfg(path, false);
        QCOMPARE(cfg.readEntry("G", "loose", "none"), QStringLiteral("none"));
        QCOMPARE(cfg.readEntry("", "loose", "none"), QStringLiteral("none"));
        cfg.writeEntry("G", "loose", QStringLiteral("3"));
        QVERIFY(cfg.flush());
        QCOMPARE(fileBytes(path), QByteArray("loose = 1\n[G]\nk = 2\nloose = 3\n"));
    }

    void booleans_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("def");
        QTest::addColumn<bool>("expected");
        QTest::newRow("true") << QByteArray("true") << false << true;
        QTest::newRow("TRUE") << QByteArray("TRUE") << false << true;
        QTest::newRow("Yes") << QByteArray("Yes") << false << true;
        QTest::newRow("1") << QByteArray("1") << false << true;
        QTest::newRow("False") << QByteArray("False") << true << false;
        QTest::newRow("nO") << QByteArray("nO") << true << false;
        QTest::newRow("0") << QByteArray("0") << true << false;
        QTest::newRow("blanks") << QByteArray("  yes\t") << false << true;
        QTest::newRow("on is unknown") << QByteArray("on") << true << true;
        QTest::newRow("2 is unknown") << QByteArray("2") << false << false;
        QTest::newRow("empty") << QByteArray("") << true << true;
        QTest::newRow("truth") << QByteArray("truth") << false << false;
        QTest::newRow("01") << QByteArray("01") << false << false;
    }

    void booleans()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, def);
        QFETCH(bool, expected);
        const QString path = file("bool.cfg");
        QVERIFY(writeFile(path, "[G]\nk = " + text + "\n"));
        ZConfig cfg(path, false);
        QCOMPARE(cfg.readBoolEntry("G", "k", def), expected);
    }

    void numbers_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << QByteArray("42") << 42;
        QTest::newRow("blanks") << QByteArray(" \t42 ") << 42;
        QTest::newRow("negative") << QByteArray("-7") << -7;
        QTest::newRow("plus") << QByteArray("+7") << 7;
        QTest::newRow("leading zeros") << QByteArray("007") << 7;
        QTest::newRow("max") << QByteArray("2147483647") << INT_MAX;
        QTest::newRow("min") << QByteArray("-2147483648") << INT_MIN;
        QTest::newRow("above max") << QByteArray("2147483648") << -1;
        QTest::newRow("below min") << QByteArray("-2147483649") << -1;
        QTest::newRow("huge") << QByteArray("99999999999999999999999") << -1;
        QTest::newRow("hex") << QByteArray("0x10") << -1;
        QTest::newRow("trailing text") << QByteArray("12abc") << -1;
        QTest::newRow("inner blank") << QByteArray("1 2") << -1;
        QTest::newRow("empty") << QByteArray("") << -1;
        QTest::newRow("sign only") << QByteArray("-") << -1;
        QTest::newRow("fraction") << QByteArray("1.5") << -1;
        QTest::newRow("arabic digits") << QByteArray("\xd9\xa3") << -1;
    }

    void numbers()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, expected);
        const QString path = file("num.cfg");
        QVERIFY(writeFile(path, "[G]\nk = " + text + "\n"));
        ZConfig cfg(path, false);
        QCOMPARE(cfg.readNumEntry("G", "k", -1), expected);
    }

    void binaryGarbageAndHugeLinesAreSurvived()
    {
        const QString path = file("garbage.cfg");
        QByteArray data;
        quint32 seed = 12345;
        for (int i = 0; i < 200000; ++i) {
            seed = seed * 1103515245u + 12345u;
            data += static_cast<char>(seed >> 16);
        }
        data += "\n" + QByteArray(4 * 1024 * 1024, 'x') + "=" + QByteArray(1024 * 1024, 'y');
        data += "\n[Good]\nKey = value\n";
        const QByteArray tail = QByteArray("\n[") + QByteArray(2 * 1024 * 1024, 'z');
        data += tail;
        QVERIFY(writeFile(path, data));

        ZConfig cfg(path, false);
        QCOMPARE(cfg.readEntry("Good", "Key"), QStringLiteral("value"));
        cfg.writeEntry("Good", "Added", 1);
        QVERIFY(cfg.flush());
        // Every byte that was there is still there, the new key included.
        QByteArray expected = data;
        expected.insert(expected.size() - tail.size(), "Added = 1\n");
        QCOMPARE(fileBytes(path), expected + "\n");
    }

    void flushWithoutChangesWritesNothing()
    {
        const QString path = file("same.cfg");
        QVERIFY(writeFile(path, "[G]\nk=1\n"));
        const ino_t before = inodeOf(path);
        {
            ZConfig cfg(path, false);
            cfg.writeEntry("G", "k", QStringLiteral("1"));
            QVERIFY(cfg.flush());
        }
        QCOMPARE(inodeOf(path), before);
        QCOMPARE(fileBytes(path), QByteArray("[G]\nk=1\n"));
        {
            // A real change replaces the file (a new inode: renamed over it).
            ZConfig cfg(path, false);
            cfg.writeEntry("G", "k", 2);
            QVERIFY(cfg.flush());
            QVERIFY(cfg.flush());
        }
        QVERIFY(inodeOf(path) != before);
        QCOMPARE(fileBytes(path), QByteArray("[G]\nk = 2\n"));
    }

    void eachOpenReadsWhatTheLastFlushWrote()
    {
        const QString path = file("shared.cfg");
        ZConfig a(path, false);
        a.writeEntry("G", "k", 1);
        QVERIFY(a.flush());
        ZConfig b(path, false);
        QCOMPARE(b.readNumEntry("G", "k", 0), 1);
        b.writeEntry("G", "k", 2);
        QVERIFY(b.flush());
        QCOMPARE(ZConfig(path, false).readNumEntry("G", "k", 0), 2);
    }
};

ZK_TEST(ZConfigFormatTest)
#include "zconfig_format_test.moc"
