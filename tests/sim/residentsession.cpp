#include "tests/sim/residentsession.h"

#include "platform/qcopchannel.h"
#include "platform/zconfig.h"
#include "sim/simbus.h"

#include <QDeadlineTimer>
#include <QTest>

const QString ResidentSession::title = QStringLiteral("Tasks Manager");

bool bringUpApps(PhoneRig& rig, RunningPhone& apps)
{
    apps.phone = rig.launch(kPhoneId, "/usr/SYSqtapp/phone/phone");
    apps.messages = rig.launch(kMessagesId, "/usr/SYSqtapp/messaging/messaging");
    apps.fileManager = rig.launch(kFileManagerId, "/mmc/mmca1/.Programs/FileManager/filemanager");
    apps.snake = rig.launch(kSnakeId, "/usr/SYSjava/kvm -launch 37");
    return apps.phone && apps.messages && apps.fileManager && apps.snake;
}

void pressTaskKey()
{
    QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", keyMessageData(4159, 1));
    QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", keyMessageData(4159, 0));
}

bool ResidentSession::popUp(const QString& firstRow, const QString& window)
{
    rig.forgetPainted();
    pressTaskKey();
    return (window.isEmpty() || rig.waitForWindow(window, true)) && rig.waitForPainted("ZListBox", firstRow);
}

bool ResidentSession::startResident()
{
    zk = rig.runProbed(QStringLiteral("zKestrel"), {QStringLiteral("-daemon")});
    auto up = [] { return QCopChannel::isRegistered("PE/zKestrel/") && QCopChannel::isRegistered("/hardkey/bc"); };
    QDeadlineTimer deadline(20000);
    while (!up() && !deadline.hasExpired())
        QTest::qWait(100);
    return up();
}

std::unique_ptr<ResidentSession> ResidentSession::start(bool goToIdle, int actionOnC)
{
    auto s = std::make_unique<ResidentSession>();
    if (!s->rig.start() || !bringUpApps(s->rig, s->apps))
        return nullptr;
    // The test program is an application on the same bus; the default
    // filter list plus its name keeps it out of the rows.
    ZConfig cfg(s->rig.writePath() + QStringLiteral("/setup/zKestrel.cfg"), false);
    cfg.writeEntry(QStringLiteral("Task"), QStringLiteral("FiltrProcList"),
                   QStringLiteral("!am!zKestrel!phone!messaging!brwdaemon!misc1!windowsserver!vr!addrbk!br!test_sim!"));
    if (goToIdle)
        cfg.writeEntry(QStringLiteral("General"), QStringLiteral("SendGoToIDLE"), true);
    if (actionOnC != 0)
        cfg.writeEntry(QStringLiteral("Key"), QStringLiteral("ActionOnC"), actionOnC);
    cfg.flush();
    return s->startResident() ? std::move(s) : nullptr;
}
