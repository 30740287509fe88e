#include "ezx/zlistboxitem.h"

ZListBoxItem::ZListBoxItem(ZListBox* list, const QString& text)
    : ZSettingItem(list, QStringLiteral("%I%M"))
{
    if (!text.isEmpty())
        appendSubItem(1, text, true);
}

ZListBoxItem::~ZListBoxItem() = default;
