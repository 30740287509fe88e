// Files made to hurt: a configuration file, registries and Java indexes of
// 100 MB, of random bytes, with lines of 1 MB, with 10,000 groups, with
// control characters and broken UTF-8 in names. Each use runs the program's
// own code in a child (tests/helpers/zk_file_reader), so that a crash is
// seen as one and its peak memory is its own. Checked: it ends normally,
// says so in a log line where it refused or cut the input, stays within
// 300 MB above its start, writes nothing when only reading (bytes and
// modification times of every file, no new file), and when asked to write
// keeps what it did not change, or refuses with a log line.
// The figures are printed one line per use ("hostile: ...").
#include "tests/common/ztest.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

#include <sys/stat.h>

namespace {

constexpr qint64 MB = 1024 * 1024;
constexpr qint64 memoryBoundKb = 300 * 1024;

const QString configPhone = QStringLiteral("/setup/zKestrel.cfg");
const QString cardRegistry = QStringLiteral("/mmc/mmca1/.system/java/CardRegistry");
const QString sysRegistry = QStringLiteral("/usr/data_resource/preloadapps/SysRegistry");
const QString installedDb = QStringLiteral("/ezxlocal/download/appwrite/am/InstalledDB");
const QString cardJavaFolder = QStringLiteral("/mmc/mmca1/.system/java_1");
const QString cardIndex = QStringLiteral("/mmc/mmca1/.system/java_1/JAMInfo/index");
const QString phoneIndex = QStringLiteral("/ezxlocal/download/mystuff/.system/java/JAMInfo/index");

// A literal with its NULs.
template <size_t N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, static_cast<qsizetype>(N - 1));
}

QByteArray randomBytes(qint64 size, quint64 seed)
{
    QByteArray out(size, Qt::Uninitialized);
    quint64 x = seed | 1;
    for (qint64 i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        out[i] = static_cast<char>(x >> 24);
    }
    return out;
}

// Text repeated up to exactly `size` bytes.
QByteArray repeatTo(const QByteArray& unit, qint64 size)
{
    QByteArray out;
    out.reserve(size);
    while (out.size() + unit.size() <= size)
        out += unit;
    out += unit.left(size - out.size());
    return out;
}

QByteArray registryGroup(int i)
{
    return QStringLiteral("[app%1]\nName = App %1\nExec = /usr/bin/app%1\nIcon = app%1.png\n"
                          "AppID = {00000000-0000-0000-0000-%2}\nDirectory = /usr/apps/app%1\n\n")
        .arg(i)
        .arg(i, 12, 10, QLatin1Char('0'))
        .toUtf8();
}

// Registry groups up to `size` bytes (the last one cut where it falls).
QByteArray registryOf(qint64 size)
{
    QByteArray out;
    out.reserve(size);
    for (int i = 0; out.size() < size; ++i)
        out += registryGroup(i);
    out.truncate(size);
    return out;
}

QByteArray indexOf(qint64 size)
{
    QByteArray out;
    out.reserve(size);
    for (int i = 1; out.size() < size; ++i)
        out += QByteArray::number(i) + "||MIDlet " + QByteArray::number(i) + "|vendor|1.0\n";
    out.truncate(size);
    return out;
}

struct FileState
{
    QByteArray md5;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    bool operator==(const FileState& o) const { return md5 == o.md5 && size == o.size && mtimeNs == o.mtimeNs; }
};

using Snapshot = QMap<QString, FileState>;

Snapshot snapshot(const QString& root)
{
    Snapshot s;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        FileState f;
        struct stat st = {};
        if (::lstat(QFile::encodeName(path).constData(), &st) == 0) {
            f.size = st.st_size;
            f.mtimeNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        }
        QFile file(path);
        if (S_ISREG(st.st_mode) && file.open(QIODevice::ReadOnly)) {
            QCryptographicHash hash(QCryptographicHash::Md5);
            hash.addData(&file);
            f.md5 = hash.result();
        }
        s.insert(path.mid(root.size()), f);
    }
    return s;
}

struct Reading
{
    QStringList lines;
    qint64 ms = -1;
    qint64 extraKb = -1;
    qint64 peakKb = -1;

