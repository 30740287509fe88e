// The desktop's applications published as the phone's registry, read back
// by the task list's and the add dialog's own readers; the launcher.
#include "catalogue/registry.h"
#include "desktop/desktopregistry.h"
#include "desktop/iconfiles.h"
#include "desktop/launcher.h"
#include "desktop/registryfile.h"
#include "platform/devicepath.h"
#include "platform/qcopchannel.h"
#include "platform/zconfig.h"
#include "process/catalogmatch.h"
#include "tests/common/logcapture.h"
#include "tests/common/testfiles.h"
#include "tests/common/ztest.h"

#include <QDataStream>
#include <QImage>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>

using namespace zk::desktop;
using testfiles::writeFile;

namespace {
QByteArray entry(const char* name, const char* exec, const char* icon, const QByteArray& more = {})
{
    return QByteArray("[Desktop Entry]\nType=Application\nName=") + name + "\nExec=" + exec + "\nIcon=" + icon + "\n"
           + more;
}

void picture(const QString& path, int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(image.save(path));
}

// A home and a system data folder with an icon theme, as XDG_DATA_HOME and
// XDG_DATA_DIRS name them.
struct Desktop
{
    QTemporaryDir dir;
    QString home = dir.filePath(QStringLiteral("home"));
    QString system = dir.filePath(QStringLiteral("system"));

    Desktop()
    {
        qputenv("XDG_DATA_HOME", home.toUtf8());
        qputenv("XDG_DATA_DIRS", system.toUtf8());
        qputenv("XDG_CURRENT_DESKTOP", "Openbox");
        qputenv("LC_ALL", "de_DE.UTF-8");
        const QString hicolor = system + QStringLiteral("/icons/hicolor");
        writeFile(hicolor + QStringLiteral("/index.theme"),
                  "[Icon Theme]\nName=Hicolor\nDirectories=16x16/apps,48x48/apps,scalable/apps\n"
                  "[16x16/apps]\nSize=16\n[48x48/apps]\nSize=48\n[scalable/apps]\nSize=48\nType=Scalable\n");
        picture(hicolor + QStringLiteral("/16x16/apps/xterm.png"), 16);
        picture(hicolor + QStringLiteral("/48x48/apps/xterm.png"), 48);
        // A user's icon beside the system theme, found through its folders.
        picture(home + QStringLiteral("/icons/hicolor/16x16/apps/tiny.png"), 16);
        writeFile(hicolor + QStringLiteral("/scalable/apps/calc.svg"),
                  "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'><rect width='10' height='10'/></svg>");
        const QString apps = system + QStringLiteral("/applications/");
        writeFile(apps + QStringLiteral("debian-xterm.desktop"), entry("XTerm", "xterm", "xterm", "Name[de]=Terminal\n"));
        writeFile(apps + QStringLiteral("debian-uxterm.desktop"), entry("UXTerm", "uxterm", "xterm"));
        writeFile(apps + QStringLiteral("xcalc.desktop"), entry("Calculator", "/usr/bin/xcalc %F", "calc"));
        writeFile(apps + QStringLiteral("tiny.desktop"), entry("Tiny", "vi", "tiny"));
        writeFile(apps + QStringLiteral("nothing.desktop"), entry("No Picture", "nothing", "no-such-icon"));
        writeFile(apps + QStringLiteral("handler.desktop"), entry("Handler", "handler", "x", "NoDisplay=true\n"));
        writeFile(apps + QStringLiteral("kde/konsole.desktop"), entry("Konsole", "konsole", "x", "OnlyShowIn=KDE;\n"));
        writeFile(apps + QStringLiteral("gone.desktop"), entry("Gone", "gone", "x"));
        // The user's own file hides the system's.
        writeFile(home + QStringLiteral("/applications/gone.desktop"), "[Desktop Entry]\nHidden=true\n");
    }
    ~Desktop()
    {
        for (const char* v : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CURRENT_DESKTOP", "LC_ALL"})
            qunsetenv(v);
    }
};

QString fallback()
{
    return QStringLiteral(ZK_SOURCE_DIR "/img/app.png");
}

QByteArray uuidData(const QUuid& id)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << id;
    return data;
}
}

