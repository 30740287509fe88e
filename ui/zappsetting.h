#pragma once

#include "ezx/mybasedlg.h"

class ZListBox;

// The settings dialog: eleven rows, each bound to one key of the program's
// configuration file. Save writes the rows the user changed, makes the
// settings object read the file again and ends with 1; Cancel writes nothing
// and ends with 0.
class ZAppSetting : public MyBaseDlg
{
    Q_OBJECT
public:
    ZAppSetting();
    ~ZAppSetting() override;

    ZListBox* settingsList() const { return m_list; }

public slots:
    void accept() override;

private:
    void addRows();

    ZListBox* m_list = nullptr;
};
