// zk-sdlstub: stands for a program built on the SDL library. It is no EZX
// application; it listens on "PE/SDLLib/" and hides its window on "hide()",
// as such a program does when the task manager comes up.
#include "platform/logline.h"
#include "platform/qcopchannel.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("SDL game\n(hides on \"hide()\" on PE/SDLLib/)"));
    window.setWindowTitle(QStringLiteral("SDL game"));
    window.setAlignment(Qt::AlignCenter);
    window.setStyleSheet(QStringLiteral("background: #202020; color: #f0c040; font: bold 14px;"));
    window.setFixedSize(240, 320);

    QCopChannel channel("PE/SDLLib/", &app);
    QObject::connect(&channel, &QCopChannel::received, &window, [&](const QByteArray& message, const QByteArray&) {
        if (message == "hide()") {
            window.hide();
            logLine(QStringLiteral("SDL stub: hide()"));
        } else {
            logLine(QStringLiteral("SDL stub: ignored ") + QString::fromLatin1(message));
        }
    });
    if (!channel.isListening())
        logLine(QStringLiteral("SDL stub: PE/SDLLib/ is not registered (no session bus?)"));

    window.move(0, 0);
    window.show();
    logLine(QStringLiteral("SDL stub: started"));
    return app.exec();
}
