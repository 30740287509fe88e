// The catalogue as built from the phone's files, with its log lines.
#include "catalogue/catalogue.h"
#include "catalogue/javafolder.h"
#include "core/zsettings.h"
#include "platform/devicepath.h"
#include "tests/common/logcapture.h"
#include "tests/common/ztest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void putPhoneFile(const QString& phonePath, const QByteArray& text)
{
    const QString path = devicePath(phonePath);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(text), text.size());
}

const QString phoneIndexLine = QStringLiteral("processIndex: /ezxlocal/download/mystuff/.system/java/JAMInfo/index");

}  // namespace

class CatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(!deviceRoot().isEmpty());
        for (const char* top : {"/mmc", "/usr", "/ezxlocal"})
            QDir(devicePath(QLatin1String(top))).removeRecursively();
    }

    void systemRegistryAndPhoneIndexWin()
    {
        putPhoneFile(cardRegistryPath, "[c]\nExec=/bin/app\nIcon=card.png\nName=Card\n"
                                       "[d]\nExec=/bin/cardapp\nIcon=d.png\nName=D\n");
        putPhoneFile(systemRegistryPath, "[s]\nExec=/bin/app\nIcon=sys.png\nName=Sys\n");
        putPhoneFile("/mmc/mmca1/.system/a_java_b/JAMInfo/index", "1||CardOne|\n2||CardTwo|\n");
        putPhoneFile(phoneJavaIndexPath, "2||PhoneTwo|\n");

        IconCatalogue icons{{"/stale", {"s.png", "Stale"}}};
        JavaNames names{{"99", "Stale"}};
        LogCapture log;
        fillCatalogue("a_java_b", icons, names);
        const QStringList lines = log.finish();

        QCOMPARE(lines, QStringList({"Build list of icon", "Build list of java name",
                                     "processIndex: /mmc/mmca1/.system/a_java_b/JAMInfo/index",
                                     phoneIndexLine}));
        QCOMPARE(icons.keys(), QStringList({"/bin/app", "/bin/cardapp"}));
        QCOMPARE(icons.value("/bin/app").icon, QStringLiteral("sys.png"));
        QCOMPARE(names.keys(), QStringList({"1", "2"}));
        QCOMPARE(names.value("1"), QStringLiteral("CardOne"));
        QCOMPARE(names.value("2"), QStringLiteral("PhoneTwo"));
    }

    void missingFilesGiveEmptyTablesAndTheirLogLines()
    {
        IconCatalogue icons{{"/stale", {"s.png", "Stale"}}};
        JavaNames names{{"99", "Stale"}};
        LogCapture log;
        fillCatalogue(QString(), icons, names);
        fillCatalogue("gone_java_", icons, names);
        const QStringList lines = log.finish();
        QVERIFY(icons.isEmpty());
        QVERIFY(names.isEmpty());
        QCOMPARE(lines, QStringList({"Build list of icon", "Build list of java name",
                                     phoneIndexLine, "processIndex: Error! File not found!",
                                     "Build list of icon", "Build list of java name",
                                     "processIndex: /mmc/mmca1/.system/gone_java_/JAMInfo/index",
                                     "processIndex: Error! File not found!",
                                     phoneIndexLine, "processIndex: Error! File not found!"}));
    }

    void skippedLinesAreLoggedOncePerFile()
    {
        putPhoneFile(phoneJavaIndexPath, "junk\nmore junk\n5||Five|\nlast junk");
        JavaNames names;
        LogCapture log;
        loadJavaIndex(phoneJavaIndexPath, names);
        const QStringList lines = log.finish();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0), phoneIndexLine);
        QVERIFY(lines.at(1).startsWith("processIndex: skipped 3 "));
        QCOMPARE(names.value("5"), QStringLiteral("Five"));
    }

    void javaFolderIsTheFirstEntryContainingJavaUnderscore()
    {
        const QString system = devicePath(cardSystemPath);
        LogCapture log;
        const QString missing = findJavaFolder(system);
        QVERIFY(QDir().mkpath(system + "/Java_upper"));
        QVERIFY(QDir().mkpath(system + "/javax"));
        const QString noMatch = findJavaFolder(system);
        QVERIFY(QDir().mkpath(system + "/card.java_store"));
        const QString found = findJavaFolder(system);
        const QStringList lines = log.finish();

        QVERIFY(missing.isNull());
        QVERIFY(noMatch.isNull());
        QCOMPARE(found, QStringLiteral("card.java_store"));
        QCOMPARE(lines, QStringList({"getJavaFolderInSD()", "Can't open SD Card", "JavaFolderInSD: not found",
                                     "getJavaFolderInSD()", "JavaFolderInSD: not found",
                                     "getJavaFolderInSD()", "JavaFolderInSD: card.java_store"}));
    }

    void aFileCountsAsTheJavaFolderToo()
    {
        putPhoneFile("/mmc/mmca1/.system/old_java_list", "");
        LogCapture log;
        const QString found = findJavaFolder(devicePath(cardSystemPath));
        log.finish();
        QCOMPARE(found, QStringLiteral("old_java_list"));
    }

    void settingsObjectBuildsItsCatalogue()
    {
        putPhoneFile(systemRegistryPath, "[s]\nExec=/usr/SYSqtapp/phone/phone\nIcon=phone.g\nName=Phone\n");
        putPhoneFile("/mmc/mmca1/.system/java_1/JAMInfo/index", "3||Card game|\n");
        putPhoneFile(phoneJavaIndexPath, "4||Phone game|\n");
        putPhoneFile("/extra/Registry", "[e]\nExec=/bin/extra\nIcon=e.png\n");
        putPhoneFile("/extra/index", "0005||Extra|\n");

        ZSettings settings;
        QCOMPARE(settings.javaFolderInSD, QStringLiteral("java_1"));
        settings.buildCatalogue();
        QCOMPARE(settings.iconCatalogue.keys(), QStringList{"/usr/SYSqtapp/phone/phone"});
        QCOMPARE(settings.iconCatalogue.value("/usr/SYSqtapp/phone/phone").name, QStringLiteral("Phone"));
        QCOMPARE(settings.javaNames.value("3"), QStringLiteral("Card game"));
        QCOMPARE(settings.javaNames.value("4"), QStringLiteral("Phone game"));

        // The members take the phone's paths and add to what is there.
        settings.readRegistry("/extra/Registry");
        settings.processIndex("/extra/index");
        QCOMPARE(settings.iconCatalogue.size(), 2);
        QCOMPARE(settings.iconCatalogue.value("/bin/extra").icon, QStringLiteral("e.png"));
        QCOMPARE(settings.javaNames.value("5"), QStringLiteral("Extra"));
        QCOMPARE(settings.getJavaFolderInSD(), QStringLiteral("java_1"));
    }
};

ZK_TEST(CatalogueTest)
#include "catalogue_test.moc"