class DesktopRegistryTest : public QObject
{
    Q_OBJECT
private slots:
    // The task list's catalogue and the add dialog read what was published:
    // a running xterm takes the XTerm entry's name and picture, not
    // UXTerm's; every shown entry has an id, a name and a picture.
    void publishedEntriesNameTheirRunningPrograms()
    {
        Desktop desktop;
        DesktopRegistry registry(fallback());
        registry.start();
        QCOMPARE(registry.count(), 5);

        IconCatalogue catalogue;
        readRegistryFile(devicePath(QLatin1String(kSystemRegistryPath)), catalogue);
        const auto xterm = zk::proc::matchCatalogue(catalogue, QStringLiteral("xterm"));
        QVERIFY(xterm != catalogue.constEnd());
        QCOMPARE(xterm->name, QStringLiteral("Terminal"));
        QCOMPARE(QPixmap(devicePath(xterm->icon)).width(), 48);
        QCOMPARE(zk::proc::matchCatalogue(catalogue, QStringLiteral("uxterm"))->name, QStringLiteral("UXTerm"));
        QCOMPARE(zk::proc::matchCatalogue(catalogue, QStringLiteral("vi"))->name, QStringLiteral("Tiny"));
        QCOMPARE(QPixmap(devicePath(zk::proc::matchCatalogue(catalogue, QStringLiteral("vi"))->icon)).width(), 16);
        // Drawn from the scalable picture; the program's own where none is.
        QCOMPARE(QPixmap(devicePath(zk::proc::matchCatalogue(catalogue, QStringLiteral("xcalc"))->icon)).width(),
                 kDrawnIconSide);
        const QString none = devicePath(zk::proc::matchCatalogue(catalogue, QStringLiteral("nothing"))->icon);
        QCOMPARE(QFileInfo(none).symLinkTarget(), fallback());

        const ZConfig file(devicePath(QLatin1String(kSystemRegistryPath)), false);
        QStringList groups;
        file.getGroupsKeyList(groups);
        QCOMPARE(groups, QStringList({"debian-uxterm.desktop", "debian-xterm.desktop", "nothing.desktop",
                                      "tiny.desktop", "xcalc.desktop"}));
        const QString id = file.readEntry(QStringLiteral("xcalc.desktop"), QStringLiteral("AppID"));
        QCOMPARE(id, appIdOf(QStringLiteral("xcalc.desktop")).toString(QUuid::WithBraces));
        QCOMPARE(registry.application(QUuid::fromString(id))->name, QStringLiteral("Calculator"));
    }

    // Installing an entry is seen without a restart, with no polling.
    void anInstalledEntryIsPublished()
    {
        Desktop desktop;
        DesktopRegistry registry(fallback());
        registry.start();
        QSignalSpy refreshed(&registry, &DesktopRegistry::refreshed);
        writeFile(desktop.home + QStringLiteral("/applications/new/eyes.desktop"), entry("Eyes", "xeyes", "xterm"));
        QVERIFY(refreshed.wait(10000));
        QCOMPARE(refreshed.last().at(0).toInt(), 6);
        IconCatalogue catalogue;
        readRegistryFile(devicePath(QLatin1String(kSystemRegistryPath)), catalogue);
        QCOMPARE(zk::proc::matchCatalogue(catalogue, QStringLiteral("xeyes"))->name, QStringLiteral("Eyes"));
        QVERIFY(registry.application(appIdOf(QStringLiteral("new-eyes.desktop"))));
    }

    // Another program's registry (the simulated phone's) is never replaced.
    void aForeignRegistryIsLeftAlone()
    {
        Desktop desktop;
        const QString path = devicePath(QLatin1String(kSystemRegistryPath));
        QVERIFY(writeFile(path, "[App]\nName=Phone\n"));
        LogCapture log;
        DesktopRegistry registry(fallback());
        registry.start();
        QVERIFY(log.finish().join('\n').contains(QStringLiteral("was written by another program")));
        QCOMPARE(testfiles::fileBytes(path), QByteArray("[App]\nName=Phone\n"));
        QCOMPARE(registry.count(), 5);
    }

    // "/AM/Launcher": a known id starts its entry, an unknown one nothing.
    void launcherStartsEntriesByAppId()
    {
        Desktop desktop;
        const QString marker = desktop.dir.filePath(QStringLiteral("started"));
        writeFile(desktop.home + QStringLiteral("/applications/touch.desktop"),
                  entry("Touch", qPrintable(QStringLiteral("touch \"%1\" %U").arg(marker)), "x"));
        DesktopRegistry registry(fallback());
        registry.start();
        Launcher launcher(registry);
        QVERIFY(launcher.isServing());
        LogCapture log;
        QVERIFY(QCopChannel::send("/AM/Launcher", "launchApp4NoLockCheck", uuidData(QUuid::createUuid())));
        QVERIFY(QCopChannel::send("/AM/Launcher", "launchApp4NoLockCheck", uuidData(appIdOf("touch.desktop"))));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marker), 10000);
        const QString said = log.finish().join('\n');
        QVERIFY(said.contains(QStringLiteral("nothing started")));
        QVERIFY(said.contains(QStringLiteral("started touch.desktop (Touch)")));
    }
};

ZK_TEST(DesktopRegistryTest)

#include "desktopregistry_test.moc"
