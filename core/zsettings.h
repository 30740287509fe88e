#pragma once

#include "catalogue/javaindex.h"
#include "catalogue/registry.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class QCopChannel;

// The executable's folder with a trailing "/", from argv[0]: cut just after
// its last "/". A bare name (started through PATH) holds no folder, so the
// executable's real folder is used; an empty folder would send every picture
// path to the root of the file system.
QString appDirFromArgv0(const QString& argv0, const QString& executableDir);

// The one settings object: the user's configuration as plain members that
// the rest of the program reads directly, the executable's folder, and the
// catalogue of registry icons and Java names.
class ZSettings : public QObject
{
    Q_OBJECT
public:
    ZSettings();
    ~ZSettings() override;

    // Re-reads every key from the configuration file (defaults for what is
    // missing). The settings dialog calls it after saving.
    void loadSettings();
    QString getAppDir() const;

    // The catalogue (catalogue/zsettings_catalogue.cpp). Paths are the
    // phone's own, looked up below the device root.
    void buildCatalogue();
    void readRegistry(const QString& path);
    void processIndex(const QString& path);
    QString getJavaFolderInSD();

    // Resident mode (core/zsettings_channel.cpp): listens on "PE/zKestrel/"
    // and "/hardkey/bc" for show(), newshow() and the pop-up key.
    void openCommandChannel();

    IconCatalogue iconCatalogue;
    JavaNames javaNames;
    QString javaFolderInSD;
    bool sendRaisePhone = true;
    bool sendGoToIdle = false;
    bool hideSystemTasks = true;
    bool showAppNoWindow = false;
    bool showInfoByGreen = true;
    int actionOnC = 0;
    int panelFontSize = 14;
    int listFontSize = 16;
    int hardKeyCode = 0;  // the pop-up key (zkeys::PopupKey), set by the constructor
    bool timeInCaption = false;
    QString processFilter;
    QColor panelColor{0, 0, 0};
    bool useTextColor = false;
    bool popUpGuard = false;
    QCopChannel* commandChannel = nullptr;
    QString appDir;

public slots:
    void siganalReceived(const QByteArray& message, const QByteArray& data);

protected:
    // The guard's tick: show requests are obeyed again.
    void timerEvent(QTimerEvent* event) override;

private:
    // Creates the main window, or brings the existing one back.
    void showMainWindow();
    // Stops every timer this object started.
    void killTimers();

    QList<int> m_timers;
};
