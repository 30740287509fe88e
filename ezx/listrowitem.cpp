#include "ezx/listrowitem.h"

ZListRowItem::ZListRowItem(ZListBox* list, const QString& layout)
    : ZSettingItem(list, layout)
{
}

ZListRowItem::~ZListRowItem() = default;
