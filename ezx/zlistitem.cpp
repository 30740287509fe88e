#include "ezx/zlistitem.h"

#include "ezx/zlistbox.h"
#include "ezx/zskin.h"

ZListItem::ZListItem(ZListBox* list)
    : m_list(list)
{
}

ZListItem::~ZListItem()
{
    // Deleted directly by its owner's user: the list box must not keep it.
    if (m_inList && m_list)
        m_list->forgetItem(this);
}

void ZListItem::setSeparator(const QString& text, const QPixmap* pix)
{
    m_separator = true;
    m_separatorText = text;
    m_separatorPixmap = pix ? *pix : QPixmap();
    changed();
}

void ZListItem::setSelectable(bool selectable)
{
    m_selectable = selectable;
    changed();
}

int ZListItem::rowHeight(const ZListBox&) const
{
    return zskin::listRowHeight;
}

void ZListItem::paintRow(QPainter&, const QRect&, const ZListBox&, bool) const
{
    // A bare item has no content of its own.
}

int ZListItem::textOverflow(const QRect&, const ZListBox&) const
{
    return 0;
}

void ZListItem::changed()
{
    m_cachedHeight = -1;
    if (m_inList && m_list)
        m_list->itemChanged(this);
}
