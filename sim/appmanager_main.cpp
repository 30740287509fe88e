// zk-appmanager: the phone's application manager on "/AM/Launcher". Option:
// --demoapp PATH, the program that plays the applications (default: the
// zk-demoapp beside this program).
#include "platform/logline.h"
#include "sim/appmanager.h"

#include <QCoreApplication>
#include <QFileInfo>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString demoApp = QCoreApplication::applicationDirPath() + QStringLiteral("/zk-demoapp");
    const qsizetype i = args.indexOf(QStringLiteral("--demoapp"));
    if (i >= 0 && i + 1 < args.size())
        demoApp = args.at(i + 1);
    if (!QFileInfo(demoApp).isExecutable())
        logLine(QStringLiteral("AppManager: no demo application at ") + demoApp);
    AppManager manager(demoApp);
    if (!manager.isListening()) {
        logLine(QStringLiteral("AppManager: /AM/Launcher is not registered (no session bus?)"));
        return 1;
    }
    logLine(QStringLiteral("AppManager: listening on /AM/Launcher"));
    return app.exec();
}
