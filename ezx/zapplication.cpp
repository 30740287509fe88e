#include "ezx/zapplication.h"

#include "ezx/languageresources.h"
#include "platform/qcopchannel.h"

#include <QDataStream>
#include <QWidget>

#include <unistd.h>

ZApplication::ZApplication(int& argc, char** argv, int type)
    : QApplication(argc, argv)
{
    Q_UNUSED(type);
    installLanguageResources(this);
    m_channel = new QCopChannel(applicationChannel(), this);
    connect(m_channel, &QCopChannel::received, this, &ZApplication::applicationMessage);
    connect(this, &ZApplication::askReturnToIdle, this, &ZApplication::slotReturnToIdle);
}

ZApplication::~ZApplication() = default;

QByteArray ZApplication::applicationChannel() const
{
    return QByteArray("EZX/Application/") + QByteArray::number(static_cast<qint64>(::getpid()));
}

void ZApplication::setMainWidget(QWidget* widget)
{
    m_mainWidget = widget;
}

QWidget* ZApplication::mainWidget() const
{
    return m_mainWidget;
}

void ZApplication::slotReturnToIdle(int reason)
{
    Q_UNUSED(reason);
    if (m_mainWidget)
        m_mainWidget->hide();
}

void ZApplication::applicationMessage(const QByteArray& message, const QByteArray& data)
{
    if (message == "raise()") {
        if (m_mainWidget) {
            m_mainWidget->show();
            m_mainWidget->raise();
            m_mainWidget->activateWindow();
        }
        emit signalRaise();
    } else if (message == "quickQuit()") {
        quit();
    } else if (message == "ReturnToIdle(int)") {
        qint32 reason = 0;
        if (data.size() >= 4) {
            QDataStream in(data);
            in >> reason;
        }
        emit askReturnToIdle(reason);
    }
}
