// zk-keypad: the phone's keys the desktop lacks, in a small window beside the
// phone's screen. Options: --at X,Y places it (default 250,0).
#include "platform/logline.h"
#include "sim/keypad.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QPoint at(250, 0);
    const QStringList args = app.arguments();
    const qsizetype i = args.indexOf(QStringLiteral("--at"));
    if (i >= 0) {
        const QStringList xy = args.value(i + 1).split(QLatin1Char(','));
        bool okX = false, okY = false;
        const int x = xy.value(0).toInt(&okX);
        const int y = xy.value(1).toInt(&okY);
        if (xy.size() == 2 && okX && okY)
            at = QPoint(x, y);
        else
            logLine(QStringLiteral("Keypad: --at wants X,Y; placed at 250,0"));
    }
    Keypad keypad;
    keypad.resize(200, 100);
    keypad.move(at);
    keypad.show();
    return app.exec();
}
