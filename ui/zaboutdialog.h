#pragma once

#include "ezx/mybasedlg.h"

// The about box: the program's icon, name, version and platform, who wrote
// it, thanks and how it was built. One soft key closes it.
class ZAboutDialog : public MyBaseDlg
{
    Q_OBJECT
public:
    ZAboutDialog();
    ~ZAboutDialog() override;

    // The icon file in the given program folder: the user's own picture
    // when there is one, else the program's.
    static QString iconPath(const QString& appDir);
    // How the program was built: Qt version and platform, one line.
    static QString buildLine();
};
