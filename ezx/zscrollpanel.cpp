#include "ezx/zscrollpanel.h"

#include "ezx/zskin.h"
#include "platform/logline.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>

namespace {
// A thin bar in the toolkit's colours.
QString thinBarStyle()
{
    return QStringLiteral(
               "QScrollBar:vertical { width: 4px; background: %1; margin: 0; border: none; }"
               "QScrollBar::handle:vertical { background: %2; min-height: 16px; }"
               "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
               "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
        .arg(zskin::background().name(), zskin::dimText().name());
}
}

ZScrollPanel::ZScrollPanel(QWidget* parent, const char* name, int flags, int skin)
    : QScrollArea(parent)
    , m_contents(new QWidget)
{
    Q_UNUSED(flags);
    Q_UNUSED(skin);
    if (name)
        setObjectName(QLatin1String(name));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setStyleSheet(thinBarStyle());
    setWidgetResizable(false);
    m_contents->setObjectName(QStringLiteral("contents"));
    m_contents->setAutoFillBackground(false);
    setWidget(m_contents);
    viewport()->setAutoFillBackground(false);
    m_contents->installEventFilter(this);
    relayout();
}

ZScrollPanel::~ZScrollPanel() = default;

QWidget* ZScrollPanel::contents() const
{
    return m_contents;
}

void ZScrollPanel::addChild(QWidget* w, int x, int y)
{
    if (!w) {
        noteLine(QStringLiteral("ZScrollPanel: null child not added"));
        return;
    }
    const bool hiddenOnPurpose = w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->isHidden();
    if (w->parentWidget() != m_contents)
        w->setParent(m_contents);
    w->move(x, y);
    w->installEventFilter(this);
    if (!hiddenOnPurpose)
        w->show();
    relayout();
}

void ZScrollPanel::scrollBy(int dx, int dy)
{
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}

int ZScrollPanel::contentsX() const
{
    return horizontalScrollBar()->value();
}

int ZScrollPanel::contentsY() const
{
    return verticalScrollBar()->value();
}

QSize ZScrollPanel::arrangeChildren()
{
    QRect covered;
    for (QObject* o : m_contents->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !w->isHidden())
            covered |= w->geometry();
    }
    return {std::max(0, covered.right() + 1), std::max(0, covered.bottom() + 1)};
}

void ZScrollPanel::relayout()
{
    if (m_inRelayout)
        return;
    m_inRelayout = true;
    const QSize need = arrangeChildren();
    const QSize view = maximumViewportSize();
    const int h = std::max(need.height(), view.height());
    // The width leaves room for the bar when the contents are taller.
    const int barWidth = need.height() > view.height() ? verticalScrollBar()->sizeHint().width() : 0;
    const int w = std::max(need.width(), view.width() - barWidth);
    m_contents->resize(w, h);
    m_inRelayout = false;
}

bool ZScrollPanel::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
    case QEvent::ChildRemoved:
        if (watched == m_contents) {
            auto* child = static_cast<QChildEvent*>(event)->child();
            if (child->isWidgetType() && event->type() == QEvent::ChildAdded)
                child->installEventFilter(this);
            relayout();
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched != m_contents && watched->parent() == m_contents)
            relayout();
        break;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

void ZScrollPanel::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    relayout();
}

void ZScrollPanel::keyPressEvent(QKeyEvent* event)
{
    // Not ours: let the keys travel on (tabs, the window's filter).
    event->ignore();
}
