#include "ezx/zsoftkey.h"

#include "ezx/slotbyname.h"
#include "ezx/zkeys.h"
#include "ezx/zoptionsmenu.h"
#include "ezx/zskin.h"
#include "platform/logline.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

ZSoftKey::ZSoftKey(const char* type, QWidget* parent, QObject* receiver)
    : QWidget(parent)
{
    if (type)
        setProperty("softKeyType", QByteArray(type));
    Q_UNUSED(receiver);  // slots name their own receivers
    setFixedHeight(zskin::softKeyBarHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_AcceptTouchEvents, false);
    // The keys arrive wherever the focus is in the window, so the bar looks
    // at the application's key events and picks those of its own window.
    qApp->installEventFilter(this);
}

ZSoftKey::~ZSoftKey() = default;

bool ZSoftKey::validIndex(int index)
{
    return index == Left || index == Right;
}

void ZSoftKey::setText(int index, const QString& text, int priority)
{
    Q_UNUSED(priority);
    if (!validIndex(index)) {
        noteLine(QStringLiteral("ZSoftKey: no key %1").arg(index));
        return;
    }
    m_keys[index].text = text;
    update();
}

QString ZSoftKey::text(int index) const
{
    return validIndex(index) ? m_keys[index].text : QString();
}

void ZSoftKey::setClickedSlot(int index, QObject* receiver, const char* slot)
{
    if (!validIndex(index)) {
        noteLine(QStringLiteral("ZSoftKey: no key %1").arg(index));
        return;
    }
    m_keys[index].receiver = receiver;
    m_keys[index].slot = receiver ? slotbyname::normalize(slot) : QByteArray();
}

void ZSoftKey::setOptMenu(int index, ZOptionsMenu* menu)
{
    if (!validIndex(index)) {
        noteLine(QStringLiteral("ZSoftKey: no key %1").arg(index));
        return;
    }
    if (m_keys[index].menu)
        disconnect(m_keys[index].menu, nullptr, this, nullptr);
    m_keys[index].menu = menu;
    if (menu) {
        // The texts change while the menu is open.
        connect(menu, &ZOptionsMenu::opened, this, qOverload<>(&QWidget::update));
        connect(menu, &ZOptionsMenu::closed, this, qOverload<>(&QWidget::update));
    }
    update();
}

ZOptionsMenu* ZSoftKey::optMenu(int index) const
{
    return validIndex(index) ? m_keys[index].menu.data() : nullptr;
}

void ZSoftKey::setTextForOptMenuHide(const QString& text)
{
    m_menuHideText = text;
    update();
}

ZOptionsMenu* ZSoftKey::openMenu() const
{
    for (const Key& k : m_keys)
        if (k.menu && k.menu->isOpen())
            return k.menu;
    return nullptr;
}

QString ZSoftKey::shownText(int index) const
{
    if (!validIndex(index))
        return {};
    const Key& k = m_keys[index];
    ZOptionsMenu* open = openMenu();
    if (!open)
        return k.text;
    if (k.menu == open)
        return m_menuHideText.isEmpty() ? k.text : m_menuHideText;
    // The other key closes the open menu.
    return QCoreApplication::translate("ZSoftKey", "TXT_RID_SOFTKEY_CANCEL", "Cancel");
}

void ZSoftKey::click(int index)
{
    if (!validIndex(index))
        return;
    // While a menu is open, its key closes it and the other key cancels it.
    if (ZOptionsMenu* open = openMenu()) {
        open->hide();
        return;
    }
    Key& k = m_keys[index];
    if (k.menu) {
        k.menu->popup();
        return;
    }
    // The slot may end the window or delete this bar.
    QPointer<ZSoftKey> self(this);
    if (k.receiver && !k.slot.isEmpty())
        slotbyname::invoke(k.receiver, k.slot, "ZSoftKey");
    if (!self)
        return;
    if (index == Left)
        emit leftClicked();
    else
        emit rightClicked();
}

QSize ZSoftKey::sizeHint() const
{
    return {zskin::screenWidth, zskin::softKeyBarHeight};
}

int ZSoftKey::keyAt(const QPoint& pos) const
{
    if (!rect().contains(pos))
        return -1;
    return pos.x() < width() / 2 ? Left : Right;
}

void ZSoftKey::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, zskin::softKeyTop());
    g.setColorAt(1, zskin::softKeyBottom());
    p.fillRect(rect(), g);
    p.setPen(zskin::softKeyTop().lighter(160));
    p.drawLine(0, 0, width() - 1, 0);

    const int half = width() / 2;
    if (m_pressed >= 0) {
        const QRect pressed = m_pressed == Left ? QRect(0, 1, half, height() - 1)
                                                : QRect(half, 1, width() - half, height() - 1);
        p.fillRect(pressed, zskin::highlight());
    }

    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(zskin::softKeyText());
    const QRect left(8, 1, half - 12, height() - 1);
    const QRect right(half + 4, 1, width() - half - 12, height() - 1);
    const QFontMetrics fm = p.fontMetrics();
    p.drawText(left, Qt::AlignVCenter | Qt::AlignLeft,
               fm.elidedText(shownText(Left), Qt::ElideRight, left.width()));
    p.drawText(right, Qt::AlignVCenter | Qt::AlignRight,
               fm.elidedText(shownText(Right), Qt::ElideRight, right.width()));
}

void ZSoftKey::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = keyAt(event->position().toPoint());
    update();
}

void ZSoftKey::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int pressed = m_pressed;
    m_pressed = -1;
    update();
    // A key fires when the press and the release are on it.
    if (pressed >= 0 && keyAt(event->position().toPoint()) == pressed)
        click(pressed);
}

bool ZSoftKey::isMyKeyEvent(QObject* watched, QEvent* event) const
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || !isVisible())
        return false;
    const auto* w = static_cast<QWidget*>(watched);
    return w->window() == window();
}

bool ZSoftKey::eventFilter(QObject* watched, QEvent* event)
{
    if (isMyKeyEvent(watched, event)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == zkeys::LeftSoft || key->key() == zkeys::RightSoft) {
            // Holding a soft key down does not fire it again and again.
            if (!key->isAutoRepeat())
                click(key->key() == zkeys::LeftSoft ? Left : Right);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
