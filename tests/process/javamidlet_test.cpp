#include "process/catalogmatch.h"
#include "process/cmdline.h"
#include "process/javamidlet.h"
#include "tests/common/ztest.h"
#include "tests/process/childprocs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace zk::proc;

// Java MIDlet rows (id, icon file, name) and the registry match.
class JavaMidletTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QByteArray m_oldRoot;

    bool putIcon(const QString& phonePath)
    {
        const QString path = m_root.path() + phonePath;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write("png") == 3;
    }

    static QString sysApps(const QString& id)
    {
        return QStringLiteral("/ezxlocal/download/mystuff/.system/java/SystemApps/MIDlet") + id
               + QStringLiteral("/Files/MIDlet-1.png");
    }
    static QString downloads(const QString& id)
    {
        return QStringLiteral("/ezxlocal/download/mystuff/.system/java/DownloadApps/MIDlet") + id
               + QStringLiteral("/Files/MIDlet-1.png");
    }
    static QString card(const QString& folder, const QString& id)
    {
        return QStringLiteral("/mmc/mmca1/.system/") + folder + QStringLiteral("/DownloadApps/MIDlet")
               + id + QStringLiteral("/Files/MIDlet-1.png");
    }

private slots:
    void initTestCase()
    {
        m_oldRoot = qgetenv("EZX_DEVICE_ROOT");
        qputenv("EZX_DEVICE_ROOT", QFile::encodeName(m_root.path()));
    }
    void cleanupTestCase() { qputenv("EZX_DEVICE_ROOT", m_oldRoot); }

    void ids_data()
    {
        QTest::addColumn<QString>("cmdline");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("key");
        QTest::newRow("padded") << "/usr/SYSjava/kvm -launch 37"
                                << "00037"
                                << "37";
        QTest::newRow("blanks skipped, cut at blank")
            << "/usr/SYSjava/kvm -launch   37 -x "
            << "00037"
            << "37";
        QTest::newRow("five digits unchanged") << "kvm -launch 12345"
                                               << "12345"
                                               << "12345";
        QTest::newRow("longer unchanged") << "kvm -launch 0001234"
                                          << "0001234"
                                          << "1234";
        QTest::newRow("nothing after -launch") << "kvm -launch"
                                               << "00000"
                                               << "0";
        QTest::newRow("glued to -launch") << "kvm -launch7"
                                          << "00007"
                                          << "7";
    }
    void ids()
    {
        QFETCH(QString, cmdline);
        QFETCH(QString, id);
        QFETCH(QString, key);
        QVERIFY(isJavaCmdline(cmdline));
        QCOMPARE(midletId(cmdline), id);
        QCOMPARE(midletNameKey(id), key);
    }

    void idFromRealChild()
    {
        ChildGroup children;
        const pid_t pid = children.start({"/usr/SYSjava/kvm", "-launch", "37"});
        QVERIFY(pid > 0);
        QCOMPARE(midletId(readCmdline(pid)), QStringLiteral("00037"));
    }

    void noLaunchNoId()
    {
        QVERIFY(midletId(QStringLiteral("/usr/SYSjava/kvm -run 37")).isNull());
        QVERIFY(!isJavaCmdline(QStringLiteral("/usr/bin/java -launch 3")));
    }

    void iconFallsBackToSystemApps()
    {
        // Nothing on the card, nothing downloaded: the last folder, untested.
        LogCapture log;
        const QString path = midletIconPath(QStringLiteral("00037"), QStringLiteral("java"));
        const QStringList lines = log.finish();
        QCOMPARE(path, m_root.path() + sysApps(QStringLiteral("00037")));
        QCOMPARE(lines, QStringList{QStringLiteral("LoadIMG: ") + path});
    }

    void iconCandidatesInOrder()
    {
        const QString id = QStringLiteral("00041");
        QCOMPARE(midletIconCandidates(id, QStringLiteral("java")),
                 (QStringList{m_root.path() + card(QStringLiteral("java"), id), m_root.path() + downloads(id),
                              m_root.path() + sysApps(id)}));
        QVERIFY(putIcon(downloads(id)));
        QCOMPARE(midletIconPath(id, QStringLiteral("java")), m_root.path() + downloads(id));
        QVERIFY(putIcon(card(QStringLiteral("java"), id)));
        QCOMPARE(midletIconPath(id, QStringLiteral("java")), m_root.path() + card(QStringLiteral("java"), id));
        // Without a Java folder on the card the card is not looked at.
        QCOMPARE(midletIconPath(id, QString()), m_root.path() + downloads(id));
        QCOMPARE(midletIconCandidates(id, QString()).size(), 2);
    }

    void idCannotLeaveTheFolders()
    {
        QVERIFY(midletIconCandidates(QStringLiteral("../../../etc/x"), QStringLiteral("java")).isEmpty());
        QVERIFY(midletIconPath(QStringLiteral("1/../2"), QStringLiteral("java")).isNull());
        QCOMPARE(midletIconCandidates(QStringLiteral("00001"), QStringLiteral("..")).size(), 2);
    }

    void rowTexts()
    {
        QMap<QString, QString> names;
        names.insert(QStringLiteral("12345"), QStringLiteral("Chess"));
        // "Шахматы" as the catalogue holds it: its UTF-8 bytes, one per character.
        names.insert(QStringLiteral("7"), QString::fromLatin1(QStringLiteral("Шахматы").toUtf8()));
        QCOMPARE(midletRowText(QStringLiteral("00037"), names), QStringLiteral("Java ID:'00037'"));
        QCOMPARE(midletRowText(QStringLiteral("12345"), names), QStringLiteral("Chess"));
        QCOMPARE(midletRowText(QStringLiteral("00007"), names), QStringLiteral("Шахматы"));
    }

    void decodingNeverMangles()
    {
        // Already decoded text, and Latin-1 bytes that are not UTF-8, stay.
        QCOMPARE(decodeCatalogueText(QStringLiteral("Шахматы")), QStringLiteral("Шахматы"));
        QCOMPARE(decodeCatalogueText(QStringLiteral("Caf\u00e9")), QStringLiteral("Caf\u00e9"));
        QCOMPARE(decodeCatalogueText(QStringLiteral("Caf\u00c3\u00a9")), QStringLiteral("Caf\u00e9"));
    }

    void catalogueMatch()
    {
        struct Entry
        {
            QString icon;
            QString name;
        };
        QMap<QString, Entry> catalogue;
        catalogue.insert(QStringLiteral("/usr/SYSqtapp/phone/phonebook"), {QStringLiteral("pb.g"), QStringLiteral("Contacts")});
        catalogue.insert(QStringLiteral("/usr/SYSqtapp/phone/phone"), {QStringLiteral("/img/ph.png"), QString()});
        catalogue.insert(QStringLiteral("br"), {QStringLiteral("br.g"), QStringLiteral("Browser")});
        catalogue.insert(QStringLiteral("/usr/SYSqtapp/vr/vr"), {QStringLiteral("vr.g"), QStringLiteral("Voice")});

        // Longer names: the first Exec text in key order that contains it.
        auto it = matchCatalogue(catalogue, QStringLiteral("phone"));
        QVERIFY(it != catalogue.constEnd());
        QCOMPARE(it.key(), QStringLiteral("/usr/SYSqtapp/phone/phone"));
        it = matchCatalogue(catalogue, QStringLiteral("phonebook"));
        QCOMPARE(it.value().name, QStringLiteral("Contacts"));
        // Short names: only an equal Exec text.
        QCOMPARE(matchCatalogue(catalogue, QStringLiteral("br")).value().name, QStringLiteral("Browser"));
        QVERIFY(matchCatalogue(catalogue, QStringLiteral("vr")) == catalogue.constEnd());
        QVERIFY(matchCatalogue(catalogue, QStringLiteral("calc")) == catalogue.constEnd());
        const QMap<QString, Entry> empty;
        QVERIFY(matchCatalogue(empty, QStringLiteral("phone")) == empty.constEnd());

        QVERIFY(isResourceIcon(QStringLiteral("pb.g")));
        QVERIFY(!isResourceIcon(QStringLiteral("/img/ph.png")));
        QVERIFY(!isResourceIcon(QStringLiteral("icon.G")));
    }
};
ZK_TEST(JavaMidletTest)
#include "javamidlet_test.moc"
