// JAMInfo index records into Java names.
#include "catalogue/javaindex.h"
#include "tests/common/ztest.h"

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <memory>
#include <thread>

#include <sys/stat.h>

class JavaIndexTest : public QObject
{
    Q_OBJECT

private slots:
    void nameIsCutAtTheFirstBar()
    {
        JavaNames names;
        QCOMPARE(parseJavaIndex("12||Snake|Nokia|1.0\n13||Tetris|x\n", names), 0);
        QCOMPARE(names.value("12"), QStringLiteral("Snake"));
        QCOMPARE(names.value("13"), QStringLiteral("Tetris"));
        QCOMPARE(names.size(), 2);
    }

    void lastLineWithoutLineEndIsARecordToo()
    {
        JavaNames names;
        QCOMPARE(parseJavaIndex("1||One|a\n2||Two|b", names), 0);
        QCOMPARE(names.value("2"), QStringLiteral("Two"));
        JavaNames bare;
        parseJavaIndex("3||Three", bare);
        QCOMPARE(bare.value("3"), QStringLiteral("Three"));
        JavaNames empty;
        parseJavaIndex("4||", empty);
        QVERIFY(empty.contains("4"));
        QCOMPARE(empty.value("4"), QString());
    }

    void nameWithoutAFurtherBarKeepsItsLineEnd()
    {
        JavaNames names;
        parseJavaIndex("5||Chess\n6||Dos\r\n", names);
        QCOMPARE(names.value("5"), QStringLiteral("Chess\n"));
        QCOMPARE(names.value("6"), QStringLiteral("Dos\r\n"));
    }

    void numbersAreStoredInTheirPlainDecimalForm()
    {
        JavaNames names;
        parseJavaIndex("007||Bond|\n000||Zero|\n \t 42||Blanks|\n2147483647||Max|\n", names);
        QCOMPARE(names.keys(), QStringList({"0", "2147483647", "42", "7"}));
        QCOMPARE(names.value("7"), QStringLiteral("Bond"));
        QCOMPARE(names.value("0"), QStringLiteral("Zero"));
        QCOMPARE(names.value("42"), QStringLiteral("Blanks"));
    }

    void linesThatAreNotRecordsAreSkippedAndCounted()
    {
        JavaNames names;
        const int skipped = parseJavaIndex("header line\n"
                                           "\n"
                                           "9|Single|\n"
                                           "-3||Negative|\n"
                                           "10 ||Blank before bars|\n"
                                           "2147483648||Too big|\n"
                                           "||No number|\n"
                                           "   \t\n"
                                           "11||Good|\n",
                                           names);
        QCOMPARE(skipped, 6);
        QCOMPARE(names.keys(), QStringList{"11"});
    }

    void longLinesKeepTheirFirst254BytesAndNothingElse()
    {
        JavaNames names;
        const QByteArray longName(300, 'x');
        parseJavaIndex("20||" + longName + "22||Fake|\n21||Next|\n", names);
        QCOMPARE(names.value("20"), QString(javaIndexPieceBytes, QLatin1Char('x')));
        QVERIFY(!names.contains("22"));
        QCOMPARE(names.value("21"), QStringLiteral("Next"));

        // 253 bytes and the line end make exactly one whole piece.
        JavaNames exact;
        parseJavaIndex("30||" + QByteArray(253, 'y') + "\n", exact);
        QCOMPARE(exact.value("30"), QString(253, QLatin1Char('y')) + '\n');
    }

    void namesKeepTheirBytesAsLatin1()
    {
        JavaNames names;
        const QByteArray utf8 = QString::fromUtf8("Игра").toUtf8();
        parseJavaIndex("40||" + utf8 + "|vendor\n", names);
        QCOMPARE(names.value("40"), QString::fromLatin1(utf8));
        QCOMPARE(QString::fromUtf8(names.value("40").toLatin1()), QString::fromUtf8("Игра"));
    }

    void laterRecordOfTheSameNumberWins()
    {
        JavaNames names;
        parseJavaIndex("1||First|\n01||Second|\n", names);
        parseJavaIndex("1||Third|\n", names);
        QCOMPARE(names.size(), 1);
        QCOMPARE(names.value("1"), QStringLiteral("Third"));
    }

    void emptyAndBinaryInputAreSurvived()
    {
        JavaNames names;
        QCOMPARE(parseJavaIndex(QByteArray(), names), 0);
        QVERIFY(names.isEmpty());
        QByteArray garbage;
        quint32 seed = 99;
        for (int i = 0; i < 100000; ++i) {
            seed = seed * 1664525u + 1013904223u;
            garbage += static_cast<char>(seed >> 24);
        }
        garbage += "\n77||Survivor|\n";
        parseJavaIndex(garbage, names);
        QCOMPARE(names.value("77"), QStringLiteral("Survivor"));
    }

    // A runaway index used to be read whole, every record kept: 100 MB gave
    // millions of names. Only its first 4 MB count, up to a line end there.
    void indexOverTheBoundIsCutAtALineEnd()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("index");
        QByteArray text;
        int records = 0;
        while (text.size() < javaIndexMaxBytes + 1000) {
            ++records;
            text += QByteArray::number(records) + "||MIDlet " + QByteArray::number(records) + "|v|1.0\n";
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(text), text.size());
        f.close();

        const qsizetype lastEnd = text.lastIndexOf('\n', javaIndexMaxBytes - 1);
        const int kept = static_cast<int>(text.left(lastEnd + 1).count('\n'));
        JavaNames names;
        const JavaIndexRead read = readJavaIndexFile(path, names);
        QVERIFY(read.opened);
        QVERIFY(read.cut);
        QCOMPARE(read.skippedLines, 0);
        QCOMPARE(names.size(), kept);
        QCOMPARE(names.value(QString::number(kept)), QStringLiteral("MIDlet %1").arg(kept));
        QVERIFY(!names.contains(QString::number(kept + 1)));
        QVERIFY(kept < records);

        // Within the bound nothing is cut.
        JavaNames small;
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(f.write(text.left(lastEnd + 1)) == lastEnd + 1);
        f.close();
        QVERIFY(!readJavaIndexFile(path, small).cut);
        QCOMPARE(small.size(), kept);
    }

    // A pipe at the index's path would block the start-up for good.
    void pipeIsNotRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("index");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        auto read = std::make_shared<JavaIndexRead>();
        auto done = std::make_shared<std::atomic<bool>>(false);
        std::thread([path, read, done] {
            JavaNames names;
            *read = readJavaIndexFile(path, names);
            *done = true;
        }).detach();
        QTRY_VERIFY_WITH_TIMEOUT(done->load(), 60000);
        QVERIFY(read->notRegular);
        QVERIFY(!read->opened);
    }
};

ZK_TEST(JavaIndexTest)
#include "javaindex_test.moc"
