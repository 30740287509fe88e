#pragma once

// The plain list row: an icon field (0) and a text field (1), "%I%M".
#include "ezx/zsettingitem.h"

class ZListBoxItem : public ZSettingItem
{
public:
    // A non-empty text becomes the first line of field 1.
    explicit ZListBoxItem(ZListBox* list, const QString& text = QString());
    ~ZListBoxItem() override;
};
