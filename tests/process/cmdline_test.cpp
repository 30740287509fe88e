#include "process/cmdline.h"
#include "tests/common/ztest.h"
#include "tests/process/childprocs.h"

#include <QTemporaryDir>

using namespace zk::proc;

// Reading a task's command line, from written files and from real children.
class CmdlineTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QByteArray& bytes)
    {
        static int n = 0;
        const QString path = m_dir.filePath(QStringLiteral("cmdline%1").arg(++n));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return QString();
        return path;
    }

private slots:
    void fileRules_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("expected");
        QTest::newRow("NULs between arguments")
            << QByteArray("/usr/bin/app\0-x\0", 16) << 254 << QStringLiteral("/usr/bin/app -x ");
        QTest::newRow("final line feed dropped, once")
            << QByteArray("/usr/bin/app\n\n") << 254 << QStringLiteral("/usr/bin/app ");
        QTest::newRow("inner line feed is a blank")
            << QByteArray("a\nb") << 254 << QStringLiteral("a b");
        QTest::newRow("control bytes are blanks, 0x20 and up kept")
            << QByteArray("a\x01\x1f\x20\x7f"
                          "b")
            << 254 << QStringLiteral("a   \x7f"
                                     "b");
        QTest::newRow("Latin-1 bytes")
            << QByteArray("caf\xe9") << 254 << QStringLiteral("caf\u00e9");
        QTest::newRow("cut at the limit")
            << QByteArray(300, 'x') << 254 << QString(254, QLatin1Char('x'));
        QTest::newRow("line feed at the cut is dropped")
            << (QByteArray(253, 'x') + "\nrest") << 254 << QString(253, QLatin1Char('x'));
        QTest::newRow("dialog limit")
            << QByteArray(2000, 'y') << 1023 << QString(1023, QLatin1Char('y'));
    }
    void fileRules()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, limit);
        QFETCH(QString, expected);
        const QString path = writeFile(bytes);
        QVERIFY(!path.isEmpty());
        QCOMPARE(readCmdline(path, limit), expected);
    }

    void noTextIsNull()
    {
        QVERIFY(readCmdline(writeFile(QByteArray())).isNull());
        QVERIFY(readCmdline(writeFile("\n")).isNull());
        QVERIFY(readCmdline(m_dir.filePath(QStringLiteral("missing"))).isNull());
        QVERIFY(readCmdline(writeFile("abc"), 0).isNull());
        // A first byte of NUL: the task was started with an empty argv[0].
        QVERIFY(readCmdline(writeFile(QByteArray("\0\0", 2))).isNull());
        QVERIFY(readCmdline(writeFile(QByteArray("\0/mmc/mmca1/app -x\0", 20))).isNull());
        ChildGroup children;
        const pid_t pid = children.start({"", "/mmc/mmca1/app"});
        QVERIFY(pid > 0);
        QVERIFY(readCmdline(pid).isNull());
        QVERIFY(readCmdline(pid, 1023).isNull());
    }

    // The NUL after the last argument becomes a trailing blank.
    void realChildArgumentsAndControlBytes()
    {
        ChildGroup children;
        const pid_t pid = children.start({"/lib/ld-linux.so.2", "/mmc/mmca1/app/app", "", "a\tb\x01"
                                                                                          "c",
                                          "caf\xe9"});
        QVERIFY(pid > 0);
        QCOMPARE(readCmdline(pid),
                 QStringLiteral("/lib/ld-linux.so.2 /mmc/mmca1/app/app  a b c caf\u00e9 "));
    }

    void realChildLongCommandLineIsCut()
    {
        ChildGroup children;
        const QByteArray arg(400, 'z');
        const pid_t pid = children.start({"/usr/bin/long", arg});
        QVERIFY(pid > 0);
        const QString text = readCmdline(pid);
        QCOMPARE(text.size(), 254);
        QCOMPARE(text, QStringLiteral("/usr/bin/long ") + QString(240, QLatin1Char('z')));
        QCOMPARE(readCmdline(pid, 1023).size(), 14 + 400 + 1);
    }

    void goneProcessIsNull()
    {
        const pid_t pid = startChild({"/usr/bin/short"});
        QVERIFY(pid > 0);
        stopChild(pid);
        QVERIFY(readCmdline(pid).isNull());
    }
};
ZK_TEST(CmdlineTest)
#include "cmdline_test.moc"
