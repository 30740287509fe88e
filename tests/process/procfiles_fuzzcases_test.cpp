// The details dialog's readers on files the fuzz targets found mishandled
// (fuzz/procmaps_fuzz.cpp); each case is also in the target's seed corpus.
#include "process/procstatus.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"

#include <QFile>
#include <QTemporaryDir>

using namespace zk::proc;

class ProcFilesFuzzCasesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& text)
    {
        const QString path = m_dir.filePath(name);
        return testfiles::writeFile(path, text) ? path : QString();
    }

private slots:
    // The files are read byte by byte as Latin-1, also when their first
    // bytes look like a byte-order mark; then they were decoded as UTF-16
    // or UTF-8 and every path and field was lost or garbled.
    void firstBytesLikeAByteOrderMarkAreLatin1_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("UTF-16 big-endian") << QByteArray("\xfe\xff");
        QTest::newRow("UTF-16 little-endian") << QByteArray("\xff\xfe");
        QTest::newRow("UTF-8") << QByteArray("\xef\xbb\xbf");
    }

    void firstBytesLikeAByteOrderMarkAreLatin1()
    {
        QFETCH(QByteArray, start);
        const QByteArray maps = start + "\n7f00-7f10 r-xp 00000000 08:01 1 /usr/lib/libc.so.6\n"
                                        "7f10-7f20 r-xp 00000000 08:01 2 /lib/libz\xe9.so\n";
        const QString mapsPath = write(QStringLiteral("maps"), maps);
        QVERIFY(!mapsPath.isEmpty());
        QCOMPARE(readMappedPaths(mapsPath),
                 (QStringList{QStringLiteral("/usr/lib/libc.so.6"), QString::fromLatin1("/lib/libz\xe9.so")}));

        const QString statusPath = write(QStringLiteral("status"), start + "\nState:\tR (running)\nThreads:\t3\n");
        QVERIFY(!statusPath.isEmpty());
        QCOMPARE(getStatusField(statusPath, QStringLiteral("State:"), false), QStringLiteral("R (running)"));
        QCOMPARE(getStatusField(statusPath, QStringLiteral("Threads:"), true), QStringLiteral("Threads: 3"));
    }
};
ZK_TEST(ProcFilesFuzzCasesTest)
#include "procfiles_fuzzcases_test.moc"
