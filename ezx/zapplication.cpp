#include "ezx/zapplication.h"

#include "ezx/languageresources.h"
#include "ezx/zskin.h"
#include "platform/idleheaptrim.h"
#include "platform/qcopchannel.h"

#include <QDataStream>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

#include <unistd.h>

int& ZApplication::prepareEnvironment(int& argc)
{
    // 72 dots per inch make a point one pixel. The platform plugins read
    // this when the screen is set up (offscreen, xcb, vnc, linuxfb alike),
    // so it has to be in place before QApplication starts.
    qputenv("QT_FONT_DPI", "72");
    return argc;
}

ZApplication::ZApplication(int& argc, char** argv, int type)
    : QApplication(prepareEnvironment(argc), argv)
{
    Q_UNUSED(type);
    applyLook();
    installLanguageResources(this);
    m_channel = new QCopChannel(applicationChannel(), this);
    connect(m_channel, &QCopChannel::received, this, &ZApplication::applicationMessage);
    connect(this, &ZApplication::askReturnToIdle, this, &ZApplication::slotReturnToIdle);
    // A flood of messages on the channel must not leave the process at its
    // peak size for good.
    new IdleHeapTrim(this);
}

ZApplication::~ZApplication() = default;

void ZApplication::applyLook()
{
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        setStyle(fusion);
    QFont f{QString::fromLatin1(defaultFontFamily)};
    f.setPointSize(defaultFontSize);
    setFont(f);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, zskin::background());
    pal.setColor(QPalette::WindowText, zskin::text());
    pal.setColor(QPalette::Base, zskin::popupBackground());
    pal.setColor(QPalette::AlternateBase, zskin::background());
    pal.setColor(QPalette::Text, zskin::text());
    pal.setColor(QPalette::Button, zskin::background());
    pal.setColor(QPalette::ButtonText, zskin::text());
    pal.setColor(QPalette::Highlight, zskin::highlight());
    pal.setColor(QPalette::HighlightedText, zskin::highlightText());
    pal.setColor(QPalette::PlaceholderText, zskin::dimText());
    setPalette(pal);
}

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
