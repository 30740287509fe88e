#include "ezx/mybasedlg.h"

#include "ezx/zapplication.h"
#include "ezx/zwindowmanager.h"
#include "platform/logline.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

namespace {
constexpr int headerType = 3;
constexpr int topLevelModal = 3;

// The window a dialog opens over: the active one, else the main widget.
QWidget* ownerOf(const QWidget* dialog)
{
    QWidget* active = QApplication::activeWindow();
    if (active && active != dialog)
        return active;
    const auto* app = qobject_cast<ZApplication*>(QCoreApplication::instance());
    return app && app->mainWidget() != dialog ? app->mainWidget() : nullptr;
}
}

MyBaseDlg::MyBaseDlg()
    : ZKbMainWidget(headerType, nullptr, "ZMainWidget", topLevelModal)
{
}

MyBaseDlg::~MyBaseDlg()
{
    // Deleted while its own run is going on: let that run end instead of
    // leaving a loop behind that nothing can stop.
    if (m_loop)
        m_loop->exit(0);
}

int MyBaseDlg::exec()
{
    if (m_loop) {
        logLine(QStringLiteral("MyBaseDlg: exec while already running"));
        return 0;
    }
    result = 0;
    // A window manager puts it over the window it belongs to, not beside.
    if (!isVisible())
        zwm::placeOver(this, ownerOf(this));
    show();
    inLoop = true;

    // Each run has a loop of its own, so that ending one dialog never ends
    // the run of another one opened on top of it.
    QEventLoop loop;
    m_loop = &loop;
    QPointer<MyBaseDlg> self(this);
    loop.exec();
    if (!self)
        return 0;
    m_loop = nullptr;
    return result;
}

void MyBaseDlg::done(int r)
{
    hide();
    if (m_loop) {
        m_loop->exit(0);
        m_loop = nullptr;
    }
    result = r;
    const auto* app = qobject_cast<ZApplication*>(QCoreApplication::instance());
    if (app && app->mainWidget() == this)
        QCoreApplication::quit();
}

void MyBaseDlg::accept()
{
    done(1);
}

void MyBaseDlg::reject()
{
    done(0);
}

void MyBaseDlg::closeEvent(QCloseEvent* event)
{
    if (m_loop)
        done(0);
    ZKbMainWidget::closeEvent(event);
}