    // The value after "<prefix> " on the first line that starts so.
    QString value(const QString& prefix) const
    {
        for (const QString& line : lines) {
            if (line.startsWith(prefix + QLatin1Char(' ')))
                return line.mid(prefix.size() + 1);
        }
        return QStringLiteral("<none>");
    }
    bool has(const QString& part) const
    {
        for (const QString& line : lines) {
            if (line.contains(part))
                return true;
        }
        return false;
    }
};

}  // namespace

class HostileFilesTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_case;
    QString m_caseName;
    QStringList m_figures;

    QString writePath() const { return m_case->path() + QStringLiteral("/write"); }
    QString deviceRoot() const { return m_case->path() + QStringLiteral("/device"); }
    QString configFile() const { return writePath() + configPhone; }
    QString phoneFile(const QString& phonePath) const { return deviceRoot() + phonePath; }

    void newCase(const QString& name)
    {
        m_case = std::make_unique<QTemporaryDir>();
        m_caseName = name;
        QVERIFY(m_case->isValid());
        QVERIFY(QDir().mkpath(writePath() + QStringLiteral("/setup")));
        QVERIFY(QDir().mkpath(deviceRoot()));
    }

    void put(const QString& path, const QByteArray& data)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(data), data.size());
    }

    QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    // Runs one use in a child; fails the test when it crashes, hangs or
    // goes over the memory bound.
    Reading run(const QString& use, const QString& what)
    {
        Reading r;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("EZX_APP_WRITE_PATH"), writePath());
        env.insert(QStringLiteral("EZX_DEVICE_ROOT"), deviceRoot());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.start(QStringLiteral(ZK_BIN_DIR "/zk_file_reader"), {use});
        if (!child.waitForStarted(30000)) {
            QTest::qFail("zk_file_reader did not start", __FILE__, __LINE__);
            return r;
        }
        // A hang fails here; the time itself is only recorded.
        if (!child.waitForFinished(300000)) {
            child.kill();
            child.waitForFinished(10000);
            QTest::qFail(qPrintable(m_caseName + QStringLiteral(" ") + use + QStringLiteral(": no end within 5 minutes")),
                         __FILE__, __LINE__);
            return r;
        }
        r.lines = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QString errors = QString::fromUtf8(child.readAllStandardError());
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            QTest::qFail(qPrintable(m_caseName + QStringLiteral(" ") + use + QStringLiteral(": crashed or failed: ")
                                    + errors.right(400)),
                         __FILE__, __LINE__);
            return r;
        }
        const QString figures = r.value(QStringLiteral("figures"));
        for (const QString& part : figures.split(QLatin1Char(' '))) {
            const QString name = part.section(QLatin1Char('='), 0, 0);
            const qint64 n = part.section(QLatin1Char('='), 1).toLongLong();
            if (name == QStringLiteral("ms"))
                r.ms = n;
            else if (name == QStringLiteral("peak_kb"))
                r.peakKb = n;
            else if (name == QStringLiteral("start_kb"))
                r.extraKb = -n;
        }
        r.extraKb += r.peakKb;
        const QString line = QStringLiteral("hostile: %1 | %2 | %3 | %4 ms | peak %5 MB (+%6 MB)")
                                 .arg(m_caseName, use, what)
                                 .arg(r.ms)
                                 .arg(r.peakKb / 1024)
                                 .arg(r.extraKb / 1024);
        m_figures << line;
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
        if (r.ms < 0 || r.peakKb <= 0)
            QTest::qFail(qPrintable(QStringLiteral("no figures from ") + use + QStringLiteral(": ") + r.lines.join('|').right(300)),
                         __FILE__, __LINE__);
        else if (r.extraKb >= memoryBoundKb)
            QTest::qFail(qPrintable(QStringLiteral("%1 %2: %3 MB above its start").arg(m_caseName, use).arg(r.extraKb / 1024)),
                         __FILE__, __LINE__);
        return r;
    }

    static QString sizeText(qint64 bytes)
    {
        return bytes >= MB ? QStringLiteral("%1 MB").arg(bytes / MB) : QStringLiteral("%1 KB").arg(bytes / 1024);
    }

    // The settings a start-up gets from a file that gives it nothing.
    static void expectDefaults(const Reading& r)
    {
        QCOMPARE(r.value("setting TimeInCaption"), QStringLiteral("false"));
        QCOMPARE(r.value("setting SendReaisePhone"), QStringLiteral("true"));
        QCOMPARE(r.value("setting ShowAllTask"), QStringLiteral("false"));
        QVERIFY(r.value("setting FiltrProcList").startsWith("72 !am!zKestrel!phone!"));
        QCOMPARE(r.value("setting PanelFontSize"), QStringLiteral("14"));
        QCOMPARE(r.value("setting ListFontSize"), QStringLiteral("16"));
        QCOMPARE(r.value("setting PanelColor"), QStringLiteral("#000000"));
        QCOMPARE(r.value("setting ActionOnC"), QStringLiteral("0"));
    }

    // Read-only uses of a configuration file change nothing anywhere.
    Reading readConfigOnly(const QString& what)
    {
        const Snapshot before = snapshot(m_case->path());
        Reading startup = run(QStringLiteral("startup"), what);
        if (QTest::currentTestFailed())
            return startup;
        run(QStringLiteral("favourites"), what);
        if (QTest::currentTestFailed())
            return startup;
        const Snapshot after = snapshot(m_case->path());
        if (!(after == before))
            QTest::qFail("a read-only use changed the files", __FILE__, __LINE__);
        return startup;
    }

    // Read-only uses of the phone's files change nothing anywhere.
    QPair<Reading, Reading> readDeviceOnly(const QString& what)
    {
        const Snapshot before = snapshot(m_case->path());
        QPair<Reading, Reading> r;
        r.first = run(QStringLiteral("startup"), what);
        if (QTest::currentTestFailed())
            return r;
        r.second = run(QStringLiteral("adddialog"), what);
        if (QTest::currentTestFailed())
            return r;
        if (!(snapshot(m_case->path()) == before))
            QTest::qFail("a read-only use changed the files", __FILE__, __LINE__);
        return r;
    }

    // The phone's other files, ordinary: one application in the card's
    // registry, one in InstalledDB, one Java name on the card.
    void putOrdinaryDeviceFiles(const QStringList& except)
    {
        const QList<QPair<QString, QByteArray>> files{
            {cardRegistry, "[card]\nName = Card App\nExec = /mmc/bin/cardapp\nIcon = card.png\n"
                           "AppID = {00000000-0000-0000-0000-0000000000ca}\n"},
            {installedDb, "[inst]\nName = Installed\nAppID = {00000000-0000-0000-0000-0000000000de}\nIcon = i.g\n"},
            {cardIndex, "7||Card MIDlet|x\n"},
        };
        QVERIFY(QDir().mkpath(phoneFile(cardJavaFolder)));
        for (const auto& f : files) {
            if (!except.contains(f.first))
                put(phoneFile(f.first), f.second);
        }
    }

