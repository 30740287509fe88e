// zk-demoapp: a stand-in for any application of the phone. It is an EZX
// application (ZApplication: channel "EZX/Application/<pid>", raise(),
// quickQuit(), ReturnToIdle(int)) with one 240×320 window showing its name.
#include "ezx/res_icon_reader.h"
#include "ezx/zapplication.h"
#include "ezx/zkbmainwidget.h"
#include "ezx/zsoftkey.h"
#include "platform/logline.h"
#include "platform/qcopchannel.h"
#include "sim/demoface.h"
#include "sim/demooptions.h"

#include <QVBoxLayout>

#include <unistd.h>

namespace {
QPixmap loadIcon(const QString& icon)
{
    if (icon.endsWith(QLatin1String(".g")))
        return RES_ICON_Reader().getIcon(icon, false);
    QPixmap pixmap;
    if (!icon.isEmpty() && !pixmap.load(icon))
        logLine(QStringLiteral("demoapp: no picture at ") + icon);
    return pixmap;
}
}

int main(int argc, char** argv)
{
    ZApplication app(argc, argv);
    const DemoOptions options = parseDemoOptions(app.arguments());
    const QString who = QStringLiteral("%1 (pid %2)").arg(options.title).arg(::getpid());

    ZKbMainWidget window(3, nullptr, "ZMainWidget");
    window.setMainWidgetTitle(options.idleScreen ? QStringLiteral("Phone") : options.title);
    window.getVBoxLayout()->addWidget(
        new DemoFace(options.title, loadIcon(options.icon), options.idleScreen, &window), 1);
    auto* softKey = new ZSoftKey("CST_2", &window, &window);
    softKey->setText(ZSoftKey::Right, QStringLiteral("Exit"));
    softKey->setClickedSlot(ZSoftKey::Right, &app, SLOT(quit()));
    window.setSoftKey(softKey);

    // A second listener on the application's own channel, only to log what
    // ZApplication is asked to do.
    QCopChannel log(app.applicationChannel(), &app);
    QObject::connect(&log, &QCopChannel::received, &log, [&](const QByteArray& message, const QByteArray&) {
        logLine(who + QStringLiteral(": ") + QString::fromLatin1(message));
    });

    app.setMainWidget(&window);
    window.move(0, 0);
    window.show();
    logLine(who + QStringLiteral(": started"));
    const int code = app.exec();
    logLine(who + QStringLiteral(": ended"));
    return code;
}
