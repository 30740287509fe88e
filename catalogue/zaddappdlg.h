#pragma once

#include "ezx/mybasedlg.h"

#include <QMap>
#include <QString>

class ZListBox;

// An application the add dialog offers, from a registry group.
struct RegApp
{
    QString run;   // "AppID"
    QString name;  // "Name"
    QString icon;  // "Icon" or "BigIcon", completed with "Directory" when relative
};

// Numbers the add dialog's rows for the whole run of the program, across
// dialogs, so that a row's number never repeats.
extern int regAppCounter;

// The full-screen dialog that lists every application of the phone's three
// registries and adds the chosen one to the lowest free favourites slot.
// exec() returns 1 once one was added, 0 after Cancel or when every slot is
// taken (the user is told so and nothing is written).
class ZAddAppDlg : public MyBaseDlg
{
    Q_OBJECT
public:
    ZAddAppDlg();
    ~ZAddAppDlg() override;

    // Adds the applications of one registry file (a phone path).
    void addRegistryApps(const QString& path);
    void addAppRow(const QString& name, const QString& icon, int number);

    ZListBox* regListBox = nullptr;
    QMap<int, RegApp> regApps;

public slots:
    void accept() override;

private:
    void tellAllSlotsUsed();
};
