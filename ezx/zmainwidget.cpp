#include "ezx/zmainwidget.h"

#include "ezx/zskin.h"
#include "ezx/zsoftkey.h"
#include "ezx/ztitlebar.h"
#include "ezx/zwindowmanager.h"

#include <QPainter>
#include <QVBoxLayout>

namespace {
// A window of the phone's fixed size: a window manager's title bar offers no
// maximize button (on a bare screen nothing reads these hints).
constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                         | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
}

ZMainWidget::ZMainWidget(int headerType, QWidget* parent, const char* name, int flags)
    : QWidget(parent, kWindowFlags)
    , m_title(new ZTitleBar(this))
    , m_content(new QWidget(this))
    , m_contentLayout(new QVBoxLayout(m_content))
    , m_outer(new QVBoxLayout(this))
{
    if (name)
        setObjectName(QLatin1String(name));
    setProperty("headerType", headerType);
    setFixedSize(zskin::screenWidth, zskin::screenHeight);
    zwm::keepNormalState(this);
    if (flags == Modal)
        setWindowModality(Qt::ApplicationModal);

    m_outer->setContentsMargins(0, 0, 0, 0);
    m_outer->setSpacing(0);
    m_outer->addWidget(m_title);
    m_outer->addWidget(m_content, 1);

    m_contentLayout->setContentsMargins(0, 0, 0, 0);
    m_contentLayout->setSpacing(0);
    m_content->setObjectName(QStringLiteral("content"));
}

ZMainWidget::~ZMainWidget() = default;

void ZMainWidget::setMainWidgetTitle(const QString& title)
{
    m_title->setTitle(title);
    setWindowTitle(title);
}

QString ZMainWidget::mainWidgetTitle() const
{
    return m_title->title();
}

QVBoxLayout* ZMainWidget::getVBoxLayout() const
{
    return m_contentLayout;
}

void ZMainWidget::setContentWidget(QWidget* w)
{
    if (w == m_contentWidget)
        return;
    if (m_contentWidget) {
        m_contentLayout->removeWidget(m_contentWidget);
        m_contentWidget->hide();
    }
    m_contentWidget = w;
    if (w) {
        w->setParent(m_content);
        m_contentLayout->addWidget(w, 1);
        w->show();
    }
}

QWidget* ZMainWidget::getContentWidget() const
{
    return m_contentWidget;
}

void ZMainWidget::setSoftKey(ZSoftKey* softKey)
{
    if (softKey == m_softKey)
        return;
    // The old bar stays a child (its owner may still hold it) but leaves the
    // window's layout and screen.
    if (m_softKey) {
        m_outer->removeWidget(m_softKey);
        m_softKey->hide();
    }
    m_softKey = softKey;
    if (softKey) {
        softKey->setParent(this);
        m_outer->addWidget(softKey);
        softKey->show();
    }
}

void ZMainWidget::setCSTWidget(ZSoftKey* softKey)
{
    setSoftKey(softKey);
}

ZSoftKey* ZMainWidget::softKey() const
{
    return m_softKey;
}

QRect ZMainWidget::contentRect() const
{
    return m_content->geometry();
}

void ZMainWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), zskin::background());
}
