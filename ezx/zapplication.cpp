#include "ezx/zapplication.h"

#include "ezx/languageresources.h"
#include "ezx/zfocus.h"
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

void ZApplication::setShowsMainWidgetOnRaise(bool shows)
{
    m_showsMainWidgetOnRaise = shows;
}

bool ZApplication::showsMainWidgetOnRaise() const
{
    return m_showsMainWidgetOnRaise;
}

bool ZApplication::notify(QObject* receiver, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        if (receiver->isWidgetType()) {
            // A key reaches the focus widget of its window even when that
            // widget is hidden (a window that was not active when its menu
            // closed keeps the menu as its focus widget). A hidden widget
            // never acts on a key: the key is dropped, and the keyboard goes
            // to the window's key target for the next one.
            auto* widget = static_cast<QWidget*>(receiver);
            if (!widget->isVisible() && widget->window()->isVisible()) {
                QWidget* target = zfocus::keyTarget(widget->window());
                if (target && target != widget && target->isVisible())
                    target->setFocus(Qt::OtherFocusReason);
                return true;
            }
        }
        break;
    case QEvent::Show:
    case QEvent::Hide:
        if (receiver->isWidgetType() && static_cast<QWidget*>(receiver)->isWindow()) {
            auto* window = static_cast<QWidget*>(receiver);
            const bool handled = QApplication::notify(receiver, event);
            if (event->type() == QEvent::Hide)
                zfocus::windowHidden(window);
            else
                zfocus::windowShown(window);
            return handled;
        }
        break;
    default:
        break;
    }
    return QApplication::notify(receiver, event);
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
        if (m_mainWidget && m_showsMainWidgetOnRaise) {
            m_mainWidget->show();
            zfocus::bringToFront(m_mainWidget);
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
