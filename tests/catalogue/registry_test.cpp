// Registry files into the icon catalogue.
#include "catalogue/registry.h"
#include "tests/common/ztest.h"

#include <QFile>
#include <QTemporaryDir>

class RegistryTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString registry(const QString& name, const QByteArray& text)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void groupsThatDoNotDescribeANativeApplicationAreLeftOut()
    {
        const QString path = registry("SysRegistry",
                                      "[{11111111-0000-0000-0000-000000000001}]\n"
                                      "Name = Java game\nJavaId = 5\nExec = /usr/bin/java\nIcon = java.png\n"
                                      "[big]\n"
                                      "Name=Big\nExec=/usr/SYSqtapp/big/big\nIcon=\nBigIcon=big_large.png\n"
                                      "[noicon]\n"
                                      "Name=No icon\nExec=/usr/bin/noicon\n"
                                      "[noexec]\n"
                                      "Name=No exec\nIcon=noexec.png\n"
                                      "[noname]\n"
                                      "Exec=/usr/bin/noname\nIcon=calc.g\n"
                                      "[emptyjava]\n"
                                      "JavaId=\nName=Relative\nExec=/usr/bin/rel\nIcon=icons/rel.png\nBigIcon=ignored.png\n");
        IconCatalogue icons;
        readRegistryFile(path, icons);

        QCOMPARE(icons.keys(), QStringList({"/usr/SYSqtapp/big/big", "/usr/bin/noname", "/usr/bin/rel"}));
        QCOMPARE(icons.value("/usr/SYSqtapp/big/big").icon, QStringLiteral("big_large.png"));
        QCOMPARE(icons.value("/usr/SYSqtapp/big/big").name, QStringLiteral("Big"));
        QCOMPARE(icons.value("/usr/bin/noname").icon, QStringLiteral("calc.g"));
        QVERIFY(icons.value("/usr/bin/noname").name.isEmpty());
        // The icon is stored as written, relative or not, "Icon" before "BigIcon".
        QCOMPARE(icons.value("/usr/bin/rel").icon, QStringLiteral("icons/rel.png"));
        QCOMPARE(icons.value("/usr/bin/rel").name, QStringLiteral("Relative"));
    }

    void laterEntriesForTheSameExecutableWin()
    {
        const QString card = registry("CardRegistry",
                                      "[a]\nExec=/bin/shared\nIcon=card.png\nName=Card\n"
                                      "[b]\nExec=/bin/cardonly\nIcon=c.png\nName=Only on card\n");
        const QString sys = registry("SysRegistry2",
                                     "[x]\nExec=/bin/shared\nIcon=first.png\nName=First\n"
                                     "[y]\nExec=/bin/shared\nBigIcon=sys.png\nName=System\n");
        IconCatalogue icons;
        readRegistryFile(card, icons);
        readRegistryFile(sys, icons);
        QCOMPARE(icons.size(), 2);
        QCOMPARE(icons.value("/bin/shared").icon, QStringLiteral("sys.png"));
        QCOMPARE(icons.value("/bin/shared").name, QStringLiteral("System"));
        QCOMPARE(icons.value("/bin/cardonly").name, QStringLiteral("Only on card"));
    }

    void missingOrEmptyFileAddsNothing()
    {
        IconCatalogue icons;
        icons.insert("/kept", RegistryEntry{"k.png", "Kept"});
        readRegistryFile(m_dir.filePath("absent"), icons);
        readRegistryFile(registry("empty", ""), icons);
        readRegistryFile(registry("garbage", QByteArray("\x00\xff[\n=\n[]\nExec\n", 14)), icons);
        QCOMPARE(icons.keys(), QStringList{"/kept"});
    }
};

ZK_TEST(RegistryTest)
#include "registry_test.moc"
