#include "core/zsettings.h"

#include "core/globals.h"
#include "core/settingdefaults.h"
#include "ezx/zapplication.h"
#include "ezx/zkeys.h"
#include "platform/devicepath.h"
#include "platform/logline.h"
#include "platform/zconfig.h"
#include "ui/zkestrel.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>

namespace {

const QString general = QStringLiteral("General");
const QString task = QStringLiteral("Task");
const QString font = QStringLiteral("Font");
const QString key = QStringLiteral("Key");

QString argv0()
{
    return QCoreApplication::instance() ? QCoreApplication::arguments().value(0) : QString();
}

QString executableDir()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

}  // namespace

QString appDirFromArgv0(const QString& argv0, const QString& executableDir)
{
    const qsizetype slash = argv0.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0)
        return argv0.left(slash + 1);
    if (executableDir.isEmpty())
        return QString();
    return executableDir.endsWith(QLatin1Char('/')) ? executableDir : executableDir + QLatin1Char('/');
}

ZSettings::ZSettings()
{
    // From now on the main window, not the application, decides what a
    // return to the idle screen does.
    if (gApp)
        QObject::disconnect(gApp, &ZApplication::askReturnToIdle, gApp, &ZApplication::slotReturnToIdle);

    appDir = appDirFromArgv0(argv0(), executableDir());
    qDebug().noquote() << QStringLiteral("cur path: ") + appDir;

    loadSettings();
    javaFolderInSD = getJavaFolderInSD();
    hardKeyCode = zkeys::PopupKey;
    popUpGuard = false;
}

// The main window does not exist yet; when it does, it is deleted here first.
ZSettings::~ZSettings()
{
    // The main window goes before the settings it reads.
    if (gMainWindow) {
        delete gMainWindow;
        gMainWindow = nullptr;
    }
}

void ZSettings::loadSettings()
{
    const ZConfig cfg(configFilePath(), false);
    timeInCaption = cfg.readBoolEntry(general, QStringLiteral("TimeInCaption"), false);
    sendRaisePhone = cfg.readBoolEntry(general, QStringLiteral("SendReaisePhone"), true);
    sendGoToIdle = cfg.readBoolEntry(general, QStringLiteral("SendGoToIDLE"), false);
    hideSystemTasks = !cfg.readBoolEntry(task, QStringLiteral("ShowAllTask"), false);
    processFilter = cfg.readEntry(task, QStringLiteral("FiltrProcList"), QString::fromLatin1(kDefaultProcFilter));
    showAppNoWindow = cfg.readBoolEntry(task, QStringLiteral("ShowAppNoWindow"), false);
    panelFontSize = cfg.readNumEntry(font, QStringLiteral("PanelFontSize"), kDefaultPanelFontSize);
    listFontSize = cfg.readNumEntry(font, QStringLiteral("ListFontSize"), kDefaultListFontSize);

    const QString color = cfg.readEntry(font, QStringLiteral("PanelColor"), QStringLiteral("#000000"));
    panelColor.setNamedColor(color);
    if (!panelColor.isValid()) {
        logLine(QStringLiteral("loadSettings: bad PanelColor \"") + color + QStringLiteral("\", black used"));
        panelColor = QColor(0, 0, 0);
    }

    useTextColor = cfg.readBoolEntry(font, QStringLiteral("UserFont"), false);
    showInfoByGreen = cfg.readBoolEntry(key, QStringLiteral("ShowInfoByGreen"), true);
    actionOnC = cfg.readNumEntry(key, QStringLiteral("ActionOnC"), 0);
}

QString ZSettings::getAppDir() const
{
    return appDir;
}
