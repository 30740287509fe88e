#pragma once

#include "ezx/zsettingitem.h"

// A row of the task list or of the favourites list: a setting item that also
// remembers which task (pid) or which favourites slot it stands for.
class ZListRowItem : public ZSettingItem
{
public:
    ZListRowItem(ZListBox* list, const QString& layout);
    ~ZListRowItem() override;

    void setPid(int pid) { m_pid = pid; }
    int getPid() const { return m_pid; }

    // Favourites slot, 0 to 19.
    void setSlot(int slot) { m_slot = slot; }
    int getSlot() const { return m_slot; }

private:
    int m_pid = 0;
    int m_slot = 0;
};
