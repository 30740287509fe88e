#pragma once

#include "ezx/mybasedlg.h"

class QEvent;
class QObject;
class QWidget;
class TaskDir;
class ZFormContainer;
class ZListBox;
class ZNavTabWidget;

// Details of one task, read once when the dialog is built, all through one
// handle on the task's folder in /proc: a page of text
// lines (name, pid, command line, memory, state, threads, user, priority)
// and a page with the files mapped into the task. One soft key closes it.
class ZProcInfoDlg : public MyBaseDlg
{
    Q_OBJECT
public:
    explicit ZProcInfoDlg(int pid);
    ~ZProcInfoDlg() override;

    ZNavTabWidget* pageTabs = nullptr;
    ZFormContainer* infoPanel = nullptr;  // page 1
    ZListBox* libListBox = nullptr;       // page 2

    // Pixels that Up and Down scroll the first page by.
    static constexpr int scrollStep = 20;

public slots:
    void slotPageChanged(QWidget* page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addInfoLines(const TaskDir& task, const QString& cmdline);
    void addLibraries(const TaskDir& task);
};
