#include "ezx/zformcontainer.h"

#include "platform/logline.h"

#include <QScrollBar>

#include <algorithm>

ZFormContainer::ZFormContainer(QWidget* parent, int flags, int skin)
    : ZScrollPanel(parent, nullptr, flags, skin)
{
}

ZFormContainer::~ZFormContainer() = default;

void ZFormContainer::addChild(QWidget* w, bool stretch, QWidget* extra)
{
    if (!w) {
        noteLine(QStringLiteral("ZFormContainer: null child not added"));
        return;
    }
    m_rows.append({w, extra, stretch});
    // Placed for real by arrangeChildren().
    ZScrollPanel::addChild(w, margin, 0);
    if (extra)
        ZScrollPanel::addChild(extra, margin, 0);
}

namespace {
bool fixedWidth(const QWidget* w)
{
    return w->minimumWidth() == w->maximumWidth();
}

int rowHeight(const QWidget* w, int width)
{
    if (w->minimumHeight() == w->maximumHeight())
        return w->maximumHeight();
    if (w->hasHeightForWidth())
        return w->heightForWidth(width);
    return std::max(w->sizeHint().height(), w->minimumHeight());
}
}

QSize ZFormContainer::arrangeChildren()
{
    // Rows whose widget went away drop out.
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(),
                                [this](const Row& r) {
                                    return r.widget->parentWidget() != contents();
                                }),
                 m_rows.end());
    const int barWidth = verticalScrollBar()->sizeHint().width();
    const int available = std::max(0, maximumViewportSize().width() - barWidth - 2 * margin);
    int y = margin;
    int right = 0;
    for (Row& row : m_rows) {
        QWidget* w = row.widget;
        if (w->isHidden())
            continue;
        const bool hasExtra = row.extra && row.extra->parentWidget() == contents();
        const int extraWidth = hasExtra ? row.extra->sizeHint().width() + spacing : 0;
        int width = row.stretch ? available - extraWidth : w->sizeHint().width();
        if (fixedWidth(w)) {
            // A width set since the form last narrowed it is the new wish.
            if (w->maximumWidth() != row.givenWidth)
                row.askedWidth = w->maximumWidth();
            // Only a form on screen has its real width to compare with.
            width = row.askedWidth;
            if (isVisible())
                width = std::min(width, std::max(0, available - extraWidth));
            if (width != w->maximumWidth())
                w->setFixedWidth(width);
            row.givenWidth = width;
        }
        width = std::max(0, width);
        int height = rowHeight(w, width);
        if (hasExtra)
            height = std::max(height, row.extra->sizeHint().height());
        w->setGeometry(margin, y, width, rowHeight(w, width));
        if (hasExtra)
            row.extra->setGeometry(margin + width + spacing, y, extraWidth - spacing, height);
        right = std::max(right, margin + width + extraWidth);
        y += height + spacing;
    }
    return {right, m_rows.isEmpty() ? 0 : y - spacing + margin};
}

void ZFormContainer::showEvent(QShowEvent* event)
{
    ZScrollPanel::showEvent(event);
    relayout();
}
