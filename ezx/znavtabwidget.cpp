#include "ezx/znavtabwidget.h"

#include "ezx/zfocus.h"
#include "ezx/zkeys.h"
#include "ezx/znavtabbar.h"
#include "platform/logline.h"

#include <QKeyEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

ZNavTabWidget::ZNavTabWidget(QWidget* parent, const char* name, int skin)
    : QWidget(parent)
    , m_bar(new ZNavTabBar(this))
    , m_stack(new QStackedWidget(this))
{
    Q_UNUSED(skin);
    if (name)
        setObjectName(QLatin1String(name));
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    layout->addWidget(m_stack, 1);
    connect(m_bar, &ZNavTabBar::tabClicked, this, &ZNavTabWidget::setCurrentPage);
}

ZNavTabWidget::~ZNavTabWidget() = default;

int ZNavTabWidget::addTab(QWidget* page, const QIcon& icon, const QString& label)
{
    if (!page) {
        noteLine(QStringLiteral("ZNavTabWidget: null page not added"));
        return -1;
    }
    const int index = m_stack->addWidget(page);
    m_bar->addTab(icon, label);
    if (count() == 1) {
        m_bar->setCurrent(0);
        emit currentChanged(page);
    }
    return index;
}

int ZNavTabWidget::count() const
{
    return m_stack->count();
}

int ZNavTabWidget::currentPageIndex() const
{
    return m_stack->currentIndex();
}

QWidget* ZNavTabWidget::currentPage() const
{
    return m_stack->currentWidget();
}

QWidget* ZNavTabWidget::page(int index) const
{
    return m_stack->widget(index);
}

QString ZNavTabWidget::tabLabel(int index) const
{
    return m_bar->label(index);
}

void ZNavTabWidget::setCurrentPage(int index)
{
    if (index < 0 || index >= count()) {
        noteLine(QStringLiteral("ZNavTabWidget: no page %1").arg(index));
        return;
    }
    if (index == currentPageIndex())
        return;
    // The keys follow the page: when they were with the tabs or the old
    // page, the new page's first widget that takes keys gets them (the tabs
    // keep them when it has none). The page's owner may still put them
    // elsewhere when it hears of the change.
    QWidget* focus = window()->focusWidget();
    const bool keysWereHere = !focus || focus == this || isAncestorOf(focus);
    m_stack->setCurrentIndex(index);
    m_bar->setCurrent(index);
    if (keysWereHere) {
        QWidget* taker = zfocus::firstKeyTakerIn(m_stack->currentWidget());
        (taker ? taker : this)->setFocus(Qt::TabFocusReason);
    }
    emit currentChanged(m_stack->currentWidget());
}

void ZNavTabWidget::stopNextWhenKeyRepeat(bool stop)
{
    m_stopOnRepeat = stop;
}

void ZNavTabWidget::step(int direction, bool autoRepeat)
{
    const int n = count();
    if (n < 2)
        return;
    int next = currentPageIndex() + (direction < 0 ? -1 : 1);
    if (next < 0 || next >= n) {
        // A held key stops at the ends instead of running round and round.
        if (autoRepeat && m_stopOnRepeat)
            return;
        next = (next + n) % n;
    }
    setCurrentPage(next);
}

void ZNavTabWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == zkeys::Left || event->key() == zkeys::Right) {
        step(event->key() == zkeys::Left ? -1 : 1, event->isAutoRepeat());
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
