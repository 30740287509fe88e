#include "core/zsettings.h"

#include "core/busloss.h"
#include "core/globals.h"
#include "core/keymessage.h"
#include "platform/qcopchannel.h"
#include "ui/zkestrel.h"

#include <QTimerEvent>

#include <cstdio>

// The resident instance's command channel: "PE/zKestrel/" (also what a
// second start looks for) and the hardware-key broadcast "/hardkey/bc".

void ZSettings::openCommandChannel()
{
    // The keys first: a peer that sees the command name takes it that every
    // channel of the resident listens, and sends it a key at once.
    auto* hardKeyChannel = new QCopChannel("/hardkey/bc", this);
    connect(hardKeyChannel, &QCopChannel::received, this, &ZSettings::siganalReceived);
    commandChannel = new QCopChannel("PE/zKestrel/", this, "zKestrel");
    connect(commandChannel, &QCopChannel::received, this, &ZSettings::siganalReceived);
    // Without the bus nothing reaches these channels again.
    new ResidentBusLoss(this);
}

void ZSettings::siganalReceived(const QByteArray& message, const QByteArray& data)
{
    if (message == "keyMsg(int,int)") {
        const KeyMessage key = decodeKeyMessage(data);
        std::printf("Key %d, type %d\n", key.code, key.type);
        std::fflush(stdout);
        // Short data reads past its end: no key at all.
        if (!key.complete)
            return;
        if (key.code == hardKeyCode && key.type == 1) {
            killTimers();
            showMainWindow();
            // For a while after a key pop-up, show requests are ignored;
            // more key presses are still obeyed.
            popUpGuard = true;
            m_timers.append(startTimer(2000));
        }
        return;
    }
    if (message == "show()" || message == "newshow()") {
        if (!popUpGuard)
            showMainWindow();
    }
}

void ZSettings::timerEvent(QTimerEvent* event)
{
    Q_UNUSED(event);
    popUpGuard = false;
}

void ZSettings::killTimers()
{
    for (int id : std::as_const(m_timers))
        killTimer(id);
    m_timers.clear();
}

void ZSettings::showMainWindow()
{
    if (!gMainWindow)
        gMainWindow = new ZKestrel();
    else
        gMainWindow->reactivate();
}
