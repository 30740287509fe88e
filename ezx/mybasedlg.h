#pragma once

#include "ezx/zkbmainwidget.h"

class QCloseEvent;
class QEventLoop;

// Base of the full-screen dialogs. The caller creates one with new, runs it
// with exec() (a nested event loop of the dialog's own) and deletes it
// afterwards. exec() returns 1 when the dialog was accepted and 0 otherwise.
// The soft keys reach accept() and reject() by slot name, so a subclass's
// own accept() runs.
class MyBaseDlg : public ZKbMainWidget
{
    Q_OBJECT
public:
    MyBaseDlg();
    ~MyBaseDlg() override;

    // Shows the dialog and returns once done() ended this run: its result.
    int exec();

    bool inLoop = false;  // exec() has entered its loop
    int result = 0;       // 1 accepted, 0 anything else

protected slots:
    // Hides the dialog, ends the run of its own exec() (no other) with r and,
    // when the dialog is the application's main widget, quits the application.
    virtual void done(int r);
    virtual void accept();
    virtual void reject();

protected:
    // Closed by the window manager: the run ends with 0.
    void closeEvent(QCloseEvent* event) override;

private:
    QEventLoop* m_loop = nullptr;  // the loop of the running exec(), if any
};
