#include "core/settingdefaults.h"
#include "process/procname.h"
#include "tests/common/ztest.h"

using namespace zk::proc;

// Short names of tasks, the filter list and the user-application folders.
class ProcNameTest : public QObject
{
    Q_OBJECT

    const QString m_filter = QString::fromLatin1(kDefaultProcFilter);

private slots:
    void names_data()
    {
        QTest::addColumn<QString>("cmdline");
        QTest::addColumn<QString>("name");
        QTest::newRow("phone") << "/usr/SYSqtapp/phone/phone"
                               << "phone";
        QTest::newRow("loader, program, argument") << "/lib/ld-linux.so.2 /mmc/mmca1/app/app -x"
                                                   << "app";
        QTest::newRow("loader, blanks of an empty argument")
            << "/lib/ld-linux.so.2  /mmc/mmca1/app/app"
            << "app";
        QTest::newRow("lib path without blank") << "/usr/lib/app"
                                                << "app";
        QTest::newRow("lib program with argument") << "/usr/lib/app -x"
                                                   << "app";
        QTest::newRow("loader, program in the current folder") << "/lib/ld-linux.so.2 ./mygame"
                                                               << "mygame";
        QTest::newRow("loader by a relative path is a program") << "x/lib/ld-linux.so.2 calc"
                                                                << "ld-linux.so.2";
        QTest::newRow("loader, program by name, argument") << "/lib/ld-linux.so.2 calc -x"
                                                           << "calc";
        QTest::newRow("loader with an option of its own") << "/lib/ld-linux.so.2 --list /bin/ls"
                                                          << "ld-linux.so.2";
        QTest::newRow("lib program with a relative argument") << "/usr/lib/app data.txt"
                                                              << "app";
        QTest::newRow("loader running a lib program")
            << "/lib/ld-linux.so.2 /usr/lib/ezx/tool -d"
            << "tool";
        QTest::newRow("lib path among the arguments")
            << "/mmc/mmca1/app/app /mmc/mmca1/lib/x.so"
            << "app";
        QTest::newRow("arguments cut") << "/usr/bin/foo -a -b"
                                       << "foo";
        QTest::newRow("no folder") << "foo"
                                   << "foo";
        QTest::newRow("folder only") << "/usr/bin/"
                                     << "";
        QTest::newRow("kvm kept whole")
            << "/usr/SYSjava/kvm -launch 37"
            << "/usr/SYSjava/kvm -launch 37";
        QTest::newRow("first character a blank") << " /usr/bin/foo"
                                                 << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void names()
    {
        QFETCH(QString, cmdline);
        QFETCH(QString, name);
        QCOMPARE(getProcName(cmdline), name);
    }

    void defaultFilterHidesWholeNamesOnly()
    {
        for (const char* hidden : {"am", "zKestrel", "phone", "messaging", "br", "vr", "addrbk"})
            QVERIFY2(!checkProcFilter(QString::fromLatin1(hidden), false, m_filter), hidden);
        for (const char* shown : {"phonebook", "phone2", "pho", "a", "zKestrel2", "", "calc"})
            QVERIFY2(checkProcFilter(QString::fromLatin1(shown), false, m_filter), shown);
        QVERIFY(checkProcFilter(QStringLiteral("Phone"), false, m_filter));
    }

    void userFilterList()
    {
        const QString list = QStringLiteral("!calc!");
        QVERIFY(!checkProcFilter(QStringLiteral("calc"), false, list));
        QVERIFY(checkProcFilter(QStringLiteral("phone"), false, list));
        QVERIFY(checkProcFilter(QStringLiteral("phone"), false, QString()));
    }

    void showAllTaskHidesOnlyItself()
    {
        QVERIFY(checkProcFilter(QStringLiteral("phone"), true, m_filter));
        QVERIFY(checkProcFilter(QStringLiteral("am"), true, m_filter));
        QVERIFY(!checkProcFilter(QStringLiteral("zKestrel"), true, m_filter));
        QVERIFY(!checkProcFilter(QStringLiteral("zKestrel2"), true, QString()));
        QVERIFY(checkProcFilter(QStringLiteral("zkestrel"), true, m_filter));
    }

    void userApps()
    {
        QVERIFY(isUserApp(QStringLiteral("/ezx/.Programs/app/app ")));
        QVERIFY(isUserApp(QStringLiteral("/ezxlocal/download/mystuff/games/g ")));
        QVERIFY(isUserApp(QStringLiteral("/lib/ld-linux.so.2 /mmc/mmca1/app/app -x")));
        QVERIFY(!isUserApp(QStringLiteral("/usr/bin/sleep 300")));
        QVERIFY(!isUserApp(QStringLiteral("/MMC/mmca1/app")));
        QVERIFY(!isUserApp(QString()));
    }
};
ZK_TEST(ProcNameTest)
#include "procname_test.moc"
