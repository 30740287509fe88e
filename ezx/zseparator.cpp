#include "ezx/zseparator.h"

#include "ezx/zskin.h"

#include <QPainter>

namespace {
constexpr int defaultWidth = 220;
constexpr int ruleHeight = 5;  // the line in the middle, air above and below
}

ZSeparator::ZSeparator(QWidget* parent, const char* name, int flags, int skin)
    : QWidget(parent)
{
    Q_UNUSED(flags);
    Q_UNUSED(skin);
    if (name)
        setObjectName(QLatin1String(name));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    resize(defaultWidth, ruleHeight);
}

ZSeparator::~ZSeparator() = default;

QSize ZSeparator::sizeHint() const
{
    return {defaultWidth, ruleHeight};
}

void ZSeparator::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(zskin::rule());
    const int y = height() / 2;
    p.drawLine(0, y, width() - 1, y);
}
