// ZConfig and what it must not take in: files of too many lines or bytes,
// pipes and devices (each read as empty with one log line and never
// replaced; a file just within the bounds is read as usual), and names and
// values made of control characters and broken text.
#include "platform/boundedread.h"
#include "platform/zconfig.h"
#include "tests/common/logcapture.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

#include <sys/stat.h>

using namespace testfiles;

namespace {

// Short lines: "[G]" then one key per line.
QByteArray linesOfKeys(int lines)
{
    QByteArray text = "[G]\n";
    for (int i = 1; i < lines; ++i)
        text += "k" + QByteArray::number(i) + "=v\n";
    return text;
}

struct Use
{
    QString read;
    bool flushed = true;
    QStringList log;
};

// Reads G/k1 and writes G/new, as a reader and a writer of the file would.
Use readAndWrite(const QString& path)
{
    Use use;
    LogCapture log;
    {
        ZConfig cfg(path, false);
        use.read = cfg.readEntry("G", "k1", "default");
        cfg.writeEntry("G", "new", 1);
        use.flushed = cfg.flush();
    }
    use.log = log.finish();
    return use;
}

}  // namespace

class ZConfigHostileInputTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    // A file of a few MB of short lines used to take some 250 bytes of
    // memory per line (4 GB for 60 MB): past 200,000 lines it is refused.
    void fileOfTooManyLinesIsRefusedAndNeverReplaced()
    {
        const QString path = m_dir.filePath("dense.cfg");
        const QByteArray text = linesOfKeys(200001);
        QVERIFY(writeFile(path, text));
        const Use use = readAndWrite(path);
        QCOMPARE(use.read, QStringLiteral("default"));
        QVERIFY(!use.flushed);
        QCOMPARE(use.log, QStringList({"ZConfig: " + path + " has more than 200000 lines, ignored",
                                       "ZConfig: not writing " + path + ", it could not be read"}));
        QVERIFY(fileBytes(path) == text);
    }

    // The most lines are read; a write that would go past them is refused,
    // so that the store never writes what it would not read back.
    void fileOfTheMostLinesIsReadAndKeptReadable()
    {
        const QString path = m_dir.filePath("full.cfg");
        const QByteArray text = linesOfKeys(200000);
        QVERIFY(writeFile(path, text));
        const Use use = readAndWrite(path);
        QCOMPARE(use.read, QStringLiteral("v"));
        QVERIFY(!use.flushed);
        QCOMPARE(use.log, QStringList{"ZConfig: not writing " + path + ", it would be too large to read back"});
        QVERIFY(fileBytes(path) == text);

        // Changing a key in place adds no line.
        {
            ZConfig cfg(path, false);
            cfg.writeEntry("G", "k199999", 2);
            QVERIFY(cfg.flush());
        }
        QCOMPARE(ZConfig(path, false).readEntry("G", "k199999"), QStringLiteral("2"));
    }

    void fileOverEightMBIsRefusedAndOneOfEightMBIsRead()
    {
        const QString path = m_dir.filePath("big.cfg");
        const QByteArray head = "[G]\nk1 = v\nlong = ";
        QByteArray text = head + QByteArray(8 * 1024 * 1024 - head.size() - 1, 'x') + "\n";
        QCOMPARE(text.size(), 8 * 1024 * 1024);
        QVERIFY(writeFile(path, text));
        Use use = readAndWrite(path);
        QCOMPARE(use.read, QStringLiteral("v"));
        QVERIFY(!use.flushed);
        QCOMPARE(use.log, QStringList{"ZConfig: not writing " + path + ", it would be too large to read back"});

        text += "x";
        QVERIFY(text.size() > 8 * 1024 * 1024);
        QVERIFY(writeFile(path, text));
        use = readAndWrite(path);
        QCOMPARE(use.read, QStringLiteral("default"));
        QVERIFY(!use.flushed);
        QCOMPARE(use.log.value(0), "ZConfig: " + path + " is too large, ignored");
        QVERIFY(fileBytes(path) == text);
    }

    // Opening a pipe for reading waits for a writer, and a device such as
    // /dev/zero never ends: neither is opened, and neither is replaced.
    void pipesAndDevicesAreNeitherReadNorReplaced()
    {
        const QString pipe = m_dir.filePath("pipe.cfg");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        const QString zero = m_dir.filePath("zero.cfg");
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));

        for (const QString& path : {pipe, zero}) {
            // In a thread, so that a reader stuck on the pipe fails this
            // test instead of hanging the program.
            auto use = std::make_shared<Use>();
            auto done = std::make_shared<std::atomic<bool>>(false);
            std::thread([path, use, done] {
                *use = readAndWrite(path);
                *done = true;
            }).detach();
            QTRY_VERIFY_WITH_TIMEOUT(done->load(), 60000);
            QCOMPARE(use->read, QStringLiteral("default"));
            QVERIFY(!use->flushed);
            QCOMPARE(use->log.value(0), "ZConfig: " + path + " is not a regular file, ignored");
        }
        QVERIFY(QFileInfo(zero).isSymLink());
        struct stat st = {};
        QVERIFY(::stat(QFile::encodeName(pipe).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    }

    // Every control character, Latin-1 byte and odd code point in a value,
    // and most of them in a group or key name, comes back as written and
    // makes no other line, group or key.
    void controlCharactersInNamesAndValuesComeBackAsWritten()
    {
        const QString path = m_dir.filePath("chars.cfg");
        QString value;
        for (char16_t c = 1; c < 0x100; ++c)
            value += QChar(c);
        value = QChar(0) + value + QStringLiteral("\u2028\u2029\ufeff\ufffd") + QString::fromUtf8("\xf0\x9f\x98\x80");
        const QString group = QStringLiteral("g\x1b[31m") + QChar(0) + QStringLiteral("\x7f\u0080\u00ff=x;y#");
        const QString key = QStringLiteral("k") + QChar(0) + QStringLiteral("\x01\x1b\x7f\u0085\u00a0[x]");
        LogCapture log;
        {
            ZConfig cfg(path, false);
            cfg.writeEntry(group, key, value);
            cfg.writeEntry(QStringLiteral("Plain"), QStringLiteral("after"), QStringLiteral("end"));
            QVERIFY(cfg.flush());
        }
        QVERIFY(log.finish().isEmpty());
        QCOMPARE(fileBytes(path).count('\n'), 5);  // two headers, two entries, one blank line

        ZConfig cfg(path, false);
        QStringList groups;
        cfg.getGroupsKeyList(groups);
        QCOMPARE(groups, QStringList({group, QStringLiteral("Plain")}));
        QCOMPARE(cfg.readEntry(group, key), value);
        QCOMPARE(cfg.readEntry(QStringLiteral("Plain"), QStringLiteral("after")), QStringLiteral("end"));
    }

    // The bounded read goes to the end of what is there, whatever size the
    // device reported first, and stops one byte past the limit.
    void boundedReadStopsAtTheLimitNotAtTheFirstSize()
    {
        // Reports no size, as a pipe or a /proc file does.
        class Unsized : public QIODevice
        {
        public:
            explicit Unsized(const QByteArray& data)
                : m_data(data)
            {
                open(QIODevice::ReadOnly);
            }
            bool isSequential() const override { return true; }

        protected:
            qint64 readData(char* out, qint64 max) override
            {
                const qint64 n = std::min<qint64>(max, m_data.size() - m_at);
                if (n <= 0)
                    return -1;
                std::memcpy(out, m_data.constData() + m_at, static_cast<size_t>(n));
                m_at += n;
                return n;
            }
            qint64 writeData(const char*, qint64) override { return -1; }

        private:
            QByteArray m_data;
            qint64 m_at = 0;
        };
        const QByteArray text = QByteArray(3 * 1024 * 1024 + 17, 'a');
        Unsized device(text);
        QCOMPARE(device.size(), 0);
        QVERIFY(readAtMost(device, 8 * 1024 * 1024) == text);

        Unsized longer(text);
        QCOMPARE(readAtMost(longer, 1024 * 1024).size(), 1024 * 1024 + 1);

        QBuffer exact;
        exact.setData(text);
        QVERIFY(exact.open(QIODevice::ReadOnly));
        QVERIFY(readAtMost(exact, text.size()) == text);
    }

    // A file whose last line ends in a bare carriage return: a key added
    // after that line used to be glued onto it ("k = 1\rnew = 2"), so that
    // the new key could not be read and k's value changed.
    void carriageReturnAtTheEndDoesNotGlueTheNextLineOn()
    {
        const QString path = m_dir.filePath("cr.cfg");
        QVERIFY(writeFile(path, "[G]\nk = 1\r"));
        {
            ZConfig cfg(path, false);
            QCOMPARE(cfg.readEntry("G", "k"), QStringLiteral("1"));
            cfg.writeEntry("G", "new", 2);
            QVERIFY(cfg.flush());
        }
        QCOMPARE(fileBytes(path), QByteArray("[G]\nk = 1\r\nnew = 2\n"));
        ZConfig cfg(path, false);
        QCOMPARE(cfg.readEntry("G", "k"), QStringLiteral("1"));
        QCOMPARE(cfg.readEntry("G", "new"), QStringLiteral("2"));
    }
};

ZK_TEST(ZConfigHostileInputTest)
#include "zconfig_hostile_test.moc"
