// zk-system: the phone's system service on "EZX/System".
#include "platform/logline.h"
#include "sim/systemservice.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SystemService service;
    if (!service.isListening()) {
        logLine(QStringLiteral("System: EZX/System is not registered (no session bus?)"));
        return 1;
    }
    logLine(QStringLiteral("System: listening on EZX/System"));
    return app.exec();
}
