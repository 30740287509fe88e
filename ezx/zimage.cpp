#include "ezx/zimage.h"

#include <QPainter>

#include <algorithm>

ZImage::ZImage(QWidget* parent, const char* name, int flags)
    : QWidget(parent)
{
    Q_UNUSED(flags);
    if (name)
        setObjectName(QLatin1String(name));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    resize(0, 0);
}

ZImage::~ZImage() = default;

void ZImage::setPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    followPicture();
    updateGeometry();
    update();
}

QPixmap ZImage::pixmap() const
{
    return m_pixmap;
}

void ZImage::followPicture()
{
    // Each side that was not fixed takes the picture's size.
    const int w = m_fixedWidth ? width() : m_pixmap.width();
    const int h = m_fixedHeight ? height() : m_pixmap.height();
    resize(w, h);
}

void ZImage::setFixedWidth(int w)
{
    m_fixedWidth = true;
    QWidget::setFixedWidth(std::max(0, w));
}

void ZImage::setFixedHeight(int h)
{
    m_fixedHeight = true;
    QWidget::setFixedHeight(std::max(0, h));
}

void ZImage::setFixedSize(int w, int h)
{
    setFixedWidth(w);
    setFixedHeight(h);
}

void ZImage::setFixedSize(const QSize& size)
{
    setFixedSize(size.width(), size.height());
}

QSize ZImage::sizeHint() const
{
    return {m_fixedWidth ? maximumWidth() : m_pixmap.width(),
            m_fixedHeight ? maximumHeight() : m_pixmap.height()};
}

void ZImage::paintEvent(QPaintEvent*)
{
    if (m_pixmap.isNull() || width() <= 0 || height() <= 0)
        return;
    // From the top-left, clipped to the widget: a bar shows as much of its
    // picture as its width allows, never a stretched copy.
    QPainter p(this);
    p.drawPixmap(0, 0, m_pixmap);
}
