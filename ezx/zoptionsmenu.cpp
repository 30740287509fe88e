#include "ezx/zoptionsmenu.h"

#include "ezx/slotbyname.h"
#include "ezx/zfocus.h"
#include "ezx/zkeys.h"
#include "ezx/zskin.h"
#include "ezx/zsoftkey.h"
#include "platform/logline.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int borderWidth = 1;
constexpr int iconGap = 6;  // between icon and text
constexpr int sidePad = 4;  // inside the frame, left and right
constexpr int minWidth = 120;
constexpr int screenGap = 2;  // between the menu and the window's edges
}

ZOptionsMenu::ZOptionsMenu(const QRect& rect, QWidget* parent, const char* name, int flags,
                           int skin, bool last)
    : QFrame(parent)
    , m_host(parent)
{
    Q_UNUSED(rect);
    Q_UNUSED(flags);
    Q_UNUSED(skin);
    Q_UNUSED(last);
    if (name)
        setObjectName(QLatin1String(name));
    setFocusPolicy(Qt::StrongFocus);
    hide();
}

ZOptionsMenu::~ZOptionsMenu() = default;

int ZOptionsMenu::insertItem(const QString& text, const QPixmap& icon, QObject* receiver,
                             const char* slot, bool enabled)
{
    Item item;
    item.text = text;
    item.icon = icon;
    item.receiver = receiver;
    item.slot = slotbyname::normalize(slot);
    item.enabled = enabled;
    m_items.append(item);
    if (isOpen())
        place();
    update();
    return static_cast<int>(m_items.size()) - 1;
}

void ZOptionsMenu::clear()
{
    m_items.clear();
    m_current = 0;
    m_top = 0;
    if (isOpen())
        place();
    update();
}

int ZOptionsMenu::count() const
{
    return static_cast<int>(m_items.size());
}

QString ZOptionsMenu::text(int index) const
{
    return index >= 0 && index < count() ? m_items.at(index).text : QString();
}

QPixmap ZOptionsMenu::pixmap(int index) const
{
    return index >= 0 && index < count() ? m_items.at(index).icon : QPixmap();
}

bool ZOptionsMenu::isItemEnabled(int index) const
{
    return index >= 0 && index < count() && m_items.at(index).enabled;
}

void ZOptionsMenu::setItemEnabled(int index, bool enabled)
{
    if (index < 0 || index >= count())
        return;
    m_items[index].enabled = enabled;
    update();
}

int ZOptionsMenu::currentIndex() const
{
    return count() == 0 ? -1 : m_current;
}

void ZOptionsMenu::setCurrentIndex(int index)
{
    if (index < 0 || index >= count())
        return;
    m_current = index;
    scrollToCurrent();
    update();
}

void ZOptionsMenu::activate(int index)
{
    // Closed first, so that a slot that opens a dialog does not find the
    // menu still over the window.
    hide();
    if (index < 0 || index >= count()) {
        noteLine(QStringLiteral("ZOptionsMenu: no entry %1").arg(index));
        return;
    }
    const Item item = m_items.at(index);
    if (!item.enabled)
        return;
    emit activated(index);
    if (item.receiver)
        slotbyname::invoke(item.receiver, item.slot, "ZOptionsMenu");
}

bool ZOptionsMenu::isOpen() const
{
    return isVisible();
}

void ZOptionsMenu::popup()
{
    if (isOpen())
        return;
    // Drawn inside the window, over its content, so it is part of the
    // window's picture and moves with it.
    QWidget* top = m_host ? m_host->window() : parentWidget() ? parentWidget()->window()
                                                              : nullptr;
    if (top && parentWidget() != top)
        setParent(top);
    m_current = 0;
    while (m_current < count() - 1 && !m_items.at(m_current).enabled)
        ++m_current;
    m_top = 0;
    m_focusBefore = zfocus::Saved(window());
    m_open = true;
    place();
    show();
    raise();
    setFocus(Qt::PopupFocusReason);
    qApp->installEventFilter(this);
    emit opened();
}

void ZOptionsMenu::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    // Hidden with its window, the menu closes for good: it must not come
    // back open when the window does.
    if (!isHidden())
        hide();  // may come back here: the inner call then closes it
    if (!m_open)
        return;
    m_open = false;
    qApp->removeEventFilter(this);
    m_pressedRow = -1;
    const zfocus::Saved before = m_focusBefore;
    m_focusBefore = zfocus::Saved();
    // The keys go back to where they were, never stay with a closed menu.
    if (hasFocus() || window()->focusWidget() == this)
        clearFocus();
    before.restore();
    emit closed();
}

QSize ZOptionsMenu::sizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    int textWidth = 0;
    for (const Item& item : m_items)
        textWidth = std::max(textWidth, fm.horizontalAdvance(item.text));
    const int w = 2 * borderWidth + 2 * sidePad + zskin::iconSize + iconGap + textWidth + 8;
    const int h = 2 * borderWidth + std::max(1, count()) * zskin::listRowHeight;
    return {std::clamp(w, minWidth, zskin::screenWidth - 2 * screenGap), h};
}

