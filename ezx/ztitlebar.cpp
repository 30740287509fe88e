#include "ezx/ztitlebar.h"

#include "ezx/zskin.h"

#include <QLinearGradient>
#include <QPainter>

ZTitleBar::ZTitleBar(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(zskin::titleBarHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ZTitleBar::setTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    update();
}

QString ZTitleBar::title() const
{
    return m_title;
}

QSize ZTitleBar::sizeHint() const
{
    return {zskin::screenWidth, zskin::titleBarHeight};
}

void ZTitleBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, zskin::titleTop());
    g.setColorAt(1, zskin::titleBottom());
    p.fillRect(rect(), g);
    // A light line under the gradient separates it from the content.
    p.setPen(zskin::titleTop().lighter(150));
    p.drawLine(0, height() - 1, width() - 1, height() - 1);

    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(zskin::titleText());
    const QRect textRect = rect().adjusted(6, 0, -6, -1);
    const QString shown = p.fontMetrics().elidedText(m_title, Qt::ElideRight, textRect.width());
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, shown);
}
