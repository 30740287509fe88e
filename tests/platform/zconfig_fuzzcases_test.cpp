// ZConfig on files the fuzz target found mishandled (fuzz/zconfig_fuzz.cpp);
// each case is also in the target's seed corpus.
#include "platform/zconfig.h"
#include "tests/common/logcapture.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"

#include <QFile>
#include <QTemporaryDir>

using namespace testfiles;

namespace {

}  // namespace

class ZConfigFuzzCasesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    // A file whose last line ends in a carriage return without a line feed:
    // the key written after that line must start a line of its own, not be
    // glued to it (which turned both into one value of the old key).
    void lastLineEndingInCarriageReturnKeepsNewKeysApart_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QString>("group");
        QTest::newRow("entry, same group") << QByteArray("[A]\nx=1\r") << QStringLiteral("A");
        QTest::newRow("entry, new group") << QByteArray("[A]\nx=1\r") << QStringLiteral("B");
        QTest::newRow("header only") << QByteArray("[A]\r") << QStringLiteral("A");
        QTest::newRow("carriage return alone") << QByteArray("\r") << QStringLiteral("A");
    }

    void lastLineEndingInCarriageReturnKeepsNewKeysApart()
    {
        QFETCH(QByteArray, original);
        QFETCH(QString, group);
        const QString path = m_dir.filePath(QStringLiteral("cr.cfg"));
        QVERIFY(writeFile(path, original));
        const QString oldX = ZConfig(path, false).readEntry("A", "x", "none");
        {
            ZConfig cfg(path, false);
            cfg.writeEntry(group, "y", QStringLiteral("2"));
            QVERIFY(cfg.flush());
        }
        const ZConfig cfg(path, false);
        QCOMPARE(cfg.readEntry(group, "y", "none"), QStringLiteral("2"));
        QCOMPARE(cfg.readEntry("A", "x", "none"), oldX);
        // The foreign line keeps its bytes, carriage return included.
        QVERIFY(fileBytes(path).startsWith(original));
    }

    // A key that starts with U+FEFF is written as a line that starts with
    // the bytes of a byte-order mark, which the reader drops: the value came
    // back under the key without it and never under its own. Refused now,
    // like every key the file cannot give back.
    void keyStartingWithByteOrderMarkIsRefused()
    {
        const QString path = m_dir.filePath(QStringLiteral("bom-key.cfg"));
        QVERIFY(writeFile(path, "[A]\nk=old\n"));
        const QString key = QChar(0xFEFF) + QStringLiteral("k");
        LogCapture log;
        {
            ZConfig cfg(path, false);
            cfg.writeEntry("A", key, 5);
            cfg.writeEntry("B", key, QStringLiteral("new"));
            QVERIFY(cfg.flush());
        }
        const QStringList lines = log.finish();
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.first().startsWith(QLatin1String("ZConfig: refused key")));
        QCOMPARE(fileBytes(path), QByteArray("[A]\nk=old\n"));
        const ZConfig cfg(path, false);
        QCOMPARE(cfg.readEntry("A", "k", "none"), QStringLiteral("old"));
        QCOMPARE(cfg.readEntry("B", "k", "none"), QStringLiteral("none"));
    }
};

ZK_TEST(ZConfigFuzzCasesTest)
#include "zconfig_fuzzcases_test.moc"