private slots:
    void cleanupTestCase()
    {
        std::printf("hostile figures (case | use | files | time | peak memory):\n");
        for (const QString& line : m_figures)
            std::printf("  %s\n", qPrintable(line));
        std::fflush(stdout);
    }

    void cleanup() { m_case.reset(); }

    // ---- the configuration file ----

    void configOf100MBIsRefusedAndNeverReplaced()
    {
        newCase(QStringLiteral("config 100 MB"));
        put(configFile(), repeatTo("[General]\nTimeInCaption = true\n[App]\nname0 = x\nrun0 = y\n", 100 * MB));
        const QString what = sizeText(100 * MB);
        const Reading startup = readConfigOnly(what);
        QVERIFY(!QTest::currentTestFailed());
        expectDefaults(startup);
        QVERIFY(startup.has(QStringLiteral("ZConfig: ") + configFile() + QStringLiteral(" is too large, ignored")));

        const QByteArray before = bytesOf(configFile());
        const Reading write = run(QStringLiteral("write"), what);
        QCOMPARE(write.value("flushed"), QStringLiteral("0"));
        QVERIFY(write.has(QStringLiteral("ZConfig: not writing ") + configFile()));
        const Reading add = run(QStringLiteral("addfavourite"), what);
        QCOMPARE(add.value("slot"), QStringLiteral("-1"));
        QVERIFY(bytesOf(configFile()) == before);
        QCOMPARE(QDir(writePath() + "/setup").entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{"zKestrel.cfg"});
    }

    void configOfRandomBytesGivesDefaultsAndKeepsThem()
    {
        newCase(QStringLiteral("config random bytes"));
        const QByteArray garbage = randomBytes(6 * MB, 20240601);
        QVERIFY(garbage.contains('\0'));
        put(configFile(), garbage);
        const QString what = sizeText(garbage.size());
        const Reading startup = readConfigOnly(what);
        QVERIFY(!QTest::currentTestFailed());
        expectDefaults(startup);

        const Reading write = run(QStringLiteral("write"), what);
        QCOMPARE(write.value("flushed"), QStringLiteral("1"));
        // Every byte stays; the new group follows them.
        const QByteArray after = bytesOf(configFile());
        QVERIFY(after.startsWith(garbage));
        QVERIFY(after.endsWith("\n[General]\nTimeInCaption = true\n"));
        QVERIFY(after.size() - garbage.size() < 40);
        const Reading again = run(QStringLiteral("startup"), what);
        QCOMPARE(again.value("setting TimeInCaption"), QStringLiteral("true"));
        QCOMPARE(again.value("setting PanelFontSize"), QStringLiteral("14"));
    }

    void configWithLinesOf1MB()
    {
        newCase(QStringLiteral("config 1 MB lines"));
        // Multi-byte characters, the last line cut inside one, without a
        // line end.
        const QByteArray wide = repeatTo("\xd0\xb6", MB);
        QByteArray text = "# " + QByteArray(MB, 'c') + "\n"
                                                       "[General]\nTimeInCaption = false\n"
                                                       "[Task]\nFiltrProcList = !"
                          + QByteArray(MB, 'f') + "!\n"
                          + QByteArray(MB, 'k') + " = a key of 1 MB\n"
                                                  "["
                          + QByteArray(MB, 'g') + "]\nk = v\n"
                                                  "[App]\nname0 = "
                          + wide + "\nrun0 = /bin/true\n"
                                   "[Font]\nPanelFontSize = 9\nlast = "
                          + wide + "\xd0";
        put(configFile(), text);
        const QString what = sizeText(text.size());
        const Reading startup = readConfigOnly(what);
        QVERIFY(!QTest::currentTestFailed());
        QCOMPARE(startup.value("setting FiltrProcList").section(' ', 0, 0), QString::number(MB + 2));
        QCOMPARE(startup.value("setting PanelFontSize"), QStringLiteral("9"));

        const Reading write = run(QStringLiteral("write"), what);
        QCOMPARE(write.value("flushed"), QStringLiteral("1"));
        // The changed line changes; every other byte stays.
        QByteArray expected = text;
        expected.replace("TimeInCaption = false", "TimeInCaption = true");
        QVERIFY(bytesOf(configFile()) == expected + "\n");
        const Reading add = run(QStringLiteral("addfavourite"), what);
        QCOMPARE(add.value("slot"), QStringLiteral("1"));
        const Reading favourites = run(QStringLiteral("favourites"), what);
        QCOMPARE(favourites.value("favourites"), QStringLiteral("2"));
    }

    void configWith10000Groups()
    {
        newCase(QStringLiteral("config 10,000 groups"));
        QByteArray text;
        for (int i = 0; i < 10000; ++i)
            text += QStringLiteral("[Group %1]\nkey = value %1\nother = %1\n").arg(i).toUtf8();
        text += "[General]\nTimeInCaption = false\n[Font]\nPanelFontSize = 11\n[App]\n";
        for (int slot = 0; slot < 19; ++slot)
            text += QStringLiteral("name%1 = App %1\nrun%1 = /bin/app%1\n").arg(slot).toUtf8();
        put(configFile(), text);
        const QString what = QStringLiteral("10,000 groups, ") + sizeText(text.size());
        const Reading startup = readConfigOnly(what);
        QVERIFY(!QTest::currentTestFailed());
        QCOMPARE(startup.value("setting PanelFontSize"), QStringLiteral("11"));

        QCOMPARE(run(QStringLiteral("write"), what).value("flushed"), QStringLiteral("1"));
        QCOMPARE(run(QStringLiteral("addfavourite"), what).value("slot"), QStringLiteral("19"));
        QCOMPARE(run(QStringLiteral("favourites"), what).value("favourites"), QStringLiteral("20"));
        QByteArray expected = text;
        expected.replace("TimeInCaption = false", "TimeInCaption = true");
        expected += "name19 = Added\nrun19 = {00000000-0000-0000-0000-0000000000ad}\nicon19 = added.png\n";
        QVERIFY(bytesOf(configFile()) == expected);
    }

    void configWithControlCharactersInNames()
    {
        newCase(QStringLiteral("config control characters"));
        put(configFile(), bytes("[Gr\x1b[31moup\x7f]\n"
                                "ke\ry = carriage return inside\n"
                                "k\x00y = nul in the key\n"
                                "k\xff\xfe = bytes that are not UTF-8 \xc3\x28 \xe2\x82\n"
                                "\x01\x02\x03 = \x04\x05\x06\n"
                                "[\x80\x81\xfe\xff]\nk = v\n"
                                "[General]\nTimeInCaption = tr\x1bue\nPanelFontSize = 1\x00"
                                "2\n"
                                "[App]\nname0 = \x1b]0;title\x07 \xc3\x28\nrun0 = /bin/true\x00rm -rf /\n"
                                "name1 = \xf0\x9f\x98\n"));
        const QByteArray original = bytesOf(configFile());
        QVERIFY(original.contains('\0'));
        const QString what = sizeText(original.size());
        const Reading startup = readConfigOnly(what);
        QVERIFY(!QTest::currentTestFailed());
        // Unreadable values give the defaults.
        QCOMPARE(startup.value("setting TimeInCaption"), QStringLiteral("false"));
        QCOMPARE(startup.value("setting PanelFontSize"), QStringLiteral("14"));
        QCOMPARE(run(QStringLiteral("favourites"), what).value("favourites"), QStringLiteral("2"));

        QCOMPARE(run(QStringLiteral("write"), what).value("flushed"), QStringLiteral("1"));
        QByteArray expected = original;
        expected.replace("TimeInCaption = tr\x1bue", "TimeInCaption = true");
        QVERIFY(bytesOf(configFile()) == expected);
        QCOMPARE(run(QStringLiteral("addfavourite"), what).value("slot"), QStringLiteral("2"));
        QVERIFY(bytesOf(configFile()).startsWith(expected));
    }

    // The most lines a file may hold, each as short as a line can be: the
    // most memory a configuration file can cost. One more line is refused.
    void configAtTheLineBound()
    {
        newCase(QStringLiteral("config 200,000 short lines"));
        QByteArray text = "[General]\nTimeInCaption = false\n[Dense]\n";
        for (int i = 3; i < 200000; ++i)
            text += "k" + QByteArray::number(i) + "=v\n";
        put(configFile(), text);
        const QString what = QStringLiteral("200,000 lines, ") + sizeText(text.size());
        const Reading startup = readConfigOnly(what);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(!startup.has(QStringLiteral("ZConfig:")));
        QCOMPARE(run(QStringLiteral("write"), what).value("flushed"), QStringLiteral("1"));
        QCOMPARE(run(QStringLiteral("startup"), what).value("setting TimeInCaption"), QStringLiteral("true"));
        // A new favourite would add lines past the bound: refused, file kept.
        const QByteArray before = bytesOf(configFile());
        const Reading add = run(QStringLiteral("addfavourite"), what);
        QCOMPARE(add.value("slot"), QStringLiteral("-1"));
        QVERIFY(add.has(QStringLiteral("it would be too large to read back")));
        QVERIFY(bytesOf(configFile()) == before);

        put(configFile(), repeatTo("k=v\n", 8 * MB - 1));
        const Reading dense = readConfigOnly(QStringLiteral("8 MB of 4-byte lines"));
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(dense.has(QStringLiteral(" has more than 200000 lines, ignored")));
        expectDefaults(dense);
    }

    // A pipe blocks whoever opens it for reading, a device never ends.
    void pipesAndDevicesInsteadOfFiles()
    {
        newCase(QStringLiteral("pipes and devices"));
        auto fifo = [](const QString& path) {
            QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        };
        auto link = [](const QString& target, const QString& path) {
            QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
            QVERIFY(QFile::link(target, path));
        };
        fifo(configFile());
        fifo(phoneFile(sysRegistry));
        link(QStringLiteral("/dev/zero"), phoneFile(installedDb));
        fifo(phoneFile(phoneIndex));
        link(QStringLiteral("/dev/urandom"), phoneFile(cardIndex));
        put(phoneFile(cardRegistry), "[card]\nName = Card App\nExec = /mmc/bin/cardapp\nIcon = card.png\n"
                                     "AppID = {00000000-0000-0000-0000-0000000000ca}\n");
        const QString what = QStringLiteral("2 pipes, 2 devices");
        const Snapshot before = snapshot(m_case->path());
        const Reading startup = run(QStringLiteral("startup"), what);
        QVERIFY(!QTest::currentTestFailed());
        expectDefaults(startup);
        QVERIFY(startup.has(QStringLiteral("ZConfig: ") + configFile() + QStringLiteral(" is not a regular file, ignored")));
        QVERIFY(startup.has(QStringLiteral("ZConfig: ") + phoneFile(sysRegistry) + QStringLiteral(" is not a regular file, ignored")));
        QVERIFY(startup.has(QStringLiteral("processIndex: not a regular file, ignored")));
        QCOMPARE(startup.value("icons"), QStringLiteral("1"));
        QCOMPARE(startup.value("javanames"), QStringLiteral("0"));
        const Reading dialog = run(QStringLiteral("adddialog"), what);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(dialog.has(QStringLiteral("ZConfig: ") + phoneFile(installedDb) + QStringLiteral(" is not a regular file, ignored")));
        QCOMPARE(dialog.value("rows"), QStringLiteral("1"));
        const Reading write = run(QStringLiteral("write"), what);
        QCOMPARE(write.value("flushed"), QStringLiteral("0"));
        QVERIFY(write.has(QStringLiteral("ZConfig: not writing ") + configFile()));
        QVERIFY(snapshot(m_case->path()) == before);
    }

    // ---- the registries and the Java indexes ----

    void registriesAndIndexOf100MB()
    {
        newCase(QStringLiteral("registries+index 100 MB"));
        putOrdinaryDeviceFiles({});
        put(phoneFile(sysRegistry), registryOf(100 * MB));
        put(phoneFile(installedDb), registryOf(100 * MB));
        put(phoneFile(phoneIndex), indexOf(100 * MB));
        const QString what = QStringLiteral("3 files of 100 MB");
        const auto r = readDeviceOnly(what);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(r.first.has(QStringLiteral("ZConfig: ") + phoneFile(sysRegistry) + QStringLiteral(" is too large, ignored")));
        QVERIFY(r.second.has(QStringLiteral("ZConfig: ") + phoneFile(installedDb) + QStringLiteral(" is too large, ignored")));
        // The ordinary files still count.
        QCOMPARE(r.first.value("icons"), QStringLiteral("1"));
        QCOMPARE(r.second.value("rows"), QStringLiteral("1"));
        // The index counts up to its last line end within its first 4 MB.
        const QByteArray head = indexOf(100 * MB).left(4 * MB);
        const qsizetype kept = head.left(head.lastIndexOf('\n') + 1).count('\n');
        QCOMPARE(r.first.value("javanames"), QString::number(kept));
        QVERIFY(r.first.has(QStringLiteral("processIndex: only the first 4 MB read, the rest ignored")));
    }

    void registriesAndIndexOfRandomBytes()
    {
        newCase(QStringLiteral("registries+index random bytes"));
        putOrdinaryDeviceFiles({});
        put(phoneFile(sysRegistry), randomBytes(8 * MB, 1));
        put(phoneFile(installedDb), randomBytes(8 * MB, 2));
        put(phoneFile(phoneIndex), randomBytes(8 * MB, 3));
        const auto r = readDeviceOnly(QStringLiteral("3 files of 8 MB"));
        QVERIFY(!QTest::currentTestFailed());
        QCOMPARE(r.first.value("icons"), QStringLiteral("1"));
        QCOMPARE(r.first.value("javanames"), QStringLiteral("1"));
        QCOMPARE(r.second.value("rows"), QStringLiteral("1"));
        QVERIFY(r.first.has(QStringLiteral("processIndex: skipped ")));
    }

    void registriesAndIndexWithLinesOf1MB()
    {
        newCase(QStringLiteral("registries+index 1 MB lines"));
        putOrdinaryDeviceFiles({});
        const QByteArray wide = repeatTo("\xd0\xb6", MB);
        const QByteArray registry = "[" + QByteArray(MB, 'g') + "]\nName = " + wide + "\nExec = /bin/" + QByteArray(MB, 'e')
                                    + "\nIcon = " + QByteArray(MB, 'i') + ".png\nAppID = {" + QByteArray(MB, 'a') + "}\n"
                                    + "# " + QByteArray(MB, 'c') + "\n[last]\nName = Cut\nExec = /bin/cut\nIcon = c.png\n"
                                    + "AppID = {1}\nDirectory = " + wide + "\xd0";
        put(phoneFile(sysRegistry), registry);
        put(phoneFile(installedDb), registry);
        // Three lines of 1 MB keep it within what an index may hold.
        const QByteArray index = "1||" + wide + "|x\n2||" + QByteArray(MB, 'n') + "\n" + QByteArray(MB, '9') + "||long number\n3||"
                                 + wide.left(1000) + "\xd0";
        put(phoneFile(phoneIndex), index);
        const auto r = readDeviceOnly(QStringLiteral("registries %1, index %2").arg(sizeText(registry.size()), sizeText(index.size())));
        QVERIFY(!QTest::currentTestFailed());
        QCOMPARE(r.first.value("icons"), QStringLiteral("3"));
        QCOMPARE(r.first.value("javanames"), QStringLiteral("4"));
        QCOMPARE(r.second.value("rows"), QStringLiteral("5"));
    }

    void registriesAndIndexWith10000Groups()
    {
        newCase(QStringLiteral("registries+index 10,000 groups"));
        putOrdinaryDeviceFiles({});
        QByteArray registry;
        for (int i = 0; i < 10000; ++i)
            registry += registryGroup(i);
        put(phoneFile(sysRegistry), registry);
        put(phoneFile(installedDb), registry);
        QByteArray index;
        for (int i = 0; i < 10000; ++i)
            index += QByteArray::number(i) + "||MIDlet " + QByteArray::number(i) + "|vendor|1.0\n";
        put(phoneFile(phoneIndex), index);
        const auto r = readDeviceOnly(QStringLiteral("2 x 10,000 groups (%1), 10,000 records").arg(sizeText(registry.size())));
        QVERIFY(!QTest::currentTestFailed());
        QCOMPARE(r.first.value("icons"), QStringLiteral("10001"));
        QCOMPARE(r.first.value("javanames"), QStringLiteral("10000"));
        QCOMPARE(r.second.value("rows"), QStringLiteral("20001"));
    }

    void registriesAndIndexWithControlCharacters()
    {
        newCase(QStringLiteral("registries+index control characters"));
        putOrdinaryDeviceFiles({});
        QByteArray registry = "[a\x1b[2J\x7f]\nName = Esc\x1b[31m\x7f\xff\nExec = /bin/e\x01\nIcon = \xc3\x28.png\nAppID = {e}\n"
                              "[b\xff\xfe]\nName = Cr\rInside\nExec = /bin/cr\nIcon = x\r.g\nAppID = {c}\n"
                              "[c]\nName = Broken \xe2\x82\nExec = /bin/b\nIcon = b.png\nAppID = {b}\nDirectory = \x80\x81\n";
        registry += bytes("[d]\nName = Nul\0Inside\nExec = /bin/n\0x\nIcon = n.png\nAppID = {n}\n");
        put(phoneFile(sysRegistry), registry);
        put(phoneFile(installedDb), registry);
        const QByteArray index = bytes("1||\x1b[31mred\x7f|x\n2||nul\0in|x\n3||\xff\xfe\xc3|\n\x01\x02||x\n4||cut \xe2\x82");
        put(phoneFile(phoneIndex), index);
        const auto r = readDeviceOnly(QStringLiteral("registries %1, index %2").arg(sizeText(registry.size()), sizeText(index.size())));
        QVERIFY(!QTest::currentTestFailed());
        QCOMPARE(r.first.value("icons"), QStringLiteral("5"));
        QCOMPARE(r.first.value("javanames"), QStringLiteral("5"));
        QCOMPARE(r.second.value("rows"), QStringLiteral("9"));
    }
};

ZK_TEST(HostileFilesTest)
#include "hostile_files_test.moc"
