#include "sim/keypad.h"

#include "ezx/zkeys.h"
#include "platform/logline.h"
#include "platform/qcopchannel.h"
#include "sim/keytarget.h"
#include "sim/simbus.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtGui/qguiapplication_platform.h>

Keypad::Keypad(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setWindowTitle(QStringLiteral("Keypad"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        m_xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));

    auto* grid = new QGridLayout(this);
    auto button = [this](const QString& text, const QString& colour) {
        auto* b = new QPushButton(text, this);
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumHeight(34);
        b->setStyleSheet(QStringLiteral("QPushButton { background: %1; color: white; font-weight: bold; }")
                             .arg(colour));
        return b;
    };
    QPushButton* task = button(QStringLiteral("Task key"), QStringLiteral("#3a5fa0"));
    QPushButton* green = button(QStringLiteral("Green"), QStringLiteral("#2e8b3a"));
    QPushButton* red = button(QStringLiteral("Red"), QStringLiteral("#b03030"));
    QPushButton* clear = button(QStringLiteral("C"), QStringLiteral("#606060"));
    grid->addWidget(task, 0, 0, 1, 3);
    grid->addWidget(green, 1, 0);
    grid->addWidget(clear, 1, 1);
    grid->addWidget(red, 1, 2);

    connect(task, &QPushButton::clicked, this, [] { sendHardKey(zkeys::PopupKey); });
    connect(green, &QPushButton::clicked, this, [this] { typeKey(QStringLiteral("F1")); });
    connect(red, &QPushButton::clicked, this, [this] { typeKey(QStringLiteral("F2")); });
    connect(clear, &QPushButton::clicked, this, [this] { typeKey(QStringLiteral("F3")); });
    for (QPushButton* b : {green, red, clear}) {
        b->setEnabled(!m_xdotool.isEmpty());
        if (m_xdotool.isEmpty())
            b->setToolTip(QStringLiteral("needs xdotool on an X display"));
    }
}

bool Keypad::sendHardKey(int code)
{
    const bool sent = QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", keyMessageData(code, 1))
                      && QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", keyMessageData(code, 0));
    logLine(QStringLiteral("Keypad: key %1 %2").arg(code).arg(sent ? QStringLiteral("sent") : QStringLiteral("not sent")));
    return sent;
}

void Keypad::typeKey(const QString& xKeyName)
{
    if (m_xdotool.isEmpty())
        return;
    // The key is typed as from the keyboard, so it goes to the window with
    // the input focus; that is the phone's active window, never the keypad.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        focusPhoneWindow(x11->connection(), static_cast<std::uint32_t>(winId()));
    QProcess::startDetached(m_xdotool, {QStringLiteral("key"), xKeyName});
    logLine(QStringLiteral("Keypad: ") + xKeyName);
}