void ZOptionsMenu::place()
{
    QWidget* top = parentWidget();
    if (!top)
        return;
    // Just above the soft-key bar when there is one, else above the bottom.
    int bottom = top->height() - zskin::softKeyBarHeight;
    if (auto* bar = qobject_cast<ZSoftKey*>(m_host.data()); bar && bar->isVisible())
        bottom = bar->mapTo(top, QPoint(0, 0)).y();
    const int maxHeight = bottom - zskin::titleBarHeight - screenGap;
    QSize size = sizeHint();
    if (size.height() > maxHeight) {
        const int rows = std::max(1, (maxHeight - 2 * borderWidth) / zskin::listRowHeight);
        size.setHeight(2 * borderWidth + rows * zskin::listRowHeight);
    }
    setGeometry(screenGap, bottom - size.height(), size.width(), size.height());
    scrollToCurrent();
}

int ZOptionsMenu::visibleRows() const
{
    return std::max(1, (height() - 2 * borderWidth) / zskin::listRowHeight);
}

void ZOptionsMenu::scrollToCurrent()
{
    const int rows = visibleRows();
    if (m_current < m_top)
        m_top = m_current;
    else if (m_current >= m_top + rows)
        m_top = m_current - rows + 1;
    m_top = std::clamp(m_top, 0, std::max(0, count() - rows));
}

QRect ZOptionsMenu::rowRect(int index) const
{
    return {borderWidth, borderWidth + (index - m_top) * zskin::listRowHeight,
            width() - 2 * borderWidth, zskin::listRowHeight};
}

int ZOptionsMenu::rowAt(const QPoint& pos) const
{
    if (pos.x() < borderWidth || pos.x() >= width() - borderWidth || pos.y() < borderWidth)
        return -1;
    const int row = m_top + (pos.y() - borderWidth) / zskin::listRowHeight;
    return row < count() && row < m_top + visibleRows() ? row : -1;
}

void ZOptionsMenu::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), zskin::popupBackground());
    const QFontMetrics fm = fontMetrics();
    const int last = std::min(count(), m_top + visibleRows());
    for (int i = m_top; i < last; ++i) {
        const Item& item = m_items.at(i);
        const QRect r = rowRect(i);
        const bool current = i == m_current;
        if (current)
            p.fillRect(r, zskin::highlight());
        const QRect iconRect(r.left() + sidePad, r.top() + (r.height() - zskin::iconSize) / 2,
                             zskin::iconSize, zskin::iconSize);
        if (!item.icon.isNull()) {
            const QPixmap icon = item.icon.size() == iconRect.size()
                                     ? item.icon
                                     : item.icon.scaled(iconRect.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
            p.drawPixmap(iconRect.topLeft(), icon);
        }
        const QRect textRect(iconRect.right() + 1 + iconGap, r.top(),
                             r.right() - iconRect.right() - iconGap - sidePad, r.height());
        p.setPen(!item.enabled ? zskin::dimText()
                 : current     ? zskin::highlightText()
                               : zskin::text());
        p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                   fm.elidedText(item.text, Qt::ElideRight, textRect.width()));
        if (!current && i + 1 < last && i + 1 != m_current) {
            p.setPen(zskin::rule());
            p.drawLine(textRect.left(), r.bottom(), r.right() - sidePad, r.bottom());
        }
    }
    // Crisp one-pixel frame.
    p.setPen(zskin::popupFrame());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ZOptionsMenu::moveCurrent(int step)
{
    if (count() == 0)
        return;
    // Wraps round, skipping disabled entries.
    int next = m_current;
    for (int tries = 0; tries < count(); ++tries) {
        next = (next + step + count()) % count();
        if (m_items.at(next).enabled)
            break;
    }
    setCurrentIndex(next);
}

void ZOptionsMenu::keyPressEvent(QKeyEvent* event)
{
    // A closed menu never acts on a key.
    if (!isOpen()) {
        event->ignore();
        return;
    }
    const int key = event->key();
    if (key == zkeys::Up)
        moveCurrent(-1);
    else if (key == zkeys::Down)
        moveCurrent(+1);
    else if (zkeys::isSelect(key))
        activate(m_current);
    else if (key == Qt::Key_Escape || key == zkeys::Red)
        hide();
    // Other keys stop here: nothing under an open menu reacts to them.
    event->accept();
}

void ZOptionsMenu::mousePressEvent(QMouseEvent* event)
{
    m_pressedRow = rowAt(event->position().toPoint());
    if (m_pressedRow >= 0)
        setCurrentIndex(m_pressedRow);
}

void ZOptionsMenu::mouseReleaseEvent(QMouseEvent* event)
{
    const int row = rowAt(event->position().toPoint());
    const bool same = row >= 0 && row == m_pressedRow;
    m_pressedRow = -1;
    if (same)
        activate(row);
}

bool ZOptionsMenu::eventFilter(QObject* watched, QEvent* event)
{
    // A press elsewhere in the window closes the menu; the soft-key bar
    // handles its own presses (its key toggles the menu).
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() && isOpen()) {
        auto* w = static_cast<QWidget*>(watched);
        const bool inMenu = w == this || isAncestorOf(w);
        const bool onBar = qobject_cast<ZSoftKey*>(w) != nullptr;
        if (w->window() == window() && !inMenu && !onBar) {
            hide();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}
