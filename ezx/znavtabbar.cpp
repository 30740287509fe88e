#include "ezx/znavtabbar.h"

#include "ezx/zskin.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

ZNavTabBar::ZNavTabBar(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(zskin::tabBarHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ZNavTabBar::addTab(const QIcon& icon, const QString& label)
{
    m_tabs.append({icon, label});
    update();
}

int ZNavTabBar::count() const
{
    return static_cast<int>(m_tabs.size());
}

QString ZNavTabBar::label(int index) const
{
    return index >= 0 && index < count() ? m_tabs.at(index).label : QString();
}

void ZNavTabBar::setCurrent(int index)
{
    m_current = index;
    update();
}

int ZNavTabBar::current() const
{
    return m_current;
}

QSize ZNavTabBar::sizeHint() const
{
    return {zskin::screenWidth, zskin::tabBarHeight};
}

QRect ZNavTabBar::tabRect(int index) const
{
    // Integer edges that add up to the full width, so no pixel is lost.
    const int n = std::max(1, count());
    const int left = index * width() / n;
    const int right = (index + 1) * width() / n;
    return {left, 0, right - left, height()};
}

void ZNavTabBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, zskin::background());
    g.setColorAt(1, zskin::rule());
    p.fillRect(rect(), g);

    for (int i = 0; i < count(); ++i) {
        const QRect r = tabRect(i);
        const Tab& tab = m_tabs.at(i);
        const bool current = i == m_current;
        if (current) {
            const QRect body = r.adjusted(2, 3, -2, 0);
            p.fillRect(body, zskin::highlight());
            p.setPen(zskin::highlight().darker(130));
            p.drawLine(body.topLeft(), body.topRight());
        } else if (i > 0 && i - 1 != m_current) {
            p.setPen(zskin::rule().darker(115));
            p.drawLine(r.left(), 6, r.left(), height() - 7);
        }
        const QIcon::Mode mode = current ? QIcon::Normal : QIcon::Disabled;
        const int iconSize = std::min(zskin::tabBarHeight - 8, 22);
        const QFontMetrics fm = fontMetrics();
        const int labelWidth = tab.label.isEmpty() ? 0 : fm.horizontalAdvance(tab.label) + 4;
        const int contentWidth = (tab.icon.isNull() ? 0 : iconSize) + labelWidth;
        int x = r.left() + std::max(0, (r.width() - contentWidth) / 2);
        const int top = 3 + (height() - 3 - iconSize) / 2;
        if (!tab.icon.isNull()) {
            tab.icon.paint(&p, QRect(x, top, iconSize, iconSize), Qt::AlignCenter, mode);
            x += iconSize;
        }
        if (!tab.label.isEmpty()) {
            p.setPen(current ? zskin::highlightText() : zskin::dimText());
            p.drawText(QRect(x + 4, 3, r.right() - x - 4, height() - 3),
                       Qt::AlignVCenter | Qt::AlignLeft,
                       fm.elidedText(tab.label, Qt::ElideRight, r.right() - x - 4));
        }
    }
    // The current tab opens into the page below; the others sit behind a line.
    p.setPen(zskin::highlight());
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
}

void ZNavTabBar::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    for (int i = 0; i < count(); ++i)
        if (tabRect(i).contains(pos)) {
            emit tabClicked(i);
            return;
        }
}
